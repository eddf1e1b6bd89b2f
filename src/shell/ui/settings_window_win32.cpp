// The settings window "Aquarium Settings": total, frame-rate mode and the
// count of each species, with a running "Allocated" total. A plain top-level
// window with standard child controls, laid out at 96 DPI and scaled to the
// monitor's DPI.
#include <string>
#include <vector>

#include "base/log.h"
#include "base/log_win32.h"
#include "base/product.h"
#include "base/system_message_win32.h"
#include "common/names_win32.h"
#include "common/window_class_win32.h"
#include "policy/settings_form.h"
#include "settings/settings_win32.h"
#include "sim/creature_tables.h"
#include "ui/dpi_win32.h"
#include "ui/ui_win32.h"

namespace {

constexpr int kFontKinds = kFormFontKinds;

// A control of the portable layout as this window makes it.
struct ControlLayout {
  FormField field;
  const wchar_t* className;
  int id;
  DWORD styles;  // besides WS_CHILD | WS_VISIBLE
};

ControlLayout Win32Control(const FormField& field) {
  const DWORD numberEdit = WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL;
  switch (field.control) {
    case FormControl::kNumberEdit:
      return {field, L"EDIT",
              field.role == FormRole::kTotal ? kTotalFishEdit : kSpeciesCountEditBase + field.species,
              numberEdit};
    case FormControl::kChoice:
      return {field, L"COMBOBOX", kFpsModeCombo, CBS_DROPDOWNLIST | WS_VSCROLL};
    case FormControl::kGroupBox:
      return {field, L"BUTTON", 0, BS_GROUPBOX};
    case FormControl::kDefaultButton:
      return {field, L"BUTTON", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP};
    case FormControl::kButton:
      return {field, L"BUTTON", field.role == FormRole::kOk ? IDOK : IDCANCEL, WS_TABSTOP};
    case FormControl::kSpeciesIcon:
      return {field, kSpeciesIconWindowClass, 0, 0};
    case FormControl::kLabel:
      break;
  }
  // A long log path keeps its start and its file name.
  return {field, L"STATIC", 0, field.role == FormRole::kLogPath ? DWORD(SS_PATHELLIPSIS | SS_NOPREFIX) : 0};
}

// Every control in creation order; `app` may be null (the defaults are shown).
std::vector<ControlLayout> SettingsControls(const WallpaperApp* app) {
  std::vector<ControlLayout> controls;
  // With /debug the footer says where the log goes (beside the program, or
  // in the local application data where the program's folder is not ours).
  for (const FormField& field : SettingsFormLayout(app ? app->settings : Settings{},
                                                   debugLogging ? LogFilePathInUse() : std::wstring()))
    controls.push_back(Win32Control(field));
  return controls;
}

// What the window keeps besides its application: the fonts at its DPI and
// its controls, so that a move to a monitor of another DPI can lay it out again.
struct SettingsWindowState {
  int dpi = 96;
  HFONT fonts[kFontKinds] = {};
  std::vector<ControlLayout> layouts;
  std::vector<HWND> controls;
  HWND groupBox = nullptr;
  HWND allocatedLabel = nullptr;
};

SettingsWindowState* StateOf(HWND window) {
  return reinterpret_cast<SettingsWindowState*>(GetWindowLongPtrW(window, 0));
}

HFONT MakeFont(int height, int weight) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei UI");
}

void MakeFonts(SettingsWindowState& state) {
  for (int k = 0; k < kFontKinds; ++k) {
    state.fonts[k] = k == int(FormFont::kNone) ? nullptr
                                               : MakeFont(ScaleForDpi(kFormFontPixels[k], state.dpi),
                                                          k == int(FormFont::kBold) ? FW_BOLD : FW_NORMAL);
  }
}

void DeleteFonts(HFONT (&fonts)[kFontKinds]) {
  for (HFONT& font : fonts) {
    if (font != nullptr) DeleteObject(font);
    font = nullptr;
  }
}

