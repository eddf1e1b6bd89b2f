// The About window "TidemereAboutWnd": product name, description, version,
// product and website rows, rights notice and a clickable website link, all
// painted with GDI+ (no child controls). Laid out at 96 DPI and scaled to
// the window's DPI.
#include <windows.h>
// after windows.h, which it builds on
#include <gdiplus.h>

#include "base/log.h"
#include "base/product.h"
#include "common/app_icon_win32.h"
#include "common/names_win32.h"
#include "common/window_class_win32.h"
#include "draw/gdiplus/gdiplus_graphics.h"
#include "ui/dpi_win32.h"
#include "ui/ui_win32.h"

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

namespace {

// The link's hot rectangle at 96 DPI, inclusive, whatever the text's width.
constexpr int kLinkLeft = 130, kLinkRight = 280, kLinkTop = 178, kLinkBottom = 198;

bool InLink(HWND window, int x, int y) {
  const int dpi = WindowDpi(window);
  return x >= ScaleForDpi(kLinkLeft, dpi) && x <= ScaleForDpi(kLinkRight, dpi) &&
         y >= ScaleForDpi(kLinkTop, dpi) && y <= ScaleForDpi(kLinkBottom, dpi);
}

// The family every text is drawn in. "Segoe UI" is missing on some systems
// (and under Wine): then the platform's generic sans-serif family, and where
// even that is missing (Wine without "Microsoft Sans Serif" or "Arial"), the
// family GDI itself draws for "Segoe UI", so that the window never goes
// without text. Only a family made for one painting is deleted after it; the
// fallback is found once and kept for the process.
struct FontFamily {
  gp::GpFontFamily* family = nullptr;
  bool owned = false;
};

gp::GpFontFamily* FamilyGdiDrawsFor(const wchar_t* name) {
  HDC screen = GetDC(nullptr);
  HFONT font = CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name);
  HGDIOBJ previous = SelectObject(screen, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(screen, LF_FACESIZE, face);
  SelectObject(screen, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  gp::GpFontFamily* family = nullptr;
  if (flat::GdipCreateFontFamilyFromName(face, nullptr, &family) != gp::Ok) family = nullptr;
  return family;
}

gp::GpFontFamily* FallbackFamily() {
  static gp::GpFontFamily* fallback = [] {
    gp::GpFontFamily* family = nullptr;
    if (flat::GdipGetGenericFontFamilySansSerif(&family) == gp::Ok && family != nullptr) return family;
    return FamilyGdiDrawsFor(L"Segoe UI");
  }();
  return fallback;
}

FontFamily MakeFontFamily(const wchar_t* name) {
  gp::GpFontFamily* family = nullptr;
  if (flat::GdipCreateFontFamilyFromName(name, nullptr, &family) == gp::Ok && family != nullptr) {
    return {family, true};
  }
  return {FallbackFamily(), false};
}

void DeleteFontFamily(FontFamily& family) {
  if (family.owned && family.family != nullptr) flat::GdipDeleteFontFamily(family.family);
  family = {};
}

// A font of `family`, else of the fallback family in the same style, else
// the fallback's regular style (a family need not have every style).
gp::GpFont* MakeFont(const FontFamily& family, float pixels, int style) {
  gp::GpFont* font = nullptr;
  for (gp::GpFontFamily* candidate : {family.family, FallbackFamily()}) {
    if (candidate != nullptr &&
        flat::GdipCreateFont(candidate, pixels, style, gp::UnitPixel, &font) == gp::Ok) {
      return font;
    }
  }
  if (FallbackFamily() != nullptr &&
      flat::GdipCreateFont(FallbackFamily(), pixels, gp::FontStyleRegular, gp::UnitPixel, &font) == gp::Ok) {
    return font;
  }
  return nullptr;
}

struct TextRow {
  const wchar_t* text;
  int x, y;      // at 96 DPI
  float pixels;  // font size at 96 DPI
  int style;
  draw::Color color;
};

void PaintAbout(HWND window, HDC dc, bool withIcon) {
  const int dpi = WindowDpi(window);
  auto S = [dpi](int value) { return ScaleForDpi(value, dpi); };
  RECT client;
  GetClientRect(window, &client);

  draw::Graphics g = draw::MakeGdiplusGraphics(dc);
  gp::GpGraphics* graphics = GdiplusGraphicsOf(g);
  if (graphics != nullptr) flat::GdipSetTextRenderingHint(graphics, gp::TextRenderingHintAntiAlias);

  // Header band.
  FillRectangleI(g, draw::GradientBrushI(0, 0, 0xFF1E508C, 0, S(110), 0xFF3C82C8), 0, 0, client.right,
                 S(110));

  // The application icon, made for this painting only.
  if (withIcon) {
    if (HICON icon = CreateAppIcon(S(96))) {
      if (graphics != nullptr) flat::GdipFlush(graphics, gp::FlushIntentionSync);  // GDI draws next
      DrawIconEx(dc, S(24), S(12), icon, S(96), S(96), 0, nullptr, DI_NORMAL);
      DestroyIcon(icon);
    }
  }

  const TextRow texts[] = {
      {L"Tidemere", 140, 22, 28, gp::FontStyleBold, 0xFFFFFFFF},
      {L"Live Aquarium Wallpaper for Windows", 142, 62, 13, gp::FontStyleRegular, 0xDCDCF0FF},
      {kVersionLine, 142, 84, 12, gp::FontStyleRegular, 0xC8FFFFFF},
      {L"Product:", 40, 150, 12, gp::FontStyleBold, 0xFF505A6E},
      {L"Tidemere \u2014 Live Aquarium Wallpaper", 130, 150, 12, gp::FontStyleRegular, 0xFF283246},
      {L"Website:", 40, 178, 12, gp::FontStyleBold, 0xFF505A6E},
      {kWebsiteHost, 130, 178, 12, gp::FontStyleUnderline, 0xFF0066CC},
      {kRightsLabel, 40, 206, 12, gp::FontStyleBold, 0xFF505A6E},
      {kRightsNotice, 130, 206, 12, gp::FontStyleRegular, 0xFF283246},
      {L"Click the website link to open in your browser.", 40, 232, 10, gp::FontStyleItalic, 0xB4646E82},
  };

  // Separator under the band.
  DrawLineI(g, draw::MakePen(0xFFC8D2E1, ScaleForDpi(1.0f, dpi)), S(24), S(130), client.right - S(24),
            S(130));

  FontFamily family = MakeFontFamily(L"Segoe UI");
  for (const TextRow& row : texts) {
    gp::GpFont* font = MakeFont(family, ScaleForDpi(row.pixels, dpi), row.style);
    // Text is beyond the toolkit's shapes: a GDI+ brush of its own.
    gp::GpSolidFill* brush = nullptr;
    flat::GdipCreateSolidFill(row.color, &brush);
    if (font != nullptr && graphics != nullptr && brush != nullptr) {
      const gp::RectF layout(float(S(row.x)), float(S(row.y)), 0, 0);  // no wrapping, no clipping
      flat::GdipDrawString(graphics, row.text, -1, font, &layout, nullptr, brush);
    }
    if (brush != nullptr) flat::GdipDeleteBrush(brush);
    if (font != nullptr) flat::GdipDeleteFont(font);
  }
  DeleteFontFamily(family);
}

}  // namespace

void OpenAboutWindow(WallpaperApp& app) {
  if (app.ui.aboutWindow != nullptr) {
    SetForegroundWindow(app.ui.aboutWindow);
    return;
  }
  RegisterWindowClassOnce(kAboutWindowClass, AboutWndProc, app.instance);
  const ScreenRect rect = AboutWindowRect(PrimaryMonitorDpi(), GetSystemMetrics(SM_CXSCREEN),
                                          GetSystemMetrics(SM_CYSCREEN), PrimaryWorkArea());
  app.ui.aboutWindow =
      CreateWindowExW(0, kAboutWindowClass, L"About Tidemere", WS_CAPTION | WS_SYSMENU, rect.left, rect.top,
                      rect.Width(), rect.Height(), nullptr, nullptr, app.instance, &app);
  if (app.ui.aboutWindow == nullptr) return;
  ShowWindow(app.ui.aboutWindow, SW_SHOW);
  UpdateWindow(app.ui.aboutWindow);
  WriteLog(L"关于对话框已打开");
}

LRESULT CALLBACK AboutWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WallpaperApp* app = WindowOwner<WallpaperApp>(window, message, lParam);

  switch (message) {
    case WM_NCCREATE:
      if (app != nullptr) SetAppWindowIcon(window, app->instance);
      break;  // DefWindowProcW sets the caption text
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      PaintAbout(window, dc, app != nullptr);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT cursor = {};
      GetCursorPos(&cursor);
      ScreenToClient(window, &cursor);
      if (InLink(window, cursor.x, cursor.y)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONUP:
      if (InLink(window, LOWORD(lParam), HIWORD(lParam))) {
        (app != nullptr ? app->outside.shellExecute : ShellExecuteW)(nullptr, L"open", kWebsiteUrl, nullptr,
                                                                     nullptr, SW_SHOWNORMAL);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        DestroyWindow(window);
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case WM_DESTROY:
      if (app != nullptr) app->ui.aboutWindow = nullptr;
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
