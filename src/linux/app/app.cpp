#include "app/app.h"

#include <QApplication>
#include <cstring>

#include "common/linux_log.h"
#include "desktop/desktop.h"
#include "policy/tray_menu.h"
#include "settings/ini_store.h"
#include "ui/ui.h"

namespace {

SaveResult ApplySettings(LinuxApp& app) {
  const SaveResult saved = SaveAppSettings(app);
  RebuildAquariums(app);
  return saved;
}

void Notify(LinuxApp& app, const std::string& title, const std::string& text) {
  ShowNotification(app, title, text);
}

}  // namespace

void WireRequests(LinuxApp& app) {
  app.requests.themeChosen = SetEffect;
  app.requests.exitAsked = RequestExit;
  app.requests.settingsApplied = ApplySettings;
  app.requests.notify = Notify;
}

SaveResult SaveAppSettings(LinuxApp& app) {
  IniFileStore store(app.settingsPath);
  const SaveResult saved = SaveSettingsTo(store, app.settings);
  if (saved.ok) return saved;
  // A read-only folder fails every save: the user hears of the first one.
  const char* reason = std::strerror(int(saved.error));
  if (!app.saveFailureTold) {
    app.saveFailureTold = true;
    Warn("cannot save the settings to %s: %s; they hold until Tidemere ends", app.settingsPath.c_str(),
         reason);
  } else {
    Log("[settings] saving %s failed: %s", app.settingsPath.c_str(), reason);
  }
  return saved;
}

void SetEffect(LinuxApp& app, int theme) {
  Log("SetEffect called: old=%d new=%d", app.settings.theme, theme);
  if (theme == app.settings.theme) return;
  app.settings.theme = theme;
  SaveAppSettings(app);
  RebuildAquariums(app);
  ShowTheme(app);
}

void OnHotkey(LinuxApp& app, int id) {
  Log("OnHotkey id=%d", id);
  if (id == kExitHotkeyId) {
    Log("[hotkey] exit");
    RequestExit(app);
    return;
  }
  for (const Hotkey& key : Hotkeys()) {
    if (key.id == id) SetEffect(app, id);
  }
}

void RequestExit(LinuxApp& app) {
  (void)app;
  // The loop ends; main() takes everything down in order.
  QCoreApplication::quit();
}
