// The tray icon with its menu, the settings and About windows, and the
// application icon, as Qt widgets with the same content as on Windows.
#pragma once

#include <QIcon>
#include <QPointer>
#include <string>

#include "base/themes.h"
#include "common/linux_app.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

struct UserInterface {
  QSystemTrayIcon* tray = nullptr;
  QMenu* menu = nullptr;
  QAction* themeActions[kThemeCount] = {};
  QAction* autostartAction = nullptr;
  QPointer<QWidget> settingsWindow;
  QPointer<QWidget> aboutWindow;
};

void CreateTray(LinuxApp& app);
void RemoveTray(LinuxApp& app);
// The scene's check mark follows the current theme.
void ShowTheme(LinuxApp& app);
void ShowNotification(LinuxApp& app, const std::string& title, const std::string& text);

void OpenSettingsWindow(LinuxApp& app);
void OpenAboutWindow(LinuxApp& app);
void CloseWindows(LinuxApp& app);

// The application icon painted by the program's own figure at the usual sizes.
QIcon AppIcon();
QImage AppIconImage(int size);
