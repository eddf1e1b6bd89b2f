// Putting the back buffer on the wallpaper window: a DirectComposition
// visual whose content is a Direct3D texture or, when the visual refuses it, a
// composition surface; or, where DirectComposition cannot start (Windows 7,
// Wine), a plain BitBlt to the window.
#include <windows.h>
// after windows.h, which they build on
#include <d3d11.h>
#include <dcomp.h>
#include <dxgi.h>

#include "base/log.h"
#include "desktop/desktop_win32.h"

namespace {

// Per-frame failures, counted for the life of the process and logged once
// per 100 so that a persistent failure does not flood the log.
int beginDrawFailures = 0;
int getDcFailures = 0;

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
// program still starts (and presents with GDI) on Windows 7.
HRESULT CreateCompositionDevice(IDXGIDevice* dxgiDevice, IDCompositionDevice** device) {
  using CreateDevice = HRESULT(WINAPI*)(IDXGIDevice*, REFIID, void**);
  HMODULE dcomp = LoadLibraryW(L"dcomp.dll");
  auto create = dcomp ? reinterpret_cast<CreateDevice>(
                            reinterpret_cast<void*>(GetProcAddress(dcomp, "DCompositionCreateDevice")))
                      : nullptr;
  if (create == nullptr) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  return create(dxgiDevice, __uuidof(IDCompositionDevice), reinterpret_cast<void**>(device));
}

HRESULT CreateContentTexture(ID3D11Device* device, int width, int height, ID3D11Texture2D** texture) {
  D3D11_TEXTURE2D_DESC desc = {};
  desc.Width = UINT(width);
  desc.Height = UINT(height);
  desc.MipLevels = 1;
  desc.ArraySize = 1;
  desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
  desc.SampleDesc.Count = 1;
  desc.Usage = D3D11_USAGE_DEFAULT;
  desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  desc.MiscFlags = D3D11_RESOURCE_MISC_SHARED;
  return device->CreateTexture2D(&desc, nullptr, texture);
}

// The content's size, kept so that a display change re-creates it.
void NoteContentSize(WallpaperApp& app, int width, int height) {
  app.contentWidth = width;
  app.contentHeight = height;
}

// The visual takes a new texture or surface of the back buffer's size, so a
// display change neither crops nor stretches the picture.
void ResizeContent(WallpaperApp& app, int width, int height) {
  HRESULT hr = E_FAIL;
  if (app.presenter == PresenterKind::kTexture) {
    ID3D11Texture2D* texture = nullptr;
    hr = CreateContentTexture(app.d3dDevice, width, height, &texture);
    if (SUCCEEDED(hr)) hr = app.dcompVisual->SetContent(texture);
    if (SUCCEEDED(hr)) {
      Release(app.contentTexture);
      app.contentTexture = texture;
    } else {
      Release(texture);
    }
  } else if (app.presenter == PresenterKind::kSurface) {
    IDCompositionSurface* surface = nullptr;
    hr = app.dcompDevice->CreateSurface(UINT(width), UINT(height), DXGI_FORMAT_B8G8R8A8_UNORM,
                                        DXGI_ALPHA_MODE_PREMULTIPLIED, &surface);
    if (SUCCEEDED(hr)) hr = app.dcompVisual->SetContent(surface);
    if (SUCCEEDED(hr)) {
      Release(app.dcompSurface);
      app.dcompSurface = surface;
    } else {
      Release(surface);
    }
  }
  // On failure the old content stays; the copy below keeps within both sizes.
  if (SUCCEEDED(hr)) NoteContentSize(app, width, height);
  WriteLog(L"presenter: content %dx%d hr=0x%08x", width, height, unsigned(hr));
}

void PresentBySurface(WallpaperApp& app, int width, int height) {
  RECT update = {0, 0, app.contentWidth < width ? app.contentWidth : width,
                 app.contentHeight < height ? app.contentHeight : height};
  IDXGISurface1* surface = nullptr;
  POINT offset = {};
  HRESULT hr = app.dcompSurface->BeginDraw(&update, __uuidof(IDXGISurface1),
                                           reinterpret_cast<void**>(&surface), &offset);
  if (FAILED(hr) || surface == nullptr) {
    if (++beginDrawFailures % 100 == 0) WriteLog(L"[diag] BeginDraw failed hr=0x%08x", unsigned(hr));
    return;
  }
  HDC dc = nullptr;
  hr = surface->GetDC(FALSE, &dc);
  if (FAILED(hr) || dc == nullptr) {
    if (++getDcFailures % 100 == 0) WriteLog(L"[diag] GetDC failed hr=0x%08x", unsigned(hr));
  } else {
    BitBlt(dc, offset.x, offset.y, update.right, update.bottom, app.memoryDc, 0, 0, SRCCOPY);
    surface->ReleaseDC(nullptr);
  }
  surface->Release();
  app.dcompSurface->EndDraw();
}

}  // namespace

