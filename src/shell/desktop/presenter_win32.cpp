// Putting the back buffer on the wallpaper window: a DirectComposition
// visual whose content is a composition surface, or, where DirectComposition
// cannot start (Windows 7, Wine), a plain BitBlt to the window.
#include <windows.h>
// after windows.h, which they build on
#include <d3d11.h>
#include <dcomp.h>
#include <dxgi.h>

#include <algorithm>

#include "base/log.h"
#include "desktop/presenter_win32.h"
#include "draw/compositing.h"

// The Direct3D and DirectComposition objects, seen by this file alone.
struct CompositionPresenter {
  ID3D11Device* d3dDevice = nullptr;
  ID3D11DeviceContext* d3dContext = nullptr;
  IDCompositionDevice* dcompDevice = nullptr;
  IDCompositionTarget* dcompTarget = nullptr;
  IDCompositionVisual* dcompVisual = nullptr;
  IDCompositionSurface* dcompSurface = nullptr;  // the visual's content
  int contentWidth = 0;                          // size of the surface on the visual
  int contentHeight = 0;
  // Per-frame failures, logged once per 100 so that a persistent failure
  // does not flood the log.
  int beginDrawFailures = 0;
  int getDcFailures = 0;
};

namespace {

// The presenter's objects, made on first use.
CompositionPresenter& ObjectsOf(WallpaperApp& app) {
  if (app.presenter.composition == nullptr) app.presenter.composition = new CompositionPresenter;
  return *app.presenter.composition;
}

template <typename T>
void Release(T*& object) {
  if (object != nullptr) {
    object->Release();
    object = nullptr;
  }
}

bool Failed(HRESULT hr, const wchar_t* format) {
  if (SUCCEEDED(hr)) return false;
  WriteLog(format, unsigned(hr));
  return true;
}

// dcomp.dll exists from Windows 8 on: looked up at run time so that the
// program still starts (and presents with GDI) on Windows 7. Only the
// system's copy: the default search would try the program's folder first.
HRESULT CreateCompositionDevice(const WallpaperApp& app, IDXGIDevice* dxgiDevice,
                                IDCompositionDevice** device) {
  using CreateDevice = HRESULT(WINAPI*)(IUnknown*, REFIID, void**);
  CreateDevice create = app.outside.createCompositionDevice;
  if (create == nullptr) {
    HMODULE dcomp = LoadLibraryExW(L"dcomp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (dcomp != nullptr)
      create = reinterpret_cast<CreateDevice>(
          reinterpret_cast<void*>(GetProcAddress(dcomp, "DCompositionCreateDevice")));
  }
  if (create == nullptr) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  return create(dxgiDevice, __uuidof(IDCompositionDevice), reinterpret_cast<void**>(device));
}

// NOTE: IDCompositionVisual::SetContent takes a composition surface, a
// swap chain or a surface wrapper, never a Direct3D texture: the content is
// an opaque surface. (Opaque: the frame's outermost rows and columns are only
// partly covered, as pixel centres sit on the integer coordinates, and must
// not let the shell's layer show through.)
HRESULT CreateContent(CompositionPresenter& c, int width, int height, IDCompositionSurface** surface) {
  return c.dcompDevice->CreateSurface(UINT(width), UINT(height), DXGI_FORMAT_B8G8R8A8_UNORM,
                                      DXGI_ALPHA_MODE_IGNORE, surface);
}

// The visual takes a new surface of the back buffer's size, so a display
// change neither crops nor stretches the picture.
void ResizeContent(CompositionPresenter& c, int width, int height) {
  IDCompositionSurface* surface = nullptr;
  HRESULT hr = CreateContent(c, width, height, &surface);
  if (SUCCEEDED(hr)) hr = c.dcompVisual->SetContent(surface);
  if (SUCCEEDED(hr)) {
    Release(c.dcompSurface);
    c.dcompSurface = surface;
    c.contentWidth = width;
    c.contentHeight = height;
  } else {
    Release(surface);  // the old content stays; the copy below keeps within both sizes
  }
  WriteLog(L"presenter: content %dx%d hr=0x%08x", width, height, unsigned(hr));
}

// Copies one rectangle of the back buffer into the surface: BeginDraw with
// it as the update, every one of its pixels drawn.
void PresentBySurface(CompositionPresenter& c, HDC backBuffer, const RECT& part) {
  RECT update = {part.left, part.top, part.right < c.contentWidth ? part.right : c.contentWidth,
                 part.bottom < c.contentHeight ? part.bottom : c.contentHeight};
  if (update.right <= update.left || update.bottom <= update.top) return;
  IDXGISurface1* surface = nullptr;
  POINT offset = {};
  HRESULT hr = c.dcompSurface->BeginDraw(&update, __uuidof(IDXGISurface1), reinterpret_cast<void**>(&surface),
                                         &offset);
  if (FAILED(hr) || surface == nullptr) {
    if (++c.beginDrawFailures % 100 == 0) WriteLog(L"[diag] BeginDraw failed hr=0x%08x", unsigned(hr));
    return;
  }
  HDC dc = nullptr;
  // TRUE: every pixel of the update is drawn, so DXGI need not keep (read back) the old ones.
  hr = surface->GetDC(TRUE, &dc);
  if (FAILED(hr) || dc == nullptr) {
    if (++c.getDcFailures % 100 == 0) WriteLog(L"[diag] GetDC failed hr=0x%08x", unsigned(hr));
  } else {
    BitBlt(dc, offset.x, offset.y, update.right - update.left, update.bottom - update.top, backBuffer,
           update.left, update.top, SRCCOPY);
    surface->ReleaseDC(nullptr);
  }
  surface->Release();
  c.dcompSurface->EndDraw();
}

bool InitComposition(WallpaperApp& app, int width, int height) {
  CompositionPresenter& c = ObjectsOf(app);
  const D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_11_0;
  HRESULT hr = D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                 &level, 1, D3D11_SDK_VERSION, &c.d3dDevice, nullptr, &c.d3dContext);
  if (Failed(hr, L"D3D11CreateDevice 失败 hr=0x%08x")) return false;

  IDXGIDevice* dxgiDevice = nullptr;
  hr = c.d3dDevice->QueryInterface(__uuidof(IDXGIDevice), reinterpret_cast<void**>(&dxgiDevice));
  if (Failed(hr, L"QI IDXGIDevice 失败 hr=0x%08x")) return false;
  hr = CreateCompositionDevice(app, dxgiDevice, &c.dcompDevice);
  dxgiDevice->Release();
  if (Failed(hr, L"DCompositionCreateDevice 失败 hr=0x%08x")) return false;
  hr = c.dcompDevice->CreateTargetForHwnd(app.desktop.wallpaperWindow, TRUE, &c.dcompTarget);
  if (Failed(hr, L"CreateTargetForHwnd 失败 hr=0x%08x")) return false;
  hr = c.dcompDevice->CreateVisual(&c.dcompVisual);
  if (Failed(hr, L"CreateVisual 失败 hr=0x%08x")) return false;
  hr = CreateContent(c, width, height, &c.dcompSurface);
  if (Failed(hr, L"CreateSurface 失败 hr=0x%08x")) return false;
  hr = c.dcompVisual->SetContent(c.dcompSurface);
  if (Failed(hr, L"SetContent(surface) 失败 hr=0x%08x")) return false;
  // The content's size, kept so that a display change re-creates it.
  c.contentWidth = width;
  c.contentHeight = height;

  c.dcompVisual->SetOffsetX(0.0f);
  c.dcompVisual->SetOffsetY(0.0f);
  hr = c.dcompTarget->SetRoot(c.dcompVisual);
  if (Failed(hr, L"SetRoot 失败 hr=0x%08x")) return false;
  hr = c.dcompDevice->Commit();
  if (Failed(hr, L"Commit 失败 hr=0x%08x")) return false;
  app.presenter.kind = PresenterKind::kSurface;
  return true;
}

// DirectComposition that would not start is tried again after 1 s, then
// after twice as long each time, at most a minute apart.
constexpr uint64_t kFirstRetryMs = 1000;
constexpr uint64_t kLastRetryMs = 60000;

void RebuildPresenter(WallpaperApp& app, HRESULT cause) {
  PresenterState& presenter = app.presenter;
  const uint64_t now = GetTickCount64();
  if (now < presenter.nextRebuild || app.desktop.wallpaperWindow == nullptr) return;
  presenter.nextRebuild = now + 1000;  // at most once a second
  WriteLog(L"presenter: device lost hr=0x%08x, starting it again", unsigned(cause));
  ReleaseComposition(app);
  RECT client = {};
  GetClientRect(app.desktop.wallpaperWindow, &client);
  StartPresenter(app, client.right, client.bottom);  // falls back to GDI when it cannot
}

void RetryComposition(WallpaperApp& app) {
  PresenterState& presenter = app.presenter;
  if (presenter.kind != PresenterKind::kGdi || app.desktop.wallpaperWindow == nullptr) {
    presenter.retryMs = 0;
    return;
  }
  const uint64_t now = GetTickCount64();
  if (presenter.retryMs == 0) {
    presenter.retryMs = kFirstRetryMs;
    presenter.nextRetry = now + presenter.retryMs;
    return;
  }
  if (now < presenter.nextRetry) return;
  RECT client = {};
  GetClientRect(app.desktop.wallpaperWindow, &client);
  if (InitComposition(app, client.right, client.bottom)) {
    WriteLog(L"presenter: DirectComposition surface, after the GDI fallback");
    presenter.retryMs = 0;
    presenter.wholeNext = true;
    return;
  }
  ReleaseComposition(app);
  presenter.kind = PresenterKind::kGdi;  // frames keep going the way they went
  // Logged until the retries reach their longest interval, then no more.
  if (presenter.retryMs < kLastRetryMs) {
    WriteLog(L"presenter: DirectComposition still unavailable; next try in %llu s",
             (unsigned long long)std::min(2 * presenter.retryMs, kLastRetryMs) / 1000);
  }
  presenter.retryMs = std::min(2 * presenter.retryMs, kLastRetryMs);
  presenter.nextRetry = now + presenter.retryMs;
}

}  // namespace

