// The Qt drawing backend: a Graphics over Qt's raster QPainter on a QImage.
// No display is needed. Images are QImage::Format_ARGB32_Premultiplied, whose
// bytes (B, G, R, A per pixel, rows top-down) are laid out like the 32-bit
// top-down DIB that GDI+ draws into on Windows.
#pragma once

#include <QImage>
#include <string>

#include "draw/toolkit.h"

namespace draw {

// A width x height image cleared to transparent black.
QImage MakeQtImage(int width, int height);

// Anti-aliased graphics drawing into `image`, which must outlive it. A null
// image gives a graphics whose creation failed (null native, non-zero status).
Graphics MakeQtGraphics(QImage& image);

// The image as the bytes of a PNG file (straight alpha); false when it
// cannot be encoded.
bool EncodePng(const QImage& image, std::string& bytes);

}  // namespace draw
