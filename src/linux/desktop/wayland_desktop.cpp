#include "desktop/wayland_desktop.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-cursor.h>

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/clock.h"
#include "common/linux_log.h"
#include "desktop/frame_driver.h"
#include "desktop/layer_shell_protocol.h"
#include "sim/simulation.h"

namespace {

// Ticks in a row with every surface still waiting for its frame callback
// before the aquarium counts as hidden (about a quarter of a second).
constexpr int kHiddenAfterTicks = 15;

struct ShmBuffer {
  wl_buffer* buffer = nullptr;
  uint32_t* pixels = nullptr;
  bool busy = false;       // the compositor holds it until its release
  draw::StaleRects stale;  // what it lacks of the frame: copied in when it is next shown
};

}  // namespace

struct OutputSurface {
  WaylandDesktop* desktop = nullptr;
  uint32_t globalName = 0;
  wl_output* output = nullptr;
  std::string name;  // the compositor's name for the output, for the log
  int scale = 1;
  wl_surface* surface = nullptr;
  zwlr_layer_surface_v1* layer = nullptr;
  int width = 0;  // surface size from the last configure, logical pixels
  int height = 0;
  int bufferScale = 1;
  void* memory = nullptr;
  size_t memorySize = 0;
  ShmBuffer buffers[2];
  // The frame as the frame loop keeps it; the buffers take turns showing it.
  std::vector<uint32_t> frame;
  wl_callback* frameCallback = nullptr;  // set while a frame waits to be shown
  bool configured = false;
  // Its own aquarium, whatever the Monitors setting: separate surfaces share
  // no scene (see the architecture map).
  SurfaceAquariums aquariums;
};

struct WaylandDesktop {
  LinuxApp* app = nullptr;
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  wl_compositor* compositor = nullptr;
  wl_shm* shm = nullptr;
  zwlr_layer_shell_v1* layerShell = nullptr;
  wl_seat* seat = nullptr;
  wl_pointer* pointer = nullptr;
  wl_cursor_theme* cursorTheme = nullptr;
  wl_surface* cursorSurface = nullptr;
  wl_cursor_image* cursorImage = nullptr;
  std::vector<std::unique_ptr<OutputSurface>> outputs;
  OutputSurface* pointerFocus = nullptr;
  float pointerX = 0;
  float pointerY = 0;
  bool started = false;
  int waitingTicks = 0;
  QSocketNotifier* notifier = nullptr;
  QMetaObject::Connection beforeSleep;
  QTimer frameTimer;
};