void ReleaseComposition(WallpaperApp& app) {
  if (CompositionPresenter* c = app.presenter.composition) {
    Release(c->dcompSurface);
    Release(c->dcompVisual);
    Release(c->dcompTarget);
    Release(c->dcompDevice);
    Release(c->d3dContext);
    Release(c->d3dDevice);
    delete c;
    app.presenter.composition = nullptr;
  }
  if (app.presenter.kind != PresenterKind::kGdi) app.presenter.kind = PresenterKind::kNone;
  app.presenter.wholeNext = true;
}

void StartPresenter(WallpaperApp& app, int width, int height) {
  if (InitComposition(app, width, height)) {
    WriteLog(L"presenter: DirectComposition surface");
    return;
  }
  app.presenter.wholeNext = true;
  WriteLog(L"DComp 初始化失败，动画可能不可见");
  // Whatever started in part would only stand between the window and the
  // copies below.
  ReleaseComposition(app);
  app.presenter.kind = PresenterKind::kGdi;
  WriteLog(L"presenter: GDI fallback");
}

void PresentFrame(WallpaperApp& app, int width, int height) {
  PresentChanged(app, width, height, {}, true);
}

namespace {

// Copies per frame at most: each costs a call into the system, and on the
// surface path an update of its own, so many small rectangles are grouped
// (into coarser cells, which copy more pixels). A BitBlt is cheap; a surface
// update less so.
constexpr size_t kMostCopies = 256;
constexpr size_t kMostSurfaceUpdates = 32;

RECT ToRect(const draw::PixelRect& r) {
  return {r.x0, r.y0, r.x1, r.y1};
}

}  // namespace

