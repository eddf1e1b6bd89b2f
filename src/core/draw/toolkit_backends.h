// The two ways a Graphics draws (toolkit-internal). toolkit.cpp holds the
// portable objects and sends each graphics call to one of them: the native
// backend built into this program (qt/qt_toolkit.cpp natively,
// gdiplus/gdiplus_toolkit.cpp on Windows), or the toolkit's own rasteriser
// (raster_toolkit.cpp) for a graphics made by MakeRasterGraphics.
#pragma once

#include <cstdint>

#include "draw/toolkit.h"

namespace draw {

// ---- native backend ----

// Native objects made from the portable ones on first use, freed with them.
void FreeNativeBrush(void* brush);
void FreeNativePen(void* pen);
void FreeNativePath(void* path);
void FreeNativeGraphics(void* graphics);

int NativeTranslate(Graphics& g, float dx, float dy);
int NativeScale(Graphics& g, float sx, float sy);
int NativeRotate(Graphics& g, float degrees);
uint32_t NativeSaveState(Graphics& g);
int NativeRestoreState(Graphics& g, uint32_t token);
int NativeClipToPath(Graphics& g, const Path& path);
int NativeFillPath(Graphics& g, const Brush& brush, const Path& path);
int NativeDrawPath(Graphics& g, const Pen& pen, const Path& path);
int NativeFillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h);
int NativeDrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h);
int NativeFillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h);
int NativeDrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2);
int NativeDrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
                  float sweepDegrees);
int NativeDrawLines(Graphics& g, const Pen& pen, const PointF* points, int count);
int NativeClear(Graphics& g, Color color);
bool NativeAccessPixels(Graphics& g, PixelBuffer& pixels);

// ---- the toolkit's own rasteriser ----

void FreeRasterGraphics(void* graphics);

int RasterTranslate(Graphics& g, float dx, float dy);
int RasterScale(Graphics& g, float sx, float sy);
int RasterRotate(Graphics& g, float degrees);
uint32_t RasterSaveState(Graphics& g);
int RasterRestoreState(Graphics& g, uint32_t token);
int RasterClipToPath(Graphics& g, const Path& path);
int RasterFillPath(Graphics& g, const Brush& brush, const Path& path);
int RasterDrawPath(Graphics& g, const Pen& pen, const Path& path);
int RasterFillEllipse(Graphics& g, const Brush& brush, float x, float y, float w, float h);
int RasterDrawEllipse(Graphics& g, const Pen& pen, float x, float y, float w, float h);
int RasterFillRectangle(Graphics& g, const Brush& brush, float x, float y, float w, float h);
int RasterDrawLine(Graphics& g, const Pen& pen, float x1, float y1, float x2, float y2);
int RasterDrawArc(Graphics& g, const Pen& pen, float x, float y, float w, float h, float startDegrees,
                  float sweepDegrees);
int RasterDrawLines(Graphics& g, const Pen& pen, const PointF* points, int count);
int RasterClear(Graphics& g, Color color);
bool RasterAccessPixels(Graphics& g, PixelBuffer& pixels);

}  // namespace draw
