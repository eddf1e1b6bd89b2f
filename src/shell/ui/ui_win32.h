// The user-interface room: the notification-area icon, its menu and the
// message-only window that hears them, the settings, About and species-icon
// windows.
#pragma once

#include "common/wallpaper_app_win32.h"

// The message-only window "WavescreenMsgWnd" (into app.ui.messageWindow): it
// receives the icon's notifications and the menu's commands.
void CreateMessageWindow(WallpaperApp& app);
LRESULT CALLBACK MessageWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tray: the icon (resource 101, tip "Tidemere") and the menu.
void CreateTray(WallpaperApp& app);
// Adds the notification-area icon and logs the result; also after the shell
// restarted ("TaskbarCreated").
void AddTrayIcon(WallpaperApp& app);
// Removes the icon (when it was added) and its menu, and the message window.
void RemoveTray(WallpaperApp& app);

// "Settings..." and "About Tidemere...": open the window, or raise the open
// one. The settings window may have an owner (a screensaver's "/c:HWND").
void OpenSettingsWindow(WallpaperApp& app, HWND owner = nullptr);
void OpenAboutWindow(WallpaperApp& app);
LRESULT CALLBACK SettingsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK AboutWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK FishIconWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
