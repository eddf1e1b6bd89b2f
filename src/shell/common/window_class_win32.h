// What the program's own windows share: registering their classes once per
// process, and the one way a window procedure finds its owner.
#pragma once

#include <windows.h>

struct WindowClassStyle {
  int windowExtraBytes = 0;
  bool dialogLook = true;       // arrow cursor and the button-face background
  bool arrowCursor = false;     // the arrow without the dialog's background
  bool appIcon = false;         // icon 101 as the class icon
  bool redrawOnResize = false;  // CS_HREDRAW | CS_VREDRAW
};

// Registers the class on first use; later calls find it registered.
void RegisterWindowClassOnce(const wchar_t* name, WNDPROC procedure, HINSTANCE instance,
                             WindowClassStyle style = {});

// The window's owner: at WM_NCCREATE the creation parameter is kept in the
// window's user data, afterwards it is read back from there. Null before
// WM_NCCREATE and once the procedure cleared its user data.
template <typename Owner>
Owner* WindowOwner(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return owner;
  }
  return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Gives the window icon 101 as its large and small icon (shared, so never destroyed).
void SetAppWindowIcon(HWND window, HINSTANCE instance);