bool InitComposition(WallpaperApp& app, int width, int height) {
  const D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_11_0;
  HRESULT hr = D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_BGRA_SUPPORT,
                                 &level, 1, D3D11_SDK_VERSION, &app.d3dDevice, nullptr, &app.d3dContext);
  if (Failed(hr, L"D3D11CreateDevice 失败 hr=0x%08x")) return false;

  ID3D11Texture2D* texture = nullptr;
  hr = CreateContentTexture(app.d3dDevice, width, height, &texture);
  if (Failed(hr, L"CreateTexture2D 失败 hr=0x%08x")) return false;

  IDXGIDevice* dxgiDevice = nullptr;
  hr = app.d3dDevice->QueryInterface(__uuidof(IDXGIDevice), reinterpret_cast<void**>(&dxgiDevice));
  if (Failed(hr, L"QI IDXGIDevice 失败 hr=0x%08x")) {
    Release(texture);
    return false;
  }
  hr = CreateCompositionDevice(dxgiDevice, &app.dcompDevice);
  dxgiDevice->Release();
  if (Failed(hr, L"DCompositionCreateDevice 失败 hr=0x%08x")) {
    Release(texture);
    return false;
  }
  hr = app.dcompDevice->CreateTargetForHwnd(app.wallpaperWindow, TRUE, &app.dcompTarget);
  if (Failed(hr, L"CreateTargetForHwnd 失败 hr=0x%08x")) {
    Release(texture);
    return false;
  }
  hr = app.dcompDevice->CreateVisual(&app.dcompVisual);
  if (Failed(hr, L"CreateVisual 失败 hr=0x%08x")) {
    Release(texture);
    return false;
  }

  hr = app.dcompVisual->SetContent(texture);
  if (SUCCEEDED(hr)) {
    app.contentTexture = texture;
    app.presenter = PresenterKind::kTexture;
  } else {
    WriteLog(L"SetContent(tex) 失败 hr=0x%08x，回退 DCompSurface", unsigned(hr));
    Release(texture);
    hr = app.dcompDevice->CreateSurface(UINT(width), UINT(height), DXGI_FORMAT_B8G8R8A8_UNORM,
                                        DXGI_ALPHA_MODE_PREMULTIPLIED, &app.dcompSurface);
    if (Failed(hr, L"CreateSurface 失败 hr=0x%08x")) return false;
    hr = app.dcompVisual->SetContent(app.dcompSurface);
    if (Failed(hr, L"SetContent(surface) 失败 hr=0x%08x")) return false;
    app.presenter = PresenterKind::kSurface;
  }
  NoteContentSize(app, width, height);

  app.dcompVisual->SetOffsetX(0.0f);
  app.dcompVisual->SetOffsetY(0.0f);
  hr = app.dcompTarget->SetRoot(app.dcompVisual);
  if (Failed(hr, L"SetRoot 失败 hr=0x%08x")) {
    app.presenter = PresenterKind::kNone;
    return false;
  }
  hr = app.dcompDevice->Commit();
  if (Failed(hr, L"Commit 失败 hr=0x%08x")) {
    app.presenter = PresenterKind::kNone;
    return false;
  }
  return true;
}

void ReleaseComposition(WallpaperApp& app) {
  Release(app.dcompSurface);
  Release(app.dcompVisual);
  Release(app.dcompTarget);
  Release(app.dcompDevice);
  Release(app.contentTexture);
  Release(app.d3dContext);
  Release(app.d3dDevice);
  app.contentWidth = 0;
  app.contentHeight = 0;
  if (app.presenter != PresenterKind::kGdi) app.presenter = PresenterKind::kNone;
}

void StartPresenter(WallpaperApp& app, int width, int height) {
  if (InitComposition(app, width, height)) {
    WriteLog(L"presenter: DirectComposition %s",
             app.presenter == PresenterKind::kTexture ? L"texture" : L"surface");
    return;
  }
  WriteLog(L"DComp 初始化失败，动画可能不可见");
  // Whatever started in part would only stand between the window and the
  // copies below.
  ReleaseComposition(app);
  app.presenter = PresenterKind::kGdi;
  WriteLog(L"presenter: GDI fallback");
}

void PresentFrame(WallpaperApp& app, int width, int height) {
  if (app.backBufferBits == nullptr) return;
  if (app.presenter == PresenterKind::kGdi) {
    HDC dc = GetDC(app.wallpaperWindow);
    if (dc != nullptr) {
      BitBlt(dc, 0, 0, width, height, app.memoryDc, 0, 0, SRCCOPY);
      ReleaseDC(app.wallpaperWindow, dc);
    }
    return;
  }
  if (app.dcompDevice == nullptr) return;
  if (app.contentWidth != width || app.contentHeight != height) ResizeContent(app, width, height);

  if (app.dcompSurface != nullptr) {
    PresentBySurface(app, width, height);
  } else if (app.contentTexture != nullptr && app.d3dContext != nullptr) {
    if (app.contentWidth != width || app.contentHeight != height) return;  // the texture kept its old size
    app.d3dContext->UpdateSubresource(app.contentTexture, 0, nullptr, app.backBufferBits, UINT(width) * 4, 0);
  } else {
    return;
  }
  app.dcompDevice->Commit();
}