namespace {

void MakeSurface(OutputSurface& out);
void DrawOutputs(WaylandDesktop& d, bool force);

// Buffers -----------------------------------------------------------------

void BufferReleased(void* data, wl_buffer*) {
  static_cast<ShmBuffer*>(data)->busy = false;
}
const wl_buffer_listener kBufferListener = {BufferReleased};

void ReleaseBuffers(OutputSurface& out) {
  for (ShmBuffer& b : out.buffers) {
    if (b.buffer != nullptr) wl_buffer_destroy(b.buffer);
    b = ShmBuffer();
  }
  if (out.memory != nullptr) munmap(out.memory, out.memorySize);
  out.memory = nullptr;
  out.memorySize = 0;
}

// Two XRGB buffers of the surface's size in pixels in one shared-memory pool:
// the bytes (B, G, R, X) the rasteriser writes.
bool MakeBuffers(OutputSurface& out) {
  ReleaseBuffers(out);
  const int w = out.width * out.bufferScale, h = out.height * out.bufferScale;
  const size_t bytes = size_t(w) * size_t(h) * 4;
  const int fd = memfd_create("tidemere", MFD_CLOEXEC);
  if (fd < 0 || ftruncate(fd, off_t(bytes * 2)) != 0) {
    if (fd >= 0) close(fd);
    Warn("no shared memory for a %dx%d frame on %s", w, h, out.name.c_str());
    return false;
  }
  void* memory = mmap(nullptr, bytes * 2, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (memory == MAP_FAILED) {
    close(fd);
    Warn("no shared memory for a %dx%d frame on %s", w, h, out.name.c_str());
    return false;
  }
  out.memory = memory;
  out.memorySize = bytes * 2;
  out.frame.assign(size_t(w) * size_t(h), 0);
  wl_shm_pool* pool = wl_shm_create_pool(out.desktop->shm, fd, int32_t(bytes * 2));
  for (int i = 0; i < 2; ++i) {
    ShmBuffer& b = out.buffers[i];
    b.buffer = wl_shm_pool_create_buffer(pool, int32_t(bytes * i), w, h, w * 4, WL_SHM_FORMAT_XRGB8888);
    b.pixels = reinterpret_cast<uint32_t*>(static_cast<char*>(memory) + bytes * i);
    wl_buffer_add_listener(b.buffer, &kBufferListener, &b);
  }
  wl_shm_pool_destroy(pool);
  close(fd);
  return true;
}

// Frames ------------------------------------------------------------------

void FrameDone(void* data, wl_callback* callback, uint32_t) {
  auto& out = *static_cast<OutputSurface*>(data);
  wl_callback_destroy(callback);
  out.frameCallback = nullptr;
  WaylandDesktop& d = *out.desktop;
  d.waitingTicks = 0;
  if (d.app->lifecycle.visibility.covered) {
    d.app->lifecycle.visibility.covered = false;
    UpdateWaylandRest(*d.app);
  }
}
const wl_callback_listener kFrameListener = {FrameDone};

ShmBuffer* FreeBuffer(OutputSurface& out) {
  for (ShmBuffer& b : out.buffers) {
    if (b.buffer != nullptr && !b.busy) return &b;
  }
  return nullptr;  // the compositor still holds both
}

bool Ready(const OutputSurface& out) {
  return out.configured && out.frameCallback == nullptr;
}

// Shows the output's frame: the free buffer catches up with it (what it
// lacks, this frame's changes among them), and only this frame's changes are
// damaged on the surface.
void ShowOutput(OutputSurface& out, const ViewWake& view, double& copied, double& pixels) {
  ShmBuffer* free = FreeBuffer(out);
  if (free == nullptr) return;
  const int w = out.width * out.bufferScale, h = out.height * out.bufferScale;
  const draw::PixelBuffer frame = {out.frame.data(), w, h, w};
  static const std::vector<draw::PixelRect> kNone;
  const std::vector<draw::PixelRect>& changed = view.changed ? *view.changed : kNone;
  for (ShmBuffer& b : out.buffers) draw::AddStale(b.stale, changed, view.whole, w, h);
  copied += draw::CatchUp({free->pixels, w, h, w}, frame, free->stale);
  pixels += double(w) * h;
  wl_surface_attach(out.surface, free->buffer, 0, 0);
  if (view.whole) {
    wl_surface_damage_buffer(out.surface, 0, 0, w, h);
  } else {
    for (const draw::PixelRect& r : changed)
      wl_surface_damage_buffer(out.surface, r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
  }
  out.frameCallback = wl_surface_frame(out.surface);
  wl_callback_add_listener(out.frameCallback, &kFrameListener, &out);
  wl_surface_commit(out.surface);
  free->busy = true;
}

// One wake-up of the frame loop over every output; `force` draws a frame now
// (a surface just configured shows nothing until its first one).
void DrawOutputs(WaylandDesktop& d, bool force) {
  if (force) d.app->frame.loop.pacer = FramePacer();
  std::vector<ViewWake> views;
  std::vector<OutputSurface*> shown;
  for (auto& out : d.outputs) {
    const int w = out->width * out->bufferScale, h = out->height * out->bufferScale;
    const bool ready = Ready(*out) && FreeBuffer(*out) != nullptr && !out->frame.empty();
    const draw::PixelBuffer pixels =
        out->frame.empty() ? draw::PixelBuffer{} : draw::PixelBuffer{out->frame.data(), w, h, w};
    // The output is its own monitor, at its scale.
    const ScreenRect whole = {0, 0, pixels.width, pixels.height};
    LayOutSurface(*d.app, out->aquariums, {{whole, float(out->bufferScale)}}, whole);
    const size_t first = views.size();
    AquariumViews(out->aquariums.set, pixels, &out->aquariums.pointer, {0, 0}, views);
    for (size_t i = first; i < views.size(); ++i) {
      views[i].ready = views[i].ready && ready;
      shown.push_back(out.get());
    }
  }
  const WakeResult result = RunFrames(*d.app, views.data(), int(views.size()));
  if (d.frameTimer.interval() != TickMsOf(result)) d.frameTimer.setInterval(TickMsOf(result));
  double copied = 0, pixels = 0;
  const int64_t start = MonotonicNanoseconds();
  for (size_t i = 0; i < views.size(); ++i) {
    if (views[i].drawn) ShowOutput(*shown[i], views[i], copied, pixels);
  }
  if (result.viewsDrawn > 0) {
    NoteFramesShown(d.app->frame.loop, copied, pixels, double(MonotonicNanoseconds() - start) / 1e6);
  }
  wl_display_flush(d.display);
}

void OnFrameTick(WaylandDesktop& d) {
  bool anyReady = false;
  for (auto& out : d.outputs) anyReady = anyReady || Ready(*out);
  if (!anyReady && !d.outputs.empty()) {
    // Nothing of the aquarium was shown since the last frame: when that
    // lasts, it is hidden (a full-screen window, a lock screen, outputs off).
    if (++d.waitingTicks >= kHiddenAfterTicks && !d.app->lifecycle.visibility.covered) {
      d.app->lifecycle.visibility.covered = true;
      UpdateWaylandRest(*d.app);
    }
    return;
  }
  DrawOutputs(d, false);
}

// Layer surfaces ------------------------------------------------------------

void Configure(void* data, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t width, uint32_t height) {
  auto& out = *static_cast<OutputSurface*>(data);
  LayerSurfaceAckConfigure(layer, serial);
  const bool resized = int(width) != out.width || int(height) != out.height || out.bufferScale != out.scale;
  if (!resized && out.configured) {
    wl_surface_commit(out.surface);
    return;
  }
  out.width = int(width);
  out.height = int(height);
  out.bufferScale = out.scale;
  wl_surface_set_buffer_scale(out.surface, out.bufferScale);
  out.configured = out.width > 0 && out.height > 0 && MakeBuffers(out);
  Log("[wayland] %s: surface %dx%d scale %d", out.name.c_str(), out.width, out.height, out.bufferScale);
  // The first frame at once: a configured surface shows nothing until then.
  if (out.configured && out.frameCallback == nullptr) DrawOutputs(*out.desktop, true);
}

void DestroySurface(OutputSurface& out) {
  if (out.frameCallback != nullptr) wl_callback_destroy(out.frameCallback);
  out.frameCallback = nullptr;
  if (out.layer != nullptr) LayerSurfaceDestroy(out.layer);
  out.layer = nullptr;
  if (out.surface != nullptr) wl_surface_destroy(out.surface);
  out.surface = nullptr;
  ReleaseBuffers(out);
  std::vector<uint32_t>().swap(out.frame);
  out.configured = false;
  out.width = out.height = 0;
  if (out.desktop->pointerFocus == &out) out.desktop->pointerFocus = nullptr;
}

void Closed(void* data, zwlr_layer_surface_v1*) {
  auto& out = *static_cast<OutputSurface*>(data);
  Log("[wayland] %s: the compositor closed the surface", out.name.c_str());
  DestroySurface(out);
}
const zwlr_layer_surface_v1_listener kLayerListener = {Configure, Closed};

void MakeSurface(OutputSurface& out) {
  WaylandDesktop& d = *out.desktop;
  out.surface = wl_compositor_create_surface(d.compositor);
  out.layer = LayerShellGetLayerSurface(d.layerShell, out.surface, out.output,
                                        ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND, "tidemere");
  LayerSurfaceAddListener(out.layer, &kLayerListener, &out);
  LayerSurfaceSetSize(out.layer, 0, 0);  // the output's size, from the anchors
  LayerSurfaceSetAnchor(out.layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                       ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                       ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
  LayerSurfaceSetExclusiveZone(out.layer, -1);  // under panels too, moved by none
  LayerSurfaceSetKeyboardInteractivity(out.layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
  wl_surface_commit(out.surface);
}

// Outputs -----------------------------------------------------------------

void OutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                    int32_t) {}
void OutputMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void OutputDone(void* data, wl_output*) {
  auto& out = *static_cast<OutputSurface*>(data);
  if (out.configured && out.scale != out.bufferScale) {
    out.bufferScale = out.scale;
    wl_surface_set_buffer_scale(out.surface, out.bufferScale);
    out.configured = MakeBuffers(out);
    if (out.configured && out.frameCallback == nullptr) DrawOutputs(*out.desktop, true);
  }
}
void OutputScale(void* data, wl_output*, int32_t factor) {
  static_cast<OutputSurface*>(data)->scale = std::max(1, int(factor));
}
void OutputName(void* data, wl_output*, const char* name) {
  static_cast<OutputSurface*>(data)->name = name;
}
void OutputDescription(void*, wl_output*, const char*) {}
const wl_output_listener kOutputListener = {OutputGeometry, OutputMode, OutputDone,
                                            OutputScale,    OutputName, OutputDescription};

void AddOutput(WaylandDesktop& d, uint32_t name, uint32_t version) {
  auto out = std::make_unique<OutputSurface>();
  out->desktop = &d;
  out->globalName = name;
  out->name = "output " + std::to_string(name);
  out->output = static_cast<wl_output*>(
      wl_registry_bind(d.registry, name, &wl_output_interface, std::min(version, 4u)));
  wl_output_add_listener(out->output, &kOutputListener, out.get());
  if (d.started) MakeSurface(*out);
  d.outputs.push_back(std::move(out));
}

void RemoveOutput(WaylandDesktop& d, uint32_t name) {
  for (auto it = d.outputs.begin(); it != d.outputs.end(); ++it) {
    if ((*it)->globalName != name) continue;
    Log("[wayland] %s removed", (*it)->name.c_str());
    DestroySurface(**it);
    if (wl_output_get_version((*it)->output) >= 3) {
      wl_output_release((*it)->output);
    } else {
      wl_output_destroy((*it)->output);
    }
    d.outputs.erase(it);
    return;
  }
}

// Pointer -------------------------------------------------------------------

OutputSurface* OutputOf(WaylandDesktop& d, wl_surface* surface) {
  for (auto& out : d.outputs) {
    if (out->surface != nullptr && out->surface == surface) return out.get();
  }
  return nullptr;
}

void PointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x,
                  wl_fixed_t y) {
  auto& d = *static_cast<WaylandDesktop*>(data);
  d.pointerFocus = OutputOf(d, surface);
  if (d.cursorImage != nullptr) {
    wl_pointer_set_cursor(pointer, serial, d.cursorSurface, int32_t(d.cursorImage->hotspot_x),
                          int32_t(d.cursorImage->hotspot_y));
  }
  if (d.pointerFocus != nullptr) {
    d.pointerX = float(wl_fixed_to_double(x) * d.pointerFocus->bufferScale);
    d.pointerY = float(wl_fixed_to_double(y) * d.pointerFocus->bufferScale);
  }
}
// The output the pointer left sees no pointer: neither what it last heard
// nor a move still waiting for its next frame.
void PointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) {
  auto& d = *static_cast<WaylandDesktop*>(data);
  if (d.pointerFocus != nullptr) {
    SurfaceAquariums& left = d.pointerFocus->aquariums;
    PointerPoint move;
    TakePointerMove(left.pointer, move);
    for (PlacedAquarium& a : left.set.aquariums) ForgetPointer(a.aquarium);
  }
  d.pointerFocus = nullptr;
}
void PointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
  auto& d = *static_cast<WaylandDesktop*>(data);
  if (d.pointerFocus == nullptr) return;
  d.pointerX = float(wl_fixed_to_double(x) * d.pointerFocus->bufferScale);
  d.pointerY = float(wl_fixed_to_double(y) * d.pointerFocus->bufferScale);
  PointerMoved(d.pointerFocus->aquariums, d.pointerX, d.pointerY);
}
void PointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
  auto& d = *static_cast<WaylandDesktop*>(data);
  if (d.pointerFocus == nullptr || button != BTN_LEFT || state != WL_POINTER_BUTTON_STATE_PRESSED) return;
  PointerClicked(d.pointerFocus->aquariums, d.pointerX, d.pointerY);
}
void PointerAxis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void PointerFrame(void*, wl_pointer*) {}
void PointerAxisSource(void*, wl_pointer*, uint32_t) {}
void PointerAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void PointerAxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
const wl_pointer_listener kPointerListener = {
    PointerEnter, PointerLeave,      PointerMotion,   PointerButton,       PointerAxis,
    PointerFrame, PointerAxisSource, PointerAxisStop, PointerAxisDiscrete, nullptr};

