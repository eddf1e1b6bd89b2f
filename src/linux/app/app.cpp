#include "app/app.h"

#include <QApplication>

#include "common/linux_log.h"
#include "desktop/desktop.h"
#include "settings/ini_store.h"
#include "ui/ui.h"

namespace {

void ApplySettings(LinuxApp& app) {
  SaveAppSettings(app);
  RebuildAquariums(app);
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

void SaveAppSettings(const LinuxApp& app) {
  IniFileStore store(app.settingsPath);
  SaveSettingsTo(store, app.settings);
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
  if (id >= 1 && id <= 3) {
    SetEffect(app, id);
  } else if (id == 4) {
    Log("[hotkey] exit");
    RequestExit(app);
  }
}

void RequestExit(LinuxApp& app) {
  (void)app;
  // The loop ends; main() takes everything down in order.
  QCoreApplication::quit();
}