void CreateControls(HWND window, WallpaperApp* app, SettingsWindowState& state) {
  const int dpi = state.dpi;
  state.layouts = SettingsControls(app);
  for (const ControlLayout& layout : state.layouts) {
    const FormField& f = layout.field;
    HWND control = CreateWindowExW(
        0, layout.className, f.text.c_str(), WS_CHILD | WS_VISIBLE | layout.styles, ScaleForDpi(f.x, dpi),
        ScaleForDpi(f.y, dpi), ScaleForDpi(f.width, dpi), ScaleForDpi(f.height, dpi), window,
        reinterpret_cast<HMENU>(INT_PTR(layout.id)), app ? app->instance : nullptr, nullptr);
    state.controls.push_back(control);
    if (f.font != FormFont::kNone) SendMessageW(control, WM_SETFONT, WPARAM(state.fonts[int(f.font)]), TRUE);
    if (f.control == FormControl::kSpeciesIcon) SetWindowLongPtrW(control, GWLP_USERDATA, f.species);
    if (f.role == FormRole::kFpsMode) {
      for (const wchar_t* mode : kFpsModeNames) SendMessageW(control, CB_ADDSTRING, 0, LPARAM(mode));
      SendMessageW(control, CB_SETCURSEL, WPARAM(app ? app->settings.fpsMode : 0), 0);
    }
    if (f.role == FormRole::kAllocated) state.allocatedLabel = control;
    if (f.role == FormRole::kGroup) state.groupBox = control;
  }
}

