#include "desktop/x11_desktop.h"

#include <QAbstractNativeEventFilter>
#include <QBackingStore>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "base/clock.h"
#include "common/linux_log.h"
#include "desktop/frame_driver.h"
#include "desktop/x11_stacking.h"

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
  AquariumView view;
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
};

namespace {

void RenderX11Frame(X11Desktop& d);

struct DesktopWindow : QWindow {
  X11Desktop* desktop = nullptr;

  bool event(QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
          const qreal ratio = devicePixelRatio();
          PointerClicked(desktop->view, float(mouse->position().x() * ratio),
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

// The pointer each frame, in the window's pixels. Only a move counts, as on
// Windows: a pointer resting where it was at start scares nobody.
void ReadPointer(X11Desktop& d) {
  const QPoint local = d.window->mapFromGlobal(QCursor::pos());
  const qreal ratio = d.window->devicePixelRatio();
  const int x = int(local.x() * ratio), y = int(local.y() * ratio);
  AquariumView& view = d.view;
  if (view.pointerSeen && (x != view.pointerX || y != view.pointerY)) PointerMoved(view, float(x), float(y));
  view.pointerSeen = true;
  view.pointerX = x;
  view.pointerY = y;
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
  ViewWake view = WakeOf(d.view, pixels, true);
  const WakeResult result = RunFrames(*d.app, &view, 1);
  d.store->endPaint();
  if (d.frameTimer.interval() != TickMsOf(result)) d.frameTimer.setInterval(TickMsOf(result));
  if (!view.drawn) return;
  d.drawnOnce = true;
  QRegion changed;
  if (view.whole) {
    changed = area;
  } else {
    for (const draw::PixelRect& r : *view.changed) changed += QRect(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
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

std::vector<ScreenRect> Monitors(const X11Desktop& d) {
  std::vector<ScreenRect> monitors;
  for (QScreen* screen : QGuiApplication::screens()) {
    const qreal ratio = screen->devicePixelRatio();
    const QRect g = screen->geometry();
    monitors.push_back({int(g.left() * ratio), int(g.top() * ratio), int((g.left() + g.width()) * ratio),
                        int((g.top() + g.height()) * ratio)});
  }
  (void)d;
  return monitors;
}

void WatchDesktop(X11Desktop& d) {
  LinuxApp& app = *d.app;
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
        IsEveryMonitorCovered(Monitors(d), CoveringWindowsAbove(stacking, d.own, desktop));
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
  app.lifecycle.fullScreenInFront = ActiveWindowFullScreen(d.connection, d.root, d.atoms, d.own);
  UpdateX11Rest(app);
}

void FollowScreens(X11Desktop& d) {
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary == nullptr) return;
  const QRect virtualScreen = primary->virtualGeometry();
  if (d.window->geometry() != virtualScreen) {
    Log("[x11] the screen is now %dx%d at %d,%d", virtualScreen.width(), virtualScreen.height(),
        virtualScreen.x(), virtualScreen.y());
    d.window->setGeometry(virtualScreen);
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
  d->view.frame.fixedSteps = app.launch.steps;
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
  d->window->setGeometry(primary ? primary->virtualGeometry() : QRect(0, 0, 1024, 768));
  d->window->create();
  d->own = xcb_window_t(d->window->winId());
  d->store = new QBackingStore(d->window);
  MarkAsDesktop(*d);
  qApp->installNativeEventFilter(&d->filter);
  d->filter.desktop = d;
  d->window->show();
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

std::vector<AquariumView*> X11Views(LinuxApp& app) {
  if (app.x11 == nullptr) return {};
  return {&app.x11->view};
}

void UpdateX11Rest(LinuxApp& app) {
  X11Desktop* d = app.x11;
  if (d == nullptr) return;
  // A wake-up now: frames stop or resume at once, not at the next tick.
  RenderX11Frame(*d);
}
