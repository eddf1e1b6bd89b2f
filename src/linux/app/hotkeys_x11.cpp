// Ctrl+Shift+1, 2, 3 and 0 grabbed on the X11 root window, whatever Caps Lock
// and Num Lock say. A combination another program holds is logged and left
// to it.
#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "common/linux_log.h"
#include "policy/tray_menu.h"

namespace {

constexpr uint16_t kModifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
// Caps Lock and Num Lock (Mod2 on nearly every keyboard map) in every pairing.
constexpr uint16_t kLockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                      XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

struct GrabbedKey {
  uint32_t keysym;  // a digit's keysym is its character: XK_0 .. XK_9
  int id;           // Hotkeys()' id: a scene's number, or the exit's
  std::string name;
  xcb_keycode_t keycode = 0;
};

std::vector<GrabbedKey> hotkeys;

struct HotkeyFilter : QAbstractNativeEventFilter {
  LinuxApp* app = nullptr;
  xcb_window_t root = 0;
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
    auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (key->event != root || (key->state & kModifiers) != kModifiers) return false;
    for (const GrabbedKey& hotkey : hotkeys) {
      if (hotkey.keycode != 0 && key->detail == hotkey.keycode) {
        OnHotkey(*app, hotkey.id);
        return true;
      }
    }
    return false;
  }
};

HotkeyFilter filter;
xcb_connection_t* connection = nullptr;

// The keycode that gives `keysym` without modifiers' help, from the server's map.
void FindKeycodes(xcb_connection_t* c) {
  const xcb_setup_t* setup = xcb_get_setup(c);
  const int count = setup->max_keycode - setup->min_keycode + 1;
  xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
      c, xcb_get_keyboard_mapping(c, setup->min_keycode, uint8_t(count)), nullptr);
  if (map == nullptr) return;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
  const int perCode = map->keysyms_per_keycode;
  for (GrabbedKey& hotkey : hotkeys) {
    for (int code = 0; code < count && hotkey.keycode == 0; ++code) {
      for (int k = 0; k < perCode && k < 2; ++k) {
        if (syms[code * perCode + k] == hotkey.keysym)
          hotkey.keycode = xcb_keycode_t(setup->min_keycode + code);
      }
    }
  }
  std::free(map);
}

}  // namespace

void GrabHotkeys(LinuxApp& app) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  connection = x11->connection();
  filter.app = &app;
  filter.root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  hotkeys.clear();
  for (const Hotkey& key : Hotkeys())
    hotkeys.push_back({uint32_t(key.digit), key.id, std::string("Ctrl+Shift+") + key.digit});
  FindKeycodes(connection);
  for (const GrabbedKey& hotkey : hotkeys) {
    if (hotkey.keycode == 0) {
      Warn("%s: no key on this keyboard map gives it", hotkey.name.c_str());
      continue;
    }
    bool held = false;
    for (uint16_t locks : kLockVariants) {
      xcb_void_cookie_t cookie =
          xcb_grab_key_checked(connection, 1, filter.root, kModifiers | locks, hotkey.keycode,
                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
      if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
        held = held || error->error_code == XCB_ACCESS;
        std::free(error);
      }
    }
    if (held) {
      Warn("%s is held by another program: that hot key stays with it", hotkey.name.c_str());
    } else {
      Log("[hotkey] %s grabbed", hotkey.name.c_str());
    }
  }
  qApp->installNativeEventFilter(&filter);
}

void ReleaseHotkeys() {
  if (connection == nullptr) return;
  qApp->removeNativeEventFilter(&filter);
  for (const GrabbedKey& hotkey : hotkeys) {
    if (hotkey.keycode == 0) continue;
    for (uint16_t locks : kLockVariants)
      xcb_ungrab_key(connection, hotkey.keycode, filter.root, kModifiers | locks);
  }
  xcb_flush(connection);
  connection = nullptr;
}