PresentCount PresentChanged(WallpaperApp& app, int width, int height,
                            const std::vector<draw::PixelRect>& changed, bool whole) {
  PresentCount count;
  if (app.frame.backBufferBits == nullptr || width <= 0 || height <= 0) return count;
  std::vector<draw::PixelRect> copies;
  CompositionPresenter* c = app.presenter.composition;
  const bool resized = app.presenter.kind != PresenterKind::kGdi && c != nullptr &&
                       c->dcompDevice != nullptr && (c->contentWidth != width || c->contentHeight != height);
  if (whole || app.presenter.wholeNext || resized) {
    copies.push_back({0, 0, width, height});
    app.presenter.wholeNext = false;
  } else {
    const bool surface = app.presenter.kind == PresenterKind::kSurface;
    draw::GroupRects(changed, width, height, surface ? kMostSurfaceUpdates : kMostCopies, copies);
  }
  for (const draw::PixelRect& r : copies) count.copiedPixels += r.Area();
  count.framePixels = double(width) * height;

  if (app.presenter.kind == PresenterKind::kGdi) {
    HDC dc = GetDC(app.desktop.wallpaperWindow);
    if (dc != nullptr) {
      for (const draw::PixelRect& r : copies) {
        BitBlt(dc, r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0, app.frame.memoryDc, r.x0, r.y0, SRCCOPY);
      }
      ReleaseDC(app.desktop.wallpaperWindow, dc);
    }
    return count;
  }
  if (c == nullptr || c->dcompDevice == nullptr) return count;
  if (resized) ResizeContent(*c, width, height);
  if (copies.empty() || c->dcompSurface == nullptr) return count;  // nothing to commit
  for (const draw::PixelRect& r : copies) PresentBySurface(*c, app.frame.memoryDc, ToRect(r));
  c->dcompDevice->Commit();
  return count;
}

void KeepPresenterWorking(WallpaperApp& app) {
  if (PresenterLost(app)) RebuildPresenter(app, E_FAIL);
  RetryComposition(app);
}

bool PresenterLost(const WallpaperApp& app) {
  if (app.presenter.kind != PresenterKind::kSurface) return false;
  const CompositionPresenter* c = app.presenter.composition;
  if (c == nullptr) return false;
  BOOL valid = TRUE;
  if (c->dcompDevice != nullptr && SUCCEEDED(c->dcompDevice->CheckDeviceState(&valid)) && !valid) return true;
  return c->d3dDevice != nullptr && c->d3dDevice->GetDeviceRemovedReason() != S_OK;
}