void SeatCapabilities(void* data, wl_seat* seat, uint32_t capabilities) {
  auto& d = *static_cast<WaylandDesktop*>(data);
  const bool hasPointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
  if (hasPointer && d.pointer == nullptr) {
    d.pointer = wl_seat_get_pointer(seat);
    wl_pointer_add_listener(d.pointer, &kPointerListener, &d);
  } else if (!hasPointer && d.pointer != nullptr) {
    wl_pointer_destroy(d.pointer);
    d.pointer = nullptr;
    d.pointerFocus = nullptr;
  }
}
void SeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {SeatCapabilities, SeatName};

// The arrow over the desktop, from the user's cursor theme where there is one.
void LoadCursor(WaylandDesktop& d) {
  const char* theme = std::getenv("XCURSOR_THEME");
  const char* sizeText = std::getenv("XCURSOR_SIZE");
  const int size = sizeText != nullptr && std::atoi(sizeText) > 0 ? std::atoi(sizeText) : 24;
  d.cursorTheme = wl_cursor_theme_load(theme, size, d.shm);
  if (d.cursorTheme == nullptr) return;
  wl_cursor* cursor = wl_cursor_theme_get_cursor(d.cursorTheme, "left_ptr");
  if (cursor == nullptr) cursor = wl_cursor_theme_get_cursor(d.cursorTheme, "default");
  if (cursor == nullptr || cursor->image_count == 0) return;
  d.cursorImage = cursor->images[0];
  d.cursorSurface = wl_compositor_create_surface(d.compositor);
  wl_surface_attach(d.cursorSurface, wl_cursor_image_get_buffer(d.cursorImage), 0, 0);
  wl_surface_damage(d.cursorSurface, 0, 0, int32_t(d.cursorImage->width), int32_t(d.cursorImage->height));
  wl_surface_commit(d.cursorSurface);
}

