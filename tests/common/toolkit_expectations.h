// What every drawing backend must show on small renders. Each backend's test
// file calls these with its own RenderFn, so Qt and GDI+ are held to the same
// pictures.
#pragma once

#include "common/render_buffer.h"

// translate, rotate, mirror scale: the last one issued applies first.
void ExpectPrependedTransforms(const RenderFn& render);
// Nested saves of transform and clip; restoring an earlier token drops later ones.
void ExpectNestedSaveRestore(const RenderFn& render);
// A two-point gradient tiles beyond its ends and serves several fills by
// position.
void ExpectTiledGradient(const RenderFn& render);
// Gradients interpolate the four unpremultiplied channels, as Windows' GDI+
// does (Wine's weights the colours by alpha instead).
void ExpectStraightGradientInterpolation(const RenderFn& render);
// Paths, and clips made from them, fill even-odd.
void ExpectEvenOddFill(const RenderFn& render);
// Line strips join the open figure; StartFigure and CloseFigure end it.
void ExpectPathFigures(const RenderFn& render);
// Flat caps by default, round ones per end on request, widths in world units.
void ExpectPenCapsAndWidth(const RenderFn& render);
// Arc angles are measured on the ellipse and sweep clockwise, for DrawArc and
// for arcs added to a path.
void ExpectArcAngles(const RenderFn& render);
// A call on an object whose creation failed fails, is recorded, draws nothing,
// and the next call still draws.
void ExpectFailedObjectsIgnored(const RenderFn& render);
