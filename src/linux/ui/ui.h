// The tray icon with its menu, the settings and About windows, and the
// application icon, as Qt widgets with the same content as on Windows.
#pragma once

#include <QIcon>
#include <QPointer>
#include <string>

#include "common/linux_app.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

struct UserInterface {
  QSystemTrayIcon* tray = nullptr;
  QMenu* menu = nullptr;
  QAction* themeActions[6] = {};
  QAction* autostartAction = nullptr;
  QPointer<QWidget> settingsWindow;
  QPointer<QWidget> aboutWindow;
};

// The tray menu's entries, top to bottom.
constexpr const char* kThemeNames[6] = {"Tropical Aquarium", "Deep Sea Aquarium", "Koi Pond",
                                        "Coral Reef",        "Shipwreck",         "Ancient Ruins"};
constexpr const char* kSettingsItem = "Settings...";
constexpr const char* kAboutItem = "About Tidemere...";
constexpr const char* kAutostartItem = "Start at login";
constexpr const char* kExitItem = "Exit";

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
