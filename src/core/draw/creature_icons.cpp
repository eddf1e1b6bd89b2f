// The species icons of the settings window: flat, still figures in fixed
// colours on a rounded tile. Figure coordinates are in units of s around the
// centre of the drawing rectangle; fish-like figures face right.
#include <algorithm>
#include <initializer_list>

#include "draw/icons.h"

namespace draw {

namespace {

const Color kBlack = 0xFF000000;

// The figure's frame: centre and unit, and the shapes the icon table is made of.
struct IconFrame {
  Graphics& g;
  float cx, cy, s;

  PointF At(float x, float y) const { return {cx + x * s, cy + y * s}; }
  // Filled ellipse, rectangle and polygon (a triangle is a three-point polygon).
  void E(float x, float y, float w, float h, Color color) const {
    FillEllipse(g, SolidBrush(color), cx + x * s, cy + y * s, w * s, h * s);
  }
  void R(float x, float y, float w, float h, Color color) const {
    FillRectangle(g, SolidBrush(color), cx + x * s, cy + y * s, w * s, h * s);
  }
  void P(std::initializer_list<PointF> points, Color color) const {
    PointF mapped[8];
    int n = 0;
    for (PointF p : points)
      if (n < 8) mapped[n++] = At(p.x, p.y);
    FillPolygon(g, SolidBrush(color), mapped, n);
  }
  // Pens take their width in units of s.
  Pen FlatPen(Color color, float width) const { return MakePen(color, width * s); }
  Pen RoundCapPen(Color color, float width) const { return RoundPen(color, width * s); }
  void Line(const Pen& pen, float x1, float y1, float x2, float y2) const {
    DrawLine(g, pen, At(x1, y1), At(x2, y2));
  }
  void Polyline(const Pen& pen, std::initializer_list<PointF> points) const {
    PointF mapped[8];
    int n = 0;
    for (PointF p : points)
      if (n < 8) mapped[n++] = At(p.x, p.y);
    DrawLines(g, pen, mapped, n);
  }
  void Outline(const Pen& pen, float x, float y, float w, float h) const {
    DrawEllipse(g, pen, cx + x * s, cy + y * s, w * s, h * s);
  }
  void Arc(const Pen& pen, float x, float y, float w, float h, float start, float sweep) const {
    DrawArc(g, pen, cx + x * s, cy + y * s, w * s, h * s, start, sweep);
  }
};

}  // namespace

void DrawSpeciesIcon(Graphics& g, int species, int left, int top, int a, int b) {
  if (a <= 0 || b <= 0) return;  // a negative unit would turn the figure inside out
  const IconFrame f = {g, left + 0.5f * a, top + 0.5f * b, 0.4f * std::min(a, b)};
  switch (species) {
    case 0:  // Tropical Fish
      f.E(-1, -0.5f, 1.6f, 1, 0xFFFF6B35);
      f.P({{-1, 0}, {-1.8f, -0.5f}, {-1.8f, 0.5f}}, 0xFFFFD23F);
      f.E(0.3f, -0.15f, 0.15f, 0.15f, kBlack);
      break;
    case 1:  // Angelfish
      f.E(-0.6f, -0.8f, 1.2f, 1.6f, 0xFFC0C0C0);
      f.P({{0, -0.6f}, {-0.3f, -1.5f}, {0.3f, -1.5f}}, 0xFFFFD700);
      f.P({{0, 0.6f}, {-0.3f, 1.4f}, {0.3f, 1.4f}}, 0xFFFFD700);
      f.E(0.2f, -0.3f, 0.12f, 0.12f, kBlack);
      break;
    case 2:  // Clownfish
      f.E(-1, -0.5f, 1.6f, 1, 0xFFFF6B00);
      f.R(-0.3f, -0.5f, 0.2f, 1, 0xFFFFFFFF);
      f.R(0.2f, -0.5f, 0.15f, 1, 0xFFFFFFFF);
      f.P({{-1, 0}, {-1.7f, -0.45f}, {-1.7f, 0.45f}}, 0xFFFF6B00);
      f.E(0.3f, -0.12f, 0.12f, 0.12f, kBlack);
      break;
    case 3:  // Goldfish
      f.E(-0.7f, -0.6f, 1.3f, 1.2f, 0xFFFF4500);
      f.P({{-0.6f, -0.3f}, {-1.5f, -0.8f}, {-1.1f, 0}}, 0xFFFF8C00);
      f.P({{-0.6f, 0.3f}, {-1.5f, 0.8f}, {-1.1f, 0}}, 0xFFFF8C00);
      f.E(0.2f, -0.2f, 0.12f, 0.12f, kBlack);
      break;
    case 4:  // Guppy: the tail fan lies over the body
      f.E(-0.3f, -0.3f, 0.8f, 0.6f, 0xFF808080);
      f.E(-1.2f, -0.7f, 1.1f, 1.4f, 0xB400CED1);
      f.E(0.15f, -0.15f, 0.1f, 0.1f, kBlack);
      break;
    case 5:  // Shark
      f.P({{1, 0}, {0.3f, -0.4f}, {-0.5f, -0.35f}, {-1, 0}, {-0.5f, 0.35f}, {0.3f, 0.4f}}, 0xFF4682B4);
      f.P({{-0.1f, -0.3f}, {0.05f, -0.9f}, {0.2f, -0.3f}}, 0xFF4682B4);
      f.E(0.5f, -0.1f, 0.1f, 0.1f, kBlack);
      break;
    case 6:  // Ray
      f.P({{0.5f, 0}, {0, -0.7f}, {-0.5f, 0}, {0, 0.7f}}, 0xFF8B7355);
      f.Line(f.FlatPen(0xFF8B7355, 0.12f), -0.5f, 0, -1.5f, -0.2f);
      f.E(0.15f, -0.15f, 0.08f, 0.08f, kBlack);
      f.E(0.15f, 0.05f, 0.08f, 0.08f, kBlack);
      break;
    case 7:  // Betta
      f.E(-0.2f, -0.35f, 0.7f, 0.7f, 0xFFDC143C);
      f.E(-1.1f, -0.8f, 1.2f, 1.6f, 0xA0FF1493);
      f.P({{-0.1f, -0.3f}, {0.1f, -1}, {0.25f, -0.25f}}, 0xC8FF1493);
      f.E(0.15f, -0.15f, 0.1f, 0.1f, kBlack);
      break;
    case 8:  // Butterflyfish
      f.E(-0.6f, -0.6f, 1.2f, 1.2f, 0xFFFFD700);
      f.R(0.1f, -0.6f, 0.15f, 1.2f, kBlack);
      f.P({{-0.5f, 0}, {-1.1f, -0.35f}, {-1.1f, 0.35f}}, 0xFFFFD700);
      f.E(0.25f, -0.1f, 0.1f, 0.1f, kBlack);
      break;
    case 9:  // Blue Tang
      f.E(-0.8f, -0.5f, 1.5f, 1, 0xFF1E90FF);
      f.P({{-0.7f, 0}, {-1.4f, -0.45f}, {-1.4f, 0.45f}}, 0xFFFFD700);
      f.P({{-0.2f, -0.4f}, {0.15f, -0.25f}, {0.2f, 0}, {0.15f, 0.25f}, {-0.2f, 0.4f}, {-0.35f, 0}}, kBlack);
      f.E(0.35f, -0.1f, 0.1f, 0.1f, kBlack);
      break;
    case 10:  // Lionfish
      f.E(-0.7f, -0.4f, 1.3f, 0.8f, 0xFF8B0000);
      for (int k = 0; k < 4; ++k) f.R(-0.5f + 0.3f * k, -0.4f, 0.1f, 0.8f, 0xFFFFF8DC);
      for (int k = 0; k < 5; ++k)
        f.P({{-0.4f + 0.25f * k, -0.35f}, {-0.35f + 0.25f * k, -1.1f}, {-0.3f + 0.25f * k, -0.35f}},
            0xC8FFF8DC);
      f.E(0.25f, -0.1f, 0.1f, 0.1f, kBlack);
      break;
    case 11:  // Jellyfish
      f.E(-0.7f, -0.6f, 1.4f, 0.9f, 0xB4FF69B4);
      for (int k = 0; k < 5; ++k)
        f.Line(f.FlatPen(0x96FFB6C1, 0.06f), -0.5f + 0.25f * k, 0.2f, -0.4f + 0.25f * k, 0.9f);
      break;
    case 12: {  // Seahorse: body line and tail curl with one pen
      const Pen body = f.RoundCapPen(0xFFFFD700, 0.18f);
      f.Line(body, 0, -0.7f, 0.1f, 0.3f);
      f.Arc(body, -0.5f, 0.1f, 0.6f, 0.6f, 0, 180);
      f.E(-0.15f, -0.85f, 0.35f, 0.25f, 0xFFFFD700);
      f.P({{-0.05f, -0.8f}, {0, -1.1f}, {0.1f, -0.8f}}, 0xFFFFD700);
      break;
    }
    case 13:  // Pufferfish: three spots above, two below
      f.E(-0.6f, -0.55f, 1.2f, 1.1f, 0xFFFFD700);
      for (int k = 0; k < 5; ++k)
        f.E(-0.3f + 0.3f * (k % 3), -0.2f + 0.35f * (k / 3), 0.1f, 0.1f, 0xB48B4513);
      f.P({{-0.5f, 0}, {-1, -0.3f}, {-0.8f, 0}}, 0xFFFFD700);
      f.E(0.2f, -0.15f, 0.1f, 0.1f, kBlack);
      break;
    case 14: {  // Sea Turtle
      f.P({{-0.25f, -0.35f}, {-0.7f, -0.75f}, {-0.05f, -0.15f}}, 0xFF3CB371);
      f.P({{0.25f, -0.35f}, {0.7f, -0.75f}, {0.05f, -0.15f}}, 0xFF3CB371);
      f.P({{-0.25f, 0.35f}, {-0.7f, 0.75f}, {-0.05f, 0.15f}}, 0xFF3CB371);
      f.P({{0.25f, 0.35f}, {0.7f, 0.75f}, {0.05f, 0.15f}}, 0xFF3CB371);
      f.P({{-0.55f, 0}, {-0.95f, -0.12f}, {-0.95f, 0.12f}}, 0xFF3CB371);
      f.E(0.45f, -0.2f, 0.45f, 0.4f, 0xFF3CB371);
      f.E(0.7f, -0.12f, 0.08f, 0.08f, kBlack);
      f.E(-0.55f, -0.4f, 1.1f, 0.8f, 0xFF2E8B57);
      const Pen scute = f.FlatPen(0xFF556B2F, 0.05f);
      f.Outline(scute, -0.4f, -0.28f, 0.8f, 0.56f);
      f.Line(scute, -0.25f, 0, 0.25f, 0);
      f.Line(scute, 0, -0.25f, 0, 0.25f);
      break;
    }
    case 15:  // Octopus
      f.E(-0.5f, -0.6f, 1, 0.9f, 0xFFFF4500);
      for (int k = 0; k < 4; ++k)
        f.Line(f.RoundCapPen(0xFFFF4500, 0.12f), -0.3f + 0.2f * k, 0.2f, -0.15f + 0.2f * k, 0.8f);
      f.E(-0.2f, -0.3f, 0.15f, 0.15f, 0xFFFFFFFF);
      f.E(0.05f, -0.3f, 0.15f, 0.15f, 0xFFFFFFFF);
      f.E(-0.15f, -0.25f, 0.07f, 0.07f, kBlack);
      f.E(0.1f, -0.25f, 0.07f, 0.07f, kBlack);
      break;
    case 16:  // Eel
      f.Polyline(f.RoundCapPen(0xFF2F4F4F, 0.25f),
                 {{1, 0}, {0.3f, -0.3f}, {-0.3f, 0.2f}, {-0.8f, -0.15f}, {-1, 0}});
      f.E(0.7f, -0.15f, 0.25f, 0.3f, 0xFF2F4F4F);
      f.E(0.8f, -0.08f, 0.08f, 0.08f, kBlack);
      break;
    case 17:  // Crab
      f.E(-0.5f, -0.35f, 1, 0.7f, 0xFFDC143C);
      f.P({{-0.4f, -0.1f}, {-0.9f, -0.5f}, {-0.6f, 0}}, 0xFFDC143C);
      f.P({{0.4f, -0.1f}, {0.9f, -0.5f}, {0.6f, 0}}, 0xFFDC143C);
      f.E(-0.85f, -0.55f, 0.2f, 0.15f, 0xFFDC143C);
      f.E(0.65f, -0.55f, 0.2f, 0.15f, 0xFFDC143C);
      for (int k = 0; k < 3; ++k)
        f.Line(f.FlatPen(0xFFB22222, 0.05f), -0.3f + 0.3f * k, 0.3f, -0.4f + 0.3f * k, 0.7f);
      f.E(-0.15f, -0.25f, 0.08f, 0.08f, kBlack);
      f.E(0.05f, -0.25f, 0.08f, 0.08f, kBlack);
      break;
    case 18:  // Cleaner Shrimp
      f.Polyline(f.RoundCapPen(0xC8FFB6C1, 0.15f), {{0.5f, 0}, {0.1f, -0.3f}, {-0.3f, 0.1f}, {-0.6f, 0}});
      f.Line(f.FlatPen(0xB4FFB6C1, 0.04f), 0.4f, -0.1f, 1.1f, -0.5f);
      f.Line(f.FlatPen(0xB4FFB6C1, 0.04f), 0.4f, 0.1f, 1.1f, 0.5f);
      f.E(0.35f, -0.15f, 0.2f, 0.3f, 0xC8FFFFFF);
      f.E(0.4f, -0.08f, 0.06f, 0.06f, kBlack);
      break;
    case 19:  // Hermit Crab
      f.E(-0.7f, -0.5f, 1, 1, 0xFFDEB887);
      f.Outline(f.FlatPen(0xFF8B7355, 0.05f), -0.55f, -0.35f, 0.7f, 0.7f);
      f.E(0.2f, -0.25f, 0.5f, 0.5f, 0xFFFFA07A);
      f.P({{0.5f, -0.1f}, {0.9f, -0.4f}, {0.65f, 0}}, 0xFFFFA07A);
      f.E(0.35f, -0.15f, 0.08f, 0.08f, kBlack);
      break;
    default:  // not a species: an empty tile
      break;
  }
}

void DrawSpeciesTile(Graphics& g, int species, int w, int h) {
  // Rounded rectangle over the whole area: four quarter arcs in c x c corner boxes.
  const int c = std::min(w, h) / 4;
  Path tile = MakePath();
  AddArcI(tile, 0, 0, c, c, 180, 90);
  AddArcI(tile, w - c, 0, c, c, 270, 90);
  AddArcI(tile, w - c, h - c, c, c, 0, 90);
  AddArcI(tile, 0, h - c, c, c, 90, 90);
  CloseFigure(tile);

  // Pale blue at the top fading to white, with a light blue outline.
  FillPath(g, GradientBrushI(0, 0, 0xFFDCEBFA, 0, h, 0xFFFFFFFF), tile);
  DrawPath(g, MakePen(0xFF96BEDC, 1.2f), tile);

  DrawSpeciesIcon(g, species, 4, 4, w - 8, h - 8);
}

}  // namespace draw
