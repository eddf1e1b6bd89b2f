#include "desktop/x11_desktop.h"

#include <QAbstractNativeEventFilter>
#include <QBackingStore>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/clock.h"
#include "common/linux_log.h"
#include "desktop/frame_driver.h"
#include "desktop/x11_stacking.h"
#include "policy/frame_pacing.h"

namespace {

constexpr int kWatchMs = 250;  // stacking, compositor and full-screen checks

struct DesktopWindow;

struct EventFilter : QAbstractNativeEventFilter {
  X11Desktop* desktop = nullptr;
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override;
};

}  // namespace

struct X11Desktop {
  LinuxApp* app = nullptr;
  DesktopWindow* window = nullptr;
  QBackingStore* store = nullptr;
  SurfaceAquariums aquariums;  // over the RandR monitors, in the window's pixels
  std::vector<ViewWake> views;
  std::vector<draw::PixelRect> changed;  // in the window's pixels
  bool pointerSeen = false;              // a pointer position was read before
  int pointerX = 0;
  int pointerY = 0;
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = 0;
  xcb_window_t own = 0;
  X11Atoms atoms = {};
  QTimer frameTimer;
  QTimer watchTimer;
  EventFilter filter;
  bool composited = false;
  bool obscured = false;  // fully obscured, from visibility events (no compositor)
  bool drawnOnce = false;
  bool formatReported = false;
  QPoint origin;  // the window's top left on the root, the server's pixels
  int unmappedChecks = 0;
};

namespace {

void RenderX11Frame(X11Desktop& d);
void FollowScreens(X11Desktop& d);

struct DesktopWindow : QWindow {
  X11Desktop* desktop = nullptr;

  bool event(QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
          const qreal ratio = devicePixelRatio();
          PointerClicked(desktop->aquariums, float(mouse->position().x() * ratio),
                         float(mouse->position().y() * ratio));
        }
        return true;
      }
      case QEvent::Expose:
        // The server lost part of the picture (no compositor keeps it): show
        // the last frame again, or draw the first one.
        if (isExposed()) {
          if (!desktop->drawnOnce) {
            desktop->app->frame.loop.pacer = FramePacer();  // due now
            RenderX11Frame(*desktop);
          } else {
            desktop->store->flush(QRect(QPoint(0, 0), size()));
          }
        }
        return true;
      default:
        return QWindow::event(event);
    }
  }
};

bool EventFilter::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t" || desktop == nullptr) return false;
  auto* event = static_cast<xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) != XCB_VISIBILITY_NOTIFY) return false;
  auto* visibility = reinterpret_cast<xcb_visibility_notify_event_t*>(event);
  if (visibility->window != desktop->own) return false;
  desktop->obscured = visibility->state == XCB_VISIBILITY_FULLY_OBSCURED;
  if (!desktop->composited) {
    desktop->app->lifecycle.visibility.covered = desktop->obscured;
    UpdateX11Rest(*desktop->app);
  }
  return false;
}

// The pointer each frame, in the window's pixels (the server's, whatever
// Qt's scale). Only a move counts, as on Windows: a pointer resting where it
// was at start scares nobody.
void ReadPointer(X11Desktop& d) {
  xcb_query_pointer_reply_t* reply =
      xcb_query_pointer_reply(d.connection, xcb_query_pointer(d.connection, d.own), nullptr);
  if (reply == nullptr) return;
  const int x = reply->win_x, y = reply->win_y;
  const bool sameScreen = reply->same_screen != 0;
  std::free(reply);
  if (!sameScreen) return;
  if (d.pointerSeen && (x != d.pointerX || y != d.pointerY)) PointerMoved(d.aquariums, float(x), float(y));
  d.pointerSeen = true;
  d.pointerX = x;
  d.pointerY = y;
}

// Qt keeps a screen's top left in the server's pixels and divides only its
// size by the screen's ratio: the monitors in the server's pixels, each with
// the scale of the desktop's DPI (Xft.dpi, which Qt reads into the ratio and
// the logical DPI).
std::vector<MonitorInfo> ScreenMonitors() {
  std::vector<MonitorInfo> monitors;
  for (QScreen* screen : QGuiApplication::screens()) {
    const qreal ratio = screen->devicePixelRatio();
    const QRect g = screen->geometry();
    const int left = g.left(), top = g.top();
    monitors.push_back(
        {{left, top, left + int(std::lround(g.width() * ratio)), top + int(std::lround(g.height() * ratio))},
         MonitorScaleOfDpi(screen->logicalDotsPerInch() * ratio)});
  }
  return monitors;
}

