// The client side of the wlr layer-shell protocol (zwlr_layer_shell_v1,
// version 4), written from its published definition: Debian ships no
// library for it. Only what the aquarium uses is wrapped; the message tables
// hold every request and event in the definition's order, which sets their
// opcodes.
#pragma once

#include <wayland-client.h>

#include <cstdint>

struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

extern const wl_interface zwlr_layer_shell_v1_interface;
extern const wl_interface zwlr_layer_surface_v1_interface;

enum : uint32_t {
  ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND = 0,
  ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP = 1,
  ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM = 2,
  ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT = 4,
  ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT = 8,
  ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE = 0,
};

struct zwlr_layer_surface_v1_listener {
  void (*configure)(void* data, zwlr_layer_surface_v1* surface, uint32_t serial, uint32_t width,
                    uint32_t height);
  void (*closed)(void* data, zwlr_layer_surface_v1* surface);
};

zwlr_layer_surface_v1* LayerShellGetLayerSurface(zwlr_layer_shell_v1* shell, wl_surface* surface,
                                                 wl_output* output, uint32_t layer, const char* nameSpace);
// destroy (version 3 and later; older shells have no destructor request).
void LayerShellDestroy(zwlr_layer_shell_v1* shell);

void LayerSurfaceAddListener(zwlr_layer_surface_v1* surface, const zwlr_layer_surface_v1_listener* listener,
                             void* data);
void LayerSurfaceSetSize(zwlr_layer_surface_v1* surface, uint32_t width, uint32_t height);
void LayerSurfaceSetAnchor(zwlr_layer_surface_v1* surface, uint32_t anchor);
void LayerSurfaceSetExclusiveZone(zwlr_layer_surface_v1* surface, int32_t zone);
void LayerSurfaceSetKeyboardInteractivity(zwlr_layer_surface_v1* surface, uint32_t interactivity);
void LayerSurfaceAckConfigure(zwlr_layer_surface_v1* surface, uint32_t serial);
void LayerSurfaceDestroy(zwlr_layer_surface_v1* surface);