// Registry ----------------------------------------------------------------

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  auto& d = *static_cast<WaylandDesktop*>(data);
  const std::string which = interface;
  if (which == wl_compositor_interface.name) {
    d.compositor = static_cast<wl_compositor*>(
        wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 4u)));
  } else if (which == wl_shm_interface.name) {
    d.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
  } else if (which == zwlr_layer_shell_v1_interface.name) {
    d.layerShell = static_cast<zwlr_layer_shell_v1*>(
        wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, std::min(version, 4u)));
  } else if (which == wl_seat_interface.name && d.seat == nullptr) {
    d.seat =
        static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u)));
    wl_seat_add_listener(d.seat, &kSeatListener, &d);
  } else if (which == wl_output_interface.name) {
    AddOutput(d, name, version);
  }
}

void GlobalRemove(void* data, wl_registry*, uint32_t name) {
  RemoveOutput(*static_cast<WaylandDesktop*>(data), name);
}
const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

void Disconnect(WaylandDesktop* d) {
  for (auto& out : d->outputs) {
    DestroySurface(*out);
    wl_output_destroy(out->output);
  }
  d->outputs.clear();
  if (d->cursorSurface != nullptr) wl_surface_destroy(d->cursorSurface);
  if (d->cursorTheme != nullptr) wl_cursor_theme_destroy(d->cursorTheme);
  if (d->pointer != nullptr) wl_pointer_destroy(d->pointer);
  if (d->seat != nullptr) wl_seat_destroy(d->seat);
  if (d->layerShell != nullptr) LayerShellDestroy(d->layerShell);
  if (d->shm != nullptr) wl_shm_destroy(d->shm);
  if (d->compositor != nullptr) wl_compositor_destroy(d->compositor);
  if (d->registry != nullptr) wl_registry_destroy(d->registry);
  wl_display_flush(d->display);
  wl_display_disconnect(d->display);
  delete d;
}

}  // namespace