std::vector<ScreenRect> MonitorRects(const std::vector<MonitorInfo>& monitors) {
  std::vector<ScreenRect> rects;
  for (const MonitorInfo& m : monitors) rects.push_back(m.rect);
  return rects;
}

// The box of the monitors, in the server's pixels.
ScreenRect MonitorBox(const std::vector<MonitorInfo>& monitors) {
  if (monitors.empty()) return {0, 0, 1024, 768};
  ScreenRect box = monitors[0].rect;
  for (const MonitorInfo& m : monitors) box = Bounds(box, m.rect);
  return box;
}

// The window's client area in the server's pixels, `size` of them.
ScreenRect ClientOnScreen(const X11Desktop& d, QSize size) {
  return {d.origin.x(), d.origin.y(), d.origin.x() + size.width(), d.origin.y() + size.height()};
}

bool SameBytesAsRasteriser(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

// One wake-up: the frame loop draws straight into the backing store's image
// (the rasteriser's bytes, and it keeps the last frame), and only the
// rectangles that changed go to the server.
void RenderX11Frame(X11Desktop& d) {
  const QRect area(QPoint(0, 0), d.window->size());
  if (area.isEmpty()) return;
  if (d.store->size() != area.size()) d.store->resize(area.size());
  ReadPointer(d);
  d.store->beginPaint(area);
  QPaintDevice* device = d.store->paintDevice();
  draw::PixelBuffer pixels;
  if (device != nullptr && device->devType() == QInternal::Image) {
    auto* image = static_cast<QImage*>(device);
    if (SameBytesAsRasteriser(image->format())) {
      pixels = {reinterpret_cast<uint32_t*>(image->bits()), image->width(), image->height(),
                int(image->bytesPerLine() / 4)};
    } else if (!d.formatReported) {
      d.formatReported = true;
      Warn("the X server's visual is not 32-bit (image format %d): the aquarium cannot draw on it",
           int(image->format()));
    }
  }
  // Laid over the window as it follows the monitors (their box), not as the
  // server may still have it: an aquarium on a monitor that stays keeps its
  // place while the window shrinks around it.
  const std::vector<MonitorInfo> monitors = ScreenMonitors();
  const ScreenRect box = MonitorBox(monitors);
  LayOutSurface(*d.app, d.aquariums, monitors, ClientOnScreen(d, QSize(box.Width(), box.Height())));
  d.views.clear();
  AquariumViews(d.aquariums.set, pixels, &d.aquariums.pointer, {0, 0}, d.views);
  const WakeResult result = RunFrames(*d.app, d.views.data(), int(d.views.size()));
  d.store->endPaint();
  if (d.frameTimer.interval() != TickMsOf(result)) d.frameTimer.setInterval(TickMsOf(result));
  if (result.viewsDrawn == 0) return;
  d.drawnOnce = true;
  // The server takes the window's pixels; Qt's flush takes its own units.
  const qreal ratio = d.window->devicePixelRatio();
  QRegion changed;
  if (ChangedInWindow(d.aquariums.set, d.views.data(), int(d.views.size()), d.changed)) {
    changed = area;
  } else {
    for (const draw::PixelRect& r : d.changed) {
      if (ratio == 1) {
        changed += QRect(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
      } else {
        changed += QRect(QPoint(int(r.x0 / ratio), int(r.y0 / ratio)),
                         QPoint(int(std::ceil(r.x1 / ratio)), int(std::ceil(r.y1 / ratio))))
                       .adjusted(0, 0, -1, -1);
      }
    }
  }
  const double shown = [&] {
    double sum = 0;
    for (const QRect& r : changed) sum += double(r.width()) * r.height();
    return sum;
  }();
  const int64_t start = MonotonicNanoseconds();
  if (!changed.isEmpty()) d.store->flush(changed);
  NoteFramesShown(d.app->frame.loop, shown, double(area.width()) * area.height(),
                  double(MonotonicNanoseconds() - start) / 1e6);
}

void OnFrameTick(X11Desktop& d) {
  RenderX11Frame(d);
}

// A full-screen window in front: with one aquarium its pace slows; with
// several, the aquarium of its monitor rests and the others go on.
void FollowFullScreen(X11Desktop& d) {
  ScreenRect window;
  const bool full = ActiveWindowFullScreen(d.connection, d.root, d.atoms, d.own, window);
  const std::vector<ScreenRect> monitors = MonitorRects(ScreenMonitors());
  const ScreenRect* monitor = full ? MonitorOf(window, monitors) : nullptr;
  const ScreenRect client = ClientOnScreen(d, d.store->size() * d.window->devicePixelRatio());
  // A window on no monitor known fills the whole window, as before monitors counted.
  const ScreenRect on = monitor ? *monitor : client;
  const ScreenRect inClient = {on.left - client.left, on.top - client.top, on.right - client.left,
                               on.bottom - client.top};
  AquariumSet& set = d.aquariums.set;
  std::vector<bool> before;
  for (const PlacedAquarium& a : set.aquariums) before.push_back(a.underFullScreen);
  d.app->lifecycle.fullScreenInFront = MarkFullScreen(set, full ? &inClient : nullptr);
  for (size_t i = 0; i < before.size() && i < set.aquariums.size(); ++i) {
    const PlacedAquarium& a = set.aquariums[i];
    if (a.underFullScreen == before[i]) continue;
    Log("[rest] the aquarium at %d,%d: %s", a.place.rect.left, a.place.rect.top,
        a.underFullScreen ? "a full-screen window on its monitor: frames stop" : "frames resume");
  }
}

// NOTE: a map request made while a window manager starts up can be lost
// (measured with openbox: the window then stays unmapped, the screen black):
// an unmapped window that Qt shows is mapped again.
void KeepMapped(X11Desktop& d) {
  if (!d.window->isVisible()) return;
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(d.connection, xcb_get_window_attributes(d.connection, d.own), nullptr);
  const bool unmapped = attributes != nullptr && attributes->map_state == XCB_MAP_STATE_UNMAPPED;
  std::free(attributes);
  if (!unmapped) {
    d.unmappedChecks = 0;
    return;
  }
  if (++d.unmappedChecks < 4) return;  // a window manager answers a map within a second
  d.unmappedChecks = 0;
  Log("[x11] the window is not mapped: mapped again");
  xcb_map_window(d.connection, d.own);
  xcb_flush(d.connection);
}

void WatchDesktop(X11Desktop& d) {
  LinuxApp& app = *d.app;
  KeepMapped(d);
  const bool composited = CompositorRunning(d.connection, d.atoms);
  if (composited != d.composited) {
    d.composited = composited;
    Log("[x11] compositor %s: coverage from %s", composited ? "running" : "gone",
        composited ? "the stacking list" : "visibility events");
  }
  const std::vector<StackedWindow> stacking = ReadStacking(d.connection, d.root, d.atoms);
  const uint32_t desktop = ReadCurrentDesktop(d.connection, d.root, d.atoms);
  if (composited) {
    app.lifecycle.visibility.covered =
        IsEveryMonitorCovered(MonitorRects(ScreenMonitors()), CoveringWindowsAbove(stacking, d.own, desktop));
  } else {
    app.lifecycle.visibility.covered = d.obscured;
  }
  if (const StackedWindow* cover = DesktopWindowAbove(stacking, d.own, desktop)) {
    if (!app.lifecycle.coverNoticeGiven) {
      app.lifecycle.coverNoticeGiven = true;
      const std::string who = cover->className.empty() ? "another program" : cover->className;
      const std::string text =
          "The desktop drawn by " + who +
          " covers the aquarium. Turn that desktop off to see it (for example \"pcmanfm --desktop-off\", "
          "\"xfdesktop --quit\", or the file manager's setting that shows desktop icons).";
      Warn("%s", text.c_str());
      Request(app.requests.notify, app, std::string("Tidemere is covered"), text);
    }
  }
  FollowFullScreen(d);
  FollowScreens(d);
  UpdateX11Rest(app);
}

// Where the server has the window's top left on the root.
QPoint WindowOnRoot(const X11Desktop& d) {
  xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
      d.connection, xcb_translate_coordinates(d.connection, d.own, d.root, 0, 0), nullptr);
  const QPoint origin = at ? QPoint(at->dst_x, at->dst_y) : QPoint();
  std::free(at);
  return origin;
}

// The window over every monitor. Qt's virtual geometry mixes the screens'
// origins (the server's pixels) with their scaled sizes, and (Qt 6.4, at a
// ratio other than 1 over several screens) maps a window's place against
// another screen than its own (measured: 1280 pixels left of the place asked
// at ratio 2). Qt is asked for the size in its units; the place, where it
// comes out wrong, is given to the server in its pixels.
void FollowScreens(X11Desktop& d) {
  const ScreenRect box = MonitorBox(ScreenMonitors());
  const qreal ratio = d.window->devicePixelRatio();
  const QRect wanted(QPoint(box.left, box.top),
                     QSize(int(std::ceil(box.Width() / ratio)), int(std::ceil(box.Height() / ratio))));
  if (d.own == 0) {  // not made yet
    d.window->setGeometry(wanted);
    return;
  }
  if (d.window->size() != wanted.size()) {
    Log("[x11] the screen is now %dx%d at %d,%d", box.Width(), box.Height(), box.left, box.top);
    d.window->resize(wanted.size());
  }
  d.origin = WindowOnRoot(d);
  if (d.origin != QPoint(box.left, box.top)) {
    Log("[x11] the window lies at %d,%d: moved to %d,%d", d.origin.x(), d.origin.y(), box.left, box.top);
    const uint32_t place[2] = {uint32_t(box.left), uint32_t(box.top)};
    xcb_configure_window(d.connection, d.own, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
    xcb_flush(d.connection);
    d.origin = QPoint(box.left, box.top);
  }
}

void SetCardinals(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                  const std::vector<uint32_t>& values) {
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, type, 32, uint32_t(values.size()),
                      values.data());
}

// The desktop window's type and state, before it is mapped: a window manager
// reads them once, at the map.
void MarkAsDesktop(X11Desktop& d) {
  const X11Atoms& a = d.atoms;
  SetCardinals(d.connection, d.own, a.windowType, XCB_ATOM_ATOM, {a.windowTypeDesktop});
  SetCardinals(d.connection, d.own, a.state, XCB_ATOM_ATOM,
               {a.stateBelow, a.stateSticky, a.stateSkipTaskbar, a.stateSkipPager});
  SetCardinals(d.connection, d.own, a.desktop, XCB_ATOM_CARDINAL, {kAllDesktops});
  // Visibility events tell when the window is fully covered (no compositor).
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(d.connection, xcb_get_window_attributes(d.connection, d.own), nullptr);
  const uint32_t mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_VISIBILITY_CHANGE;
  free(attributes);
  xcb_change_window_attributes(d.connection, d.own, XCB_CW_EVENT_MASK, &mask);
}

}  // namespace

