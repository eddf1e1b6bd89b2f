// The About window: product name, description, version, product and website
// rows, rights notice and a clickable website link, painted as on Windows.
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QWidget>

#include "base/product.h"
#include "common/linux_log.h"
#include "ui/ui.h"

namespace {

// The link's hot rectangle, inclusive, whatever the text's width.
const QRect kLink(130, 178, 151, 21);

struct TextRow {
  QString text;
  int x, y;
  int pixels;
  bool bold, italic, underline;
  QRgb color;  // ARGB
};

struct AboutWindow : QWidget {
  AboutWindow() { setMouseTracking(true); }

  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient band(0, 0, 0, 110);
    band.setColorAt(0, QColor::fromRgba(0xFF1E508C));
    band.setColorAt(1, QColor::fromRgba(0xFF3C82C8));
    p.fillRect(0, 0, width(), 110, band);
    p.drawImage(QRect(24, 12, 96, 96), AppIconImage(96 * int(devicePixelRatioF() + 0.5)));
    p.setPen(QPen(QColor::fromRgba(0xFFC8D2E1), 1));
    p.drawLine(24, 130, width() - 24, 130);
    const TextRow rows[] = {
        {"Tidemere", 140, 22, 28, true, false, false, 0xFFFFFFFF},
        {"Live Aquarium Wallpaper for Linux", 142, 62, 13, false, false, false, 0xDCDCF0FF},
        {"Version 1.0", 142, 84, 12, false, false, false, 0xC8FFFFFF},
        {"Product:", 40, 150, 12, true, false, false, 0xFF505A6E},
        {QString::fromUtf8("Tidemere \u2014 Live Aquarium Wallpaper"), 130, 150, 12, false, false, false,
         0xFF283246},
        {"Website:", 40, 178, 12, true, false, false, 0xFF505A6E},
        {QString::fromWCharArray(kWebsiteHost), 130, 178, 12, false, false, true, 0xFF0066CC},
        {QString::fromWCharArray(kRightsLabel), 40, 206, 12, true, false, false, 0xFF505A6E},
        {QString::fromWCharArray(kRightsNotice), 130, 206, 12, false, false, false, 0xFF283246},
        {"Click the website link to open in your browser.", 40, 232, 10, false, true, false, 0xB4646E82},
    };
    for (const TextRow& row : rows) {
      QFont font("Segoe UI");
      font.setPixelSize(row.pixels);
      font.setBold(row.bold);
      font.setItalic(row.italic);
      font.setUnderline(row.underline);
      p.setFont(font);
      p.setPen(QColor::fromRgba(row.color));
      // Placed by the top of the text, as GDI+ places a string at a point.
      p.drawText(QRect(row.x, row.y, 1000, 100), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, row.text);
    }
  }

  void mouseMoveEvent(QMouseEvent* event) override {
    setCursor(kLink.contains(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
  }

  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && kLink.contains(event->position().toPoint())) {
      QDesktopServices::openUrl(QUrl(QString::fromWCharArray(kWebsiteUrl)));
    }
  }

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      close();
    } else {
      QWidget::keyPressEvent(event);
    }
  }
};

}  // namespace

void OpenAboutWindow(LinuxApp& app) {
  UserInterface& ui = *app.ui;
  if (ui.aboutWindow) {
    ui.aboutWindow->raise();
    ui.aboutWindow->activateWindow();
    return;
  }
  auto* window = new AboutWindow;
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  window->setWindowTitle("About Tidemere");
  window->setWindowIcon(AppIcon());
  window->setFixedSize(424, 251);  // the client area of the Windows window's 440 x 290
  ui.aboutWindow = window;
  window->show();
  Log("[ui] About window opened");
}

void CloseWindows(LinuxApp& app) {
  if (app.ui == nullptr) return;
  delete app.ui->settingsWindow.data();
  delete app.ui->aboutWindow.data();
}
