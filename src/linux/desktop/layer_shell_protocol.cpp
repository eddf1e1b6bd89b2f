#include "desktop/layer_shell_protocol.h"

namespace {

// Argument types of the messages that carry objects, in signature order.
const wl_interface* kGetLayerSurfaceTypes[] = {&zwlr_layer_surface_v1_interface, &wl_surface_interface,
                                               &wl_output_interface, nullptr, nullptr};
// get_popup's xdg_popup: never sent here, and the type only checks a sent object.
const wl_interface* kNoTypes[] = {nullptr, nullptr, nullptr, nullptr};

const wl_message kShellRequests[] = {
    {"get_layer_surface", "no?ous", kGetLayerSurfaceTypes},
    {"destroy", "3", kNoTypes},
};

const wl_message kSurfaceRequests[] = {
    {"set_size", "uu", kNoTypes},
    {"set_anchor", "u", kNoTypes},
    {"set_exclusive_zone", "i", kNoTypes},
    {"set_margin", "iiii", kNoTypes},
    {"set_keyboard_interactivity", "u", kNoTypes},
    {"get_popup", "o", kNoTypes},
    {"ack_configure", "u", kNoTypes},
    {"destroy", "", kNoTypes},
    {"set_layer", "2u", kNoTypes},
};

const wl_message kSurfaceEvents[] = {
    {"configure", "uuu", kNoTypes},
    {"closed", "", kNoTypes},
};

enum ShellRequest : uint32_t { kGetLayerSurface = 0, kShellDestroy = 1 };
enum SurfaceRequest : uint32_t {
  kSetSize = 0,
  kSetAnchor = 1,
  kSetExclusiveZone = 2,
  kSetKeyboardInteractivity = 4,
  kAckConfigure = 6,
  kSurfaceDestroy = 7,
};

wl_proxy* Proxy(void* object) {
  return static_cast<wl_proxy*>(object);
}

}  // namespace

const wl_interface zwlr_layer_shell_v1_interface = {"zwlr_layer_shell_v1", 4, 2, kShellRequests, 0, nullptr};
const wl_interface zwlr_layer_surface_v1_interface = {"zwlr_layer_surface_v1", 4, 9,
                                                      kSurfaceRequests,        2, kSurfaceEvents};

zwlr_layer_surface_v1* LayerShellGetLayerSurface(zwlr_layer_shell_v1* shell, wl_surface* surface,
                                                 wl_output* output, uint32_t layer, const char* nameSpace) {
  wl_proxy* proxy = Proxy(shell);
  return reinterpret_cast<zwlr_layer_surface_v1*>(
      wl_proxy_marshal_flags(proxy, kGetLayerSurface, &zwlr_layer_surface_v1_interface,
                             wl_proxy_get_version(proxy), 0, nullptr, surface, output, layer, nameSpace));
}

void LayerShellDestroy(zwlr_layer_shell_v1* shell) {
  wl_proxy* proxy = Proxy(shell);
  if (wl_proxy_get_version(proxy) >= 3) {
    wl_proxy_marshal_flags(proxy, kShellDestroy, nullptr, wl_proxy_get_version(proxy),
                           WL_MARSHAL_FLAG_DESTROY);
  } else {
    wl_proxy_destroy(proxy);
  }
}

void LayerSurfaceAddListener(zwlr_layer_surface_v1* surface, const zwlr_layer_surface_v1_listener* listener,
                             void* data) {
  wl_proxy_add_listener(
      Proxy(surface),
      reinterpret_cast<void (**)(void)>(const_cast<zwlr_layer_surface_v1_listener*>(listener)), data);
}

void LayerSurfaceSetSize(zwlr_layer_surface_v1* surface, uint32_t width, uint32_t height) {
  wl_proxy* proxy = Proxy(surface);
  wl_proxy_marshal_flags(proxy, kSetSize, nullptr, wl_proxy_get_version(proxy), 0, width, height);
}

void LayerSurfaceSetAnchor(zwlr_layer_surface_v1* surface, uint32_t anchor) {
  wl_proxy* proxy = Proxy(surface);
  wl_proxy_marshal_flags(proxy, kSetAnchor, nullptr, wl_proxy_get_version(proxy), 0, anchor);
}

void LayerSurfaceSetExclusiveZone(zwlr_layer_surface_v1* surface, int32_t zone) {
  wl_proxy* proxy = Proxy(surface);
  wl_proxy_marshal_flags(proxy, kSetExclusiveZone, nullptr, wl_proxy_get_version(proxy), 0, zone);
}

void LayerSurfaceSetKeyboardInteractivity(zwlr_layer_surface_v1* surface, uint32_t interactivity) {
  wl_proxy* proxy = Proxy(surface);
  wl_proxy_marshal_flags(proxy, kSetKeyboardInteractivity, nullptr, wl_proxy_get_version(proxy), 0,
                         interactivity);
}

void LayerSurfaceAckConfigure(zwlr_layer_surface_v1* surface, uint32_t serial) {
  wl_proxy* proxy = Proxy(surface);
  wl_proxy_marshal_flags(proxy, kAckConfigure, nullptr, wl_proxy_get_version(proxy), 0, serial);
}

void LayerSurfaceDestroy(zwlr_layer_surface_v1* surface) {
  wl_proxy* proxy = Proxy(surface);
  wl_proxy_marshal_flags(proxy, kSurfaceDestroy, nullptr, wl_proxy_get_version(proxy),
                         WL_MARSHAL_FLAG_DESTROY);
}