bool StartX11Desktop(LinuxApp& app, std::string& error) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) {
    error = "Qt is not connected to an X11 display";
    return false;
  }
  auto* d = new X11Desktop;
  app.x11 = d;
  d->app = &app;
  d->connection = x11->connection();
  const xcb_setup_t* setup = xcb_get_setup(d->connection);
  QScreen* primary = QGuiApplication::primaryScreen();
  // Qt's screen is the connection's default one; its root is the first
  // screen's unless DISPLAY names another.
  int screenNumber = 0;
  const QByteArray display = qgetenv("DISPLAY");
  const int dot = display.lastIndexOf('.');
  if (dot > display.lastIndexOf(':')) screenNumber = display.mid(dot + 1).toInt();
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
  for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
  d->root = screens.data->root;
  d->atoms = InternAtoms(d->connection, screenNumber);

  d->window = new DesktopWindow;
  d->window->desktop = d;
  d->window->setSurfaceType(QSurface::RasterSurface);
  d->window->setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                      Qt::WindowDoesNotAcceptFocus);
  d->window->setTitle("Tidemere");
  FollowScreens(*d);
  d->window->create();
  d->own = xcb_window_t(d->window->winId());
  d->store = new QBackingStore(d->window);
  MarkAsDesktop(*d);
  qApp->installNativeEventFilter(&d->filter);
  d->filter.desktop = d;
  d->window->show();
  FollowScreens(*d);
  xcb_flush(d->connection);
  Log("[x11] desktop window 0x%x, %dx%d", unsigned(d->own), d->window->width(), d->window->height());

  QObject::connect(primary, &QScreen::virtualGeometryChanged, [d] { FollowScreens(*d); });
  QObject::connect(qGuiApp, &QGuiApplication::screenAdded, [d] { FollowScreens(*d); });
  QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, [d] { FollowScreens(*d); });
  d->frameTimer.setTimerType(Qt::PreciseTimer);
  d->frameTimer.setInterval(kFrameTickMs);
  QObject::connect(&d->frameTimer, &QTimer::timeout, [d] { OnFrameTick(*d); });
  d->watchTimer.setInterval(kWatchMs);
  QObject::connect(&d->watchTimer, &QTimer::timeout, [d] { WatchDesktop(*d); });
  d->watchTimer.start();
  d->frameTimer.start();
  WatchDesktop(*d);
  return true;
}

void StopX11Desktop(LinuxApp& app) {
  X11Desktop* d = app.x11;
  if (d == nullptr) return;
  qApp->removeNativeEventFilter(&d->filter);
  d->frameTimer.stop();
  d->watchTimer.stop();
  delete d->store;
  delete d->window;
  delete d;
  app.x11 = nullptr;
}

std::vector<SurfaceAquariums*> X11Surfaces(LinuxApp& app) {
  if (app.x11 == nullptr) return {};
  return {&app.x11->aquariums};
}

void UpdateX11Rest(LinuxApp& app) {
  X11Desktop* d = app.x11;
  if (d == nullptr) return;
  // A wake-up now: frames stop or resume at once, not at the next tick.
  RenderX11Frame(*d);
}