// Lays the controls out again after the window moved to a monitor of another DPI.
void ApplyDpi(HWND window, SettingsWindowState& state, int dpi, const RECT* suggested) {
  HFONT oldFonts[kFontKinds];
  for (int k = 0; k < kFontKinds; ++k) oldFonts[k] = state.fonts[k];
  state.dpi = dpi;
  MakeFonts(state);
  for (size_t i = 0; i < state.controls.size(); ++i) {
    const FormField& f = state.layouts[i].field;
    SetWindowPos(state.controls[i], nullptr, ScaleForDpi(f.x, dpi), ScaleForDpi(f.y, dpi),
                 ScaleForDpi(f.width, dpi), ScaleForDpi(f.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    if (f.font != FormFont::kNone)
      SendMessageW(state.controls[i], WM_SETFONT, WPARAM(state.fonts[int(f.font)]), TRUE);
  }
  DeleteFonts(oldFonts);  // no control uses them any more
  if (suggested != nullptr) {
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window, nullptr, TRUE);
}

int ReadNumberOf(HWND window, int id) {
  wchar_t text[kFormNumberChars + 1] = {};
  GetDlgItemTextW(window, id, text, kFormNumberChars + 1);
  return ReadFormNumber(text);
}

SettingsFormInput ReadForm(HWND window) {
  SettingsFormInput input;
  input.totalFish = ReadNumberOf(window, kTotalFishEdit);
  for (int i = 0; i < kSpeciesCount; ++i)
    input.speciesCounts[i] = ReadNumberOf(window, kSpeciesCountEditBase + i);
  return input;
}

void UpdateAllocatedLabel(HWND window) {
  SettingsWindowState* state = StateOf(window);
  if (state == nullptr || state->allocatedLabel == nullptr) return;
  HWND label = state->allocatedLabel;
  SetWindowTextW(label, AllocatedLabelText(ReadForm(window)).c_str());
  // The label paints over a hollow brush: the window must wipe the old,
  // longer text under it before the label draws the new one.
  RECT area;
  GetWindowRect(label, &area);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
  InvalidateRect(window, &area, TRUE);
  InvalidateRect(label, nullptr, TRUE);
}

void Apply(HWND window, WallpaperApp& app) {
  const LRESULT selection = SendDlgItemMessageW(window, kFpsModeCombo, CB_GETCURSEL, 0, 0);
  const FormOutcome outcome = ApplySettingsForm(
      ReadForm(window), selection == CB_ERR ? -1 : int(selection), app.settings,
      [&app] { return app.requests.settingsApplied ? app.requests.settingsApplied(app) : SaveResult{}; },
      GetSettingsPath(), [](unsigned long error) { return SystemMessage(error); });
  if (outcome.caption != nullptr)
    app.outside.messageBox(window, outcome.text.c_str(), outcome.caption, MB_ICONWARNING);
  if (outcome.close) DestroyWindow(window);
}

bool IsNumberEdit(int id) {
  return (id >= kSpeciesCountEditBase && id < kSpeciesCountEditBase + kSpeciesCount) || id == kTotalFishEdit;
}

}  // namespace

void OpenSettingsWindow(WallpaperApp& app, HWND owner) {
  if (app.ui.settingsWindow != nullptr) {
    if (IsIconic(app.ui.settingsWindow)) ShowWindow(app.ui.settingsWindow, SW_RESTORE);
    SetForegroundWindow(app.ui.settingsWindow);
    return;
  }
  RegisterWindowClassOnce(kSettingsWindowClass, SettingsWndProc, app.instance,
                          {int(sizeof(SettingsWindowState*)), true});
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const int dpi = PrimaryMonitorDpi();
  ScreenRect rect = SettingsWindowRect(dpi, 0, screenWidth, screenHeight, PrimaryWorkArea());
  app.ui.settingsWindow =
      CreateWindowExW(0, kSettingsWindowClass, L"Aquarium Settings", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                      rect.left, rect.top, rect.Width(), rect.Height(), owner, nullptr, app.instance, &app);
  if (app.ui.settingsWindow == nullptr) return;
  // Now that the frame exists, make room for the whole client area under it
  // (a 610-pixel window cut the footer off under a caption).
  RECT outer, client;
  GetWindowRect(app.ui.settingsWindow, &outer);
  GetClientRect(app.ui.settingsWindow, &client);
  rect = SettingsWindowRect(dpi, (outer.bottom - outer.top) - client.bottom, screenWidth, screenHeight,
                            PrimaryWorkArea());
  SetWindowPos(app.ui.settingsWindow, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(app.ui.settingsWindow, SW_SHOW);
  UpdateWindow(app.ui.settingsWindow);
  WriteLog(L"设置对话框已打开");
}

LRESULT CALLBACK SettingsWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WallpaperApp* app = WindowOwner<WallpaperApp>(window, message, lParam);

  switch (message) {
    case WM_NCCREATE:
      if (app != nullptr) SetAppWindowIcon(window, app->instance);
      break;  // DefWindowProcW sets the caption text
    case WM_CREATE: {
      auto* state = new SettingsWindowState;
      SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(state));
      state->dpi = WindowDpi(window);
      MakeFonts(*state);
      RegisterWindowClassOnce(kSpeciesIconWindowClass, FishIconWndProc, app ? app->instance : nullptr);
      CreateControls(window, app, *state);
      UpdateAllocatedLabel(window);
      return 0;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) == EN_CHANGE && IsNumberEdit(id)) {
        UpdateAllocatedLabel(window);
        return 0;
      }
      if (id == IDOK) {
        if (app == nullptr) {
          DestroyWindow(window);
        } else {
          Apply(window, *app);
        }
        return 0;
      }
      if (id == IDCANCEL) {
        DestroyWindow(window);
        return 0;
      }
      break;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      if (app != nullptr) {
        app->ui.settingsWindow = nullptr;
        Request(app->requests.settingsClosed, *app);
      }
      return 0;
    case WM_NCDESTROY:
      // The controls are gone by now: their fonts can go too.
      if (SettingsWindowState* state = StateOf(window)) {
        DeleteFonts(state->fonts);
        delete state;
        SetWindowLongPtrW(window, 0, 0);
      }
      break;
    case WM_DPICHANGED:
      if (SettingsWindowState* state = StateOf(window)) {
        ApplyDpi(window, *state, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(40, 60, 90));
      // The group box fills its caption's background with this brush; a hollow
      // one would let the frame line run through the caption.
      SettingsWindowState* state = StateOf(window);
      if (state != nullptr && reinterpret_cast<HWND>(lParam) == state->groupBox) {
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
    }
    case WM_CTLCOLOREDIT:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
