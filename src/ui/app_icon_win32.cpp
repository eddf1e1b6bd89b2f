#include "ui/ui_win32.h"

// The painted icon arrives with the icon figure; the window keeps the class
// icon (resource 101) meanwhile.
HICON CreateAppIcon(int) {
  return nullptr;
}