WaylandDesktop* ConnectWayland(std::string& error) {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    error = std::string("cannot connect to the Wayland display '") + (name ? name : "wayland-0") + "'";
    return nullptr;
  }
  auto* d = new WaylandDesktop;
  d->display = display;
  d->registry = wl_display_get_registry(display);
  wl_registry_add_listener(d->registry, &kRegistryListener, d);
  wl_display_roundtrip(display);  // the globals
  wl_display_roundtrip(display);  // the outputs' and the seat's first events
  if (d->layerShell == nullptr || d->compositor == nullptr || d->shm == nullptr) {
    error = d->layerShell == nullptr
                ? "this Wayland compositor has no layer shell (zwlr_layer_shell_v1), so nothing can be drawn "
                  "as its background; Tidemere runs on wlroots compositors (sway, wayfire, labwc, Hyprland) "
                  "and on X11"
                : "this Wayland compositor offers no shared-memory buffers";
    Disconnect(d);
    return nullptr;
  }
  return d;
}

void StartWaylandDesktop(LinuxApp& app, WaylandDesktop* d) {
  app.wayland = d;
  d->app = &app;
  d->started = true;
  LoadCursor(*d);
  for (auto& out : d->outputs) MakeSurface(*out);
  wl_display_flush(d->display);

  d->notifier = new QSocketNotifier(wl_display_get_fd(d->display), QSocketNotifier::Read);
  QObject::connect(d->notifier, &QSocketNotifier::activated, [d] {
    if (wl_display_dispatch(d->display) < 0) {
      Warn("the Wayland compositor closed the connection");
      d->notifier->setEnabled(false);
      d->frameTimer.stop();
      Request(d->app->requests.exitAsked, *d->app);
    }
  });
  // Requests made anywhere in the loop leave before it sleeps.
  d->beforeSleep =
      QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [d] {
        wl_display_dispatch_pending(d->display);
        wl_display_flush(d->display);
      });
  d->frameTimer.setTimerType(Qt::PreciseTimer);
  d->frameTimer.setInterval(kFrameTickMs);
  QObject::connect(&d->frameTimer, &QTimer::timeout, [d] { OnFrameTick(*d); });
  d->frameTimer.start();
  Log("[wayland] %zu output(s), layer shell version %u", d->outputs.size(),
      wl_proxy_get_version(reinterpret_cast<wl_proxy*>(d->layerShell)));
}

void StopWaylandDesktop(LinuxApp& app) {
  WaylandDesktop* d = app.wayland;
  if (d == nullptr) return;
  d->frameTimer.stop();
  QObject::disconnect(d->beforeSleep);
  delete d->notifier;
  d->notifier = nullptr;
  app.wayland = nullptr;
  Disconnect(d);
}

std::vector<SurfaceAquariums*> WaylandSurfaces(LinuxApp& app) {
  std::vector<SurfaceAquariums*> surfaces;
  if (app.wayland == nullptr) return surfaces;
  for (auto& out : app.wayland->outputs) surfaces.push_back(&out->aquariums);
  return surfaces;
}

int WaylandSurfaceCount(const LinuxApp& app) {
  int count = 0;
  if (app.wayland == nullptr) return 0;
  for (auto& out : app.wayland->outputs) count += out->configured ? 1 : 0;
  return count;
}

void UpdateWaylandRest(LinuxApp& app) {
  WaylandDesktop* d = app.wayland;
  if (d == nullptr) return;
  if (!app.lifecycle.visibility.covered) d->waitingTicks = 0;
  // A wake-up now: frames stop or resume at once, not at the next tick.
  DrawOutputs(*d, false);
}
