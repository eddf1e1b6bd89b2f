// The application icon: an orange fish facing right on a round blue badge,
// with two bubbles rising in front of its head.
#include "draw/icons.h"

namespace draw {

void DrawAppIconFigure(Graphics& g, int N) {
  Clear(g, 0x00000000);
  const float n = float(N);
  const float cx = 0.5f * n, cy = 0.52f * n, R = 0.32f * n;

  // Badge: light blue at the top, dark blue at the bottom, 2 pixels in from the edge.
  Path badge = MakePath();
  AddEllipseI(badge, 2, 2, N - 4, N - 4);
  FillPath(g, GradientBrush({0, 0}, 0xFF1E90FF, {0, n}, 0xFF0050A0), badge);

  // Body.
  FillPath(g, GradientBrush({cx - R, cy - 0.5f * R}, 0xFFFF8C00, {cx + R, cy + 0.5f * R}, 0xFFFF3C00),
           EllipsePath(cx - 0.9f * R, cy - 0.55f * R, 1.6f * R, 1.1f * R));

  // Tail.
  FillPolygon(g, SolidBrush(0xFFFFC800),
              {{cx - 0.8f * R, cy}, {cx - 1.6f * R, cy - 0.65f * R}, {cx - 1.6f * R, cy + 0.65f * R}});

  // Dorsal fin.
  FillPolygon(g, SolidBrush(0xFFFFB400),
              {{cx - 0.2f * R, cy - 0.5f * R}, {cx + 0.1f * R, cy - R}, {cx + 0.3f * R, cy - 0.45f * R}});

  // Eye and its highlight.
  FillEllipse(g, SolidBrush(0xFF000000), cx + 0.45f * R, cy - 0.2f * R, 0.18f * R, 0.18f * R);
  FillEllipse(g, SolidBrush(0xFFFFFFFF), cx + 0.5f * R, cy - 0.17f * R, 0.07f * R, 0.07f * R);

  // Bubbles, large then small.
  FillEllipse(g, SolidBrush(0xB4FFFFFF), cx + 0.7f * R, cy - 1.1f * R, 0.22f * R, 0.22f * R);
  FillEllipse(g, SolidBrush(0x8CFFFFFF), cx + R, cy - 1.45f * R, 0.14f * R, 0.14f * R);

  // Two body stripes.
  const Pen stripe = MakePen(0x78FFFFFF, 0.03f * n);
  DrawLine(g, stripe, cx - 0.2f * R, cy - 0.45f * R, cx - 0.2f * R, cy + 0.45f * R);
  DrawLine(g, stripe, cx + 0.1f * R, cy - 0.4f * R, cx + 0.1f * R, cy + 0.4f * R);
}

}  // namespace draw
