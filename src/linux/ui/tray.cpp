// The tray icon (a StatusNotifierItem where the desktop has a host for it,
// the older system tray elsewhere on X11) and its menu.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QMenu>
#include <QSystemTrayIcon>

#include "common/autostart_entry.h"
#include "common/linux_log.h"
#include "policy/tray_menu.h"
#include "ui/ui.h"

namespace {

void OnAutostart(LinuxApp& app) {
  const bool enable = !IsAutostartEnabled(app.autostartPath, app.programPath);
  if (!SetAutostart(app.autostartPath, app.programPath, enable)) {
    Warn("cannot %s %s", enable ? "write" : "delete", app.autostartPath.c_str());
  } else {
    Log("[tray] start at login %s: %s", enable ? "on" : "off", app.autostartPath.c_str());
  }
  // Read back: the check mark shows what the file says.
  app.ui->autostartAction->setChecked(IsAutostartEnabled(app.autostartPath, app.programPath));
}

constexpr char kNoTray[] =
    "no system tray or StatusNotifierItem host: the menu is not reachable; use 'tidemere --theme N', "
    "'tidemere settings', 'tidemere about' and 'tidemere exit'";
constexpr char kWatcherService[] = "org.kde.StatusNotifierWatcher";

void ShowTrayIcon(LinuxApp& app) {
  UserInterface& ui = *app.ui;
  ui.tray = new QSystemTrayIcon(AppIcon());
  ui.tray->setToolTip("Tidemere");
  ui.tray->setContextMenu(ui.menu);
  ui.tray->show();
  Log("[tray] icon shown: tray available=%d", int(QSystemTrayIcon::isSystemTrayAvailable()));
  if (!QSystemTrayIcon::isSystemTrayAvailable()) Warn("%s", kNoTray);
}

// Wayland has no XEmbed tray: without a StatusNotifierWatcher Qt would fall
// back to its X11 tray code, which only warns there (its xcb-only signal),
// and would keep that choice for the rest of the process. So the icon waits
// for a watcher (a panel started after us). True when one is there now.
bool WaitForTrayHost(LinuxApp& app) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    Warn("%s (no D-Bus session)", kNoTray);
    return false;
  }
  // Watching before asking: a watcher that registers in between is not missed.
  auto* watch =
      new QDBusServiceWatcher(kWatcherService, bus, QDBusServiceWatcher::WatchForRegistration, app.ui->menu);
  if (bus.interface()->isServiceRegistered(kWatcherService)) {
    delete watch;
    return true;
  }
  Warn("%s", kNoTray);
  QObject::connect(watch, &QDBusServiceWatcher::serviceRegistered, [&app, watch] {
    watch->deleteLater();
    if (app.ui->tray != nullptr) return;
    Log("[tray] a StatusNotifierItem host appeared");
    ShowTrayIcon(app);
  });
  return false;
}

}  // namespace

void CreateTray(LinuxApp& app) {
  UserInterface& ui = *app.ui;
  ui.menu = new QMenu;
  auto* themes = new QActionGroup(ui.menu);
  themes->setExclusive(true);
  for (const MenuItem& item : TrayMenuItems(L"Start at login")) {
    if (item.action == MenuAction::kSeparator) {
      ui.menu->addSeparator();
      continue;
    }
    QAction* action = ui.menu->addAction(QString::fromWCharArray(item.text));
    switch (item.action) {
      case MenuAction::kTheme: {
        // Unlike Windows' menu, the scenes carry the mark of the one shown.
        action->setCheckable(true);
        themes->addAction(action);
        ui.themeActions[item.theme - 1] = action;
        const int theme = item.theme;
        QObject::connect(action, &QAction::triggered, [&app, theme, action] {
          Log("[tray] %s", action->text().toUtf8().constData());
          Request(app.requests.themeChosen, app, theme);
        });
        break;
      }
      case MenuAction::kSettings:
        QObject::connect(action, &QAction::triggered, [&app] { OpenSettingsWindow(app); });
        break;
      case MenuAction::kAbout:
        QObject::connect(action, &QAction::triggered, [&app] { OpenAboutWindow(app); });
        break;
      case MenuAction::kAutostart:
        ui.autostartAction = action;
        action->setCheckable(true);
        QObject::connect(action, &QAction::triggered, [&app] { OnAutostart(app); });
        break;
      case MenuAction::kExit:
        QObject::connect(action, &QAction::triggered, [&app] {
          Log("[tray] Exit");
          Request(app.requests.exitAsked, app);
        });
        break;
      case MenuAction::kSeparator:
        break;
    }
  }
  // Another program may have changed the autostart folder meanwhile.
  QObject::connect(ui.menu, &QMenu::aboutToShow, [&app] {
    app.ui->autostartAction->setChecked(IsAutostartEnabled(app.autostartPath, app.programPath));
  });
  ui.autostartAction->setChecked(IsAutostartEnabled(app.autostartPath, app.programPath));
  ShowTheme(app);

  if (app.kind == DesktopKind::kWayland && !WaitForTrayHost(app)) return;
  ShowTrayIcon(app);
}

void RemoveTray(LinuxApp& app) {
  UserInterface& ui = *app.ui;
  delete ui.tray;
  ui.tray = nullptr;
  delete ui.menu;
  ui.menu = nullptr;
}

void ShowTheme(LinuxApp& app) {
  if (app.ui == nullptr) return;
  for (int i = 0; i < kThemeCount; ++i) {
    if (app.ui->themeActions[i] != nullptr) app.ui->themeActions[i]->setChecked(app.settings.theme == i + 1);
  }
}

void ShowNotification(LinuxApp& app, const std::string& title, const std::string& text) {
  if (app.ui == nullptr || app.ui->tray == nullptr) return;
  app.ui->tray->showMessage(QString::fromStdString(title), QString::fromStdString(text),
                            QSystemTrayIcon::Warning, 15000);
}
