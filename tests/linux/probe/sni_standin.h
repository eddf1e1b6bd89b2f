// A stand-in for a desktop's StatusNotifierWatcher and host: it accepts a
// tray item's registration, and reads and clicks the item's menu through
// com.canonical.dbusmenu, as a panel would.
#pragma once

class QCoreApplication;

int RunWatcher(QCoreApplication& app);
int PrintMenu();
int ClickMenu(const char* label);
