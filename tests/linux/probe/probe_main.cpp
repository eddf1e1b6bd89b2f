// tidemere-probe: what the end-to-end scripts need to see and drive the
// program from outside.
//   compare A.png B.png    the parity measure between two pictures (exit 1 when apart)
//   grab OUT.png           the X11 root window as a PNG, every monitor
//   window [--fullscreen]  a plain opaque window until killed (covers the desktop)
//   sni-watcher            a stand-in StatusNotifierWatcher on the session bus, until killed
//   sni-menu               the registered tray item's menu: "label<TAB>checked" lines
//   sni-click LABEL        clicks that menu entry
//   portal [--animations on|off] [--reduced-motion N]   a stand-in desktop portal's settings
//   portal-set KEY VALUE   changes one of them (animations on|off, reduced-motion N)
//   power-profiles PROFILE a stand-in power-profiles-daemon on the system bus
//   power-profiles-set PROFILE   changes its active profile
// The D-Bus ones need no display.
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <cstdio>
#include <cstring>

#include "common/parity_measure.h"
#include "probe/desktop_standins.h"
#include "probe/sni_standin.h"

namespace {

bool Load(const char* path, RenderBuffer& buffer) {
  QImage image(QString::fromLocal8Bit(path));
  if (image.isNull()) {
    std::fprintf(stderr, "tidemere-probe: cannot read %s\n", path);
    return false;
  }
  // Over black, as a part of the desktop no monitor shows (grim leaves it transparent).
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  buffer.width = image.width();
  buffer.height = image.height();
  buffer.pixels.resize(size_t(image.width()) * size_t(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(&buffer.pixels[size_t(y) * size_t(image.width())], image.constScanLine(y),
                size_t(image.width()) * 4);
  }
  for (uint32_t& p : buffer.pixels) p |= 0xFF000000u;
  return true;
}

int Compare(const char* a, const char* b) {
  RenderBuffer first, second;
  if (!Load(a, first) || !Load(b, second)) return 2;
  if (first.width != second.width || first.height != second.height) {
    std::printf("sizes differ: %dx%d and %dx%d\n", first.width, first.height, second.width, second.height);
    return 1;
  }
  const ParityScore score = CompareRenders(first, second);
  std::printf("%s\n", Describe(score).c_str());
  return Passes(score) ? 0 : 1;
}

struct PlainWindow : QRasterWindow {
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(QRect(QPoint(), size()), QColor(200, 90, 40));
  }
};

bool Is(const char* mode, const char* name) {
  return std::strcmp(mode, name) == 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tidemere-probe compare A B | grab OUT | window [--fullscreen] | sni-watcher | "
               "sni-menu | sni-click LABEL | portal [--animations on|off] [--reduced-motion N] | "
               "portal-set KEY VALUE | power-profiles PROFILE | power-profiles-set PROFILE\n");
  return 2;
}

// The modes that only talk on D-Bus.
int RunBusMode(int argc, char** argv) {
  const char* mode = argv[1];
  QCoreApplication app(argc, argv);
  if (Is(mode, "sni-watcher")) return RunWatcher(app);
  if (Is(mode, "sni-menu")) return PrintMenu();
  if (Is(mode, "sni-click") && argc == 3) return ClickMenu(argv[2]);
  if (Is(mode, "portal")) return RunPortal(app, argc, argv);
  if (Is(mode, "portal-set") && argc == 4) return SetPortalValue(argv[2], argv[3]);
  if (Is(mode, "power-profiles") && argc == 3) return RunPowerProfiles(app, argv[2]);
  if (Is(mode, "power-profiles-set") && argc == 3) return SetPowerProfile(argv[2]);
  return Usage();
}

}  // namespace

int main(int argc, char** argv) {
  const char* mode = argc > 1 ? argv[1] : "";
  if (Is(mode, "compare") && argc == 4) return Compare(argv[2], argv[3]);
  if (std::strncmp(mode, "sni-", 4) == 0 || std::strncmp(mode, "portal", 6) == 0 ||
      std::strncmp(mode, "power-profiles", 14) == 0) {
    return RunBusMode(argc, argv);
  }
  QGuiApplication app(argc, argv);
  if (std::strcmp(mode, "grab") == 0 && argc == 3) {
    // The whole root, every monitor (at Qt's scale 1).
    QScreen* primary = QGuiApplication::primaryScreen();
    const QRect all = primary->virtualGeometry().translated(-primary->geometry().topLeft());
    const QPixmap shot = primary->grabWindow(0, all.x(), all.y(), all.width(), all.height());
    return shot.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
  }
  if (std::strcmp(mode, "window") == 0) {
    PlainWindow window;
    window.setTitle("probe window");
    window.resize(400, 300);
    if (argc > 2 && std::strcmp(argv[2], "--fullscreen") == 0) {
      window.showFullScreen();
    } else {
      window.show();
    }
    return app.exec();
  }
  return Usage();
}
