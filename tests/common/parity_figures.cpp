#include "common/parity_figures.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "draw/creature.h"
#include "draw/icons.h"
#include "sim/creature_tables.h"

using namespace draw;

namespace {

constexpr Color kWater = 0xFF1F4E79;

// ---- toolkit figures: each operation family, in colours that tell apart ----

void DrawTransformsFigure(Graphics& g) {
  Clear(g, kWater);
  const PointF arrow[7] = {{-20, -6}, {10, -6}, {10, -14}, {28, 0}, {10, 14}, {10, 6}, {-20, 6}};
  uint32_t t = SaveState(g);
  Translate(g, 70, 34);
  Rotate(g, 30);
  Scale(g, -1, 1);
  FillPolygon(g, SolidBrush(0xFFFF9020), arrow, 7);
  FillEllipse(g, SolidBrush(0xFFFFF040), -30, -14, 8, 8);  // marks the tail's upper side
  RestoreState(g, t);
  Translate(g, 36, 70);
  Scale(g, 1.5f, 0.75f);
  Rotate(g, -20);
  FillRectangle(g, SolidBrush(0xFF40E070), -12, -8, 24, 16);
  DrawLine(g, MakePen(0xFFFF3050, 3), -12, 12, 14, -14);
}

void DrawGradientsFigure(Graphics& g) {
  Clear(g, kWater);
  // Diagonal ramp, tiled several times across the ellipse.
  FillEllipse(g, GradientBrush({20, 20}, 0xFFFF8000, {40, 35}, 0xFF00C0FF), 4, 4, 120, 50);
  // Same colour, fading alpha: both interpolations agree here.
  FillRectangle(g, GradientBrush({0, 60}, 0xE0FFFFFF, {0, 92}, 0x10FFFFFF), 8, 60, 50, 32);
  // A ramp in rotated, mirrored world coordinates.
  Translate(g, 96, 76);
  Rotate(g, 45);
  Scale(g, -1, 1);
  FillRectangle(g, GradientBrush({-12, 0}, 0xFFE02020, {12, 0}, 0xFF2020E0), -14, -14, 28, 28);
}

void DrawPathsFigure(Graphics& g) {
  Clear(g, kWater);
  Path ring = MakePath();
  AddEllipse(ring, 6, 6, 50, 50);
  AddEllipse(ring, 18, 14, 22, 30);
  const PointF square[4] = {{36, 30}, {60, 30}, {60, 54}, {36, 54}};
  AddPolygon(ring, square, 4);  // overlapping the ring: the overlap is a hole
  FillPath(g, SolidBrush(0xFFF0C040), ring);

  Path leaf = MakePath();
  AddBezier(leaf, {70, 40}, {80, 5}, {115, 10}, {122, 30});
  AddBezier(leaf, {122, 30}, {110, 50}, {90, 55}, {70, 40});
  CloseFigure(leaf);
  FillPath(g, SolidBrush(0xFF50D080), leaf);
  DrawPath(g, MakePen(0xFF103020, 1.5f), leaf);

  const PointF zigzag[5] = {{10, 84}, {30, 66}, {50, 86}, {70, 64}, {90, 84}};
  Path lines = LinesPath(zigzag, 5);
  DrawPath(g, RoundPen(0xC0FFFFFF, 5), lines);
  const PointF steps[4] = {{96, 90}, {96, 70}, {116, 70}, {116, 58}};
  DrawLines(g, MakePen(0xFFFF4060, 2), steps, 4);
}

void DrawArcsFigure(Graphics& g) {
  Clear(g, kWater);
  DrawArc(g, MakePen(0xFFFFE060, 3), 8, 6, 112, 50, 200, 120);
  DrawArc(g, MakePen(0xFF60FFE0, 3), 8, 6, 112, 50, -30, 60);
  DrawArc(g, RoundPen(0xFFFF60A0, 4), 20, 56, 60, 30, 90, -135);

  Path pie = MakePath();
  AddArcI(pie, 80, 50, 44, 40, 180, 200);
  const PointF spoke[2] = {{102, 70}, {88, 86}};
  AddLines(pie, spoke, 2);
  CloseFigure(pie);
  FillPath(g, SolidBrush(0x80FFFFFF), pie);
  DrawPath(g, MakePen(0xFFFFFFFF, 1.5f), pie);
}

void DrawClipFigure(Graphics& g) {
  Clear(g, kWater);
  uint32_t t0 = SaveState(g);
  Translate(g, 64, 48);
  Rotate(g, 15);
  ClipToPath(g, EllipsePath(-50, -36, 100, 72));
  for (int i = 0; i < 10; ++i) {
    FillRectangle(g, SolidBrush(i % 2 ? 0xFFFFB030 : 0xFF30B0FF), -60.0f + 12.0f * i, -60, 6, 120);
  }
  uint32_t t1 = SaveState(g);
  ClipToPath(g, PolygonPath({{-30, 30}, {0, -40}, {30, 30}}));
  FillRectangle(g, SolidBrush(0xA0FFFFFF), -60, -60, 120, 120);
  RestoreState(g, t1);
  DrawEllipse(g, MakePen(0xFFFF4040, 2), -50, -36, 100, 72);
  RestoreState(g, t0);
  FillRectangle(g, SolidBrush(0xFFFFFFFF), 2, 2, 10, 10);
}

void DrawStrokesFigure(Graphics& g) {
  Clear(g, kWater);
  DrawEllipse(g, MakePen(0xFFFFFFFF, 4), 10, 10, 50, 50);
  DrawLine(g, RoundPen(0x90FF8040, 8), 14, 70, 110, 20);
  Pen oneRound = MakePen(0xFF80FF40, 6);
  SetRoundEndCap(oneRound);
  DrawLine(g, oneRound, 70, 80, 120, 80);
  DrawLine(g, MakePen(0xFFFFFF60, 8), 16, 88, 50, 88);  // flat ends
  Translate(g, 90, 50);
  Scale(g, 3, 1);
  DrawLine(g, MakePen(0xFFE040E0, 2), 0, -10, 0, 20);  // 6 pixels wide on screen
}

// ---- creatures: every species, two poses ----

struct Pose {
  const char* name;
  bool facesLeft;
  float depth;
  float tilt;
  float swimPhase;
  float pulsePhase;
  bool lastVariant;
};

constexpr Pose kPoses[2] = {
    {"right_near", false, 1.0f, 0.0f, 0.8f, 0.5f, false},
    {"left_far_tilted", true, 0.4f, 0.4f, 2.6f, 2.0f, true},
};

constexpr int kCreatureWidth = 256;
constexpr int kCreatureHeight = 192;

Creature PoseCreature(int species, const Pose& pose) {
  const SpeciesVariant* chosen = nullptr;
  for (const SpeciesVariant& v : kSpeciesVariants) {
    if (v.species != species) continue;
    if (!chosen || pose.lastVariant) chosen = &v;
  }
  Creature c;
  c.species = uint8_t(species);
  c.x = kCreatureWidth / 2.0f;
  c.y = kCreatureHeight / 2.0f - 8;
  c.vx = pose.facesLeft ? -40.0f : 40.0f;
  c.depth = pose.depth;
  c.tilt = pose.tilt;
  c.swimPhase = pose.swimPhase;
  c.pulsePhase = pose.pulsePhase;
  c.pacePhase = pose.pulsePhase;
  if (chosen) {
    c.size = chosen->sizeMax;
    c.color1 = chosen->color1;
    c.color2 = chosen->color2;
    c.color3 = chosen->color3;
    c.pattern = chosen->pattern;
  }
  return c;
}

std::vector<ParityFigure> MakeFigures() {
  std::vector<ParityFigure> figures = {
      {"toolkit_transforms", 128, 96, DrawTransformsFigure},
      {"toolkit_gradients", 128, 96, DrawGradientsFigure},
      {"toolkit_paths", 128, 96, DrawPathsFigure},
      {"toolkit_arcs", 128, 96, DrawArcsFigure},
      {"toolkit_clip", 128, 96, DrawClipFigure},
      {"toolkit_strokes", 128, 96, DrawStrokesFigure},
  };
  char name[64];
  for (int species = 0; species < kSpeciesCount; ++species) {
    for (const Pose& pose : kPoses) {
      std::snprintf(name, sizeof name, "creature_%02d_%s", species, pose.name);
      const Creature c = PoseCreature(species, pose);
      figures.push_back({name, kCreatureWidth, kCreatureHeight, [c](Graphics& g) {
                           Clear(g, kWater);
                           DrawCreature(g, c);
                         }});
    }
  }
  for (int n : {48, 32}) {
    std::snprintf(name, sizeof name, "app_icon_%d", n);
    figures.push_back({name, n, n, [n](Graphics& g) { DrawAppIconFigure(g, n); }});
  }
  for (int species = 0; species < kSpeciesCount; ++species) {
    std::snprintf(name, sizeof name, "species_tile_%02d", species);
    figures.push_back({name, 56, 56, [species](Graphics& g) {
                         Clear(g, 0xFFF0F0F0);
                         DrawSpeciesTile(g, species, 56, 56);
                       }});
  }
  return figures;
}

void PutInt32(unsigned char* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = (unsigned char)(v >> (8 * i));
}

uint32_t GetInt32(const unsigned char* in) {
  return uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

const std::vector<ParityFigure>& ParityFigures() {
  static const std::vector<ParityFigure> figures = MakeFigures();
  return figures;
}

RenderBuffer RenderParityFigure(const ParityFigure& figure, const RenderFn& render) {
  return render(figure.width, figure.height, figure.drawing);
}

bool WriteRender(const std::string& path, const RenderBuffer& image) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  std::vector<unsigned char> bytes(12 + image.pixels.size() * 4);
  std::memcpy(bytes.data(), "TMRB", 4);
  PutInt32(&bytes[4], uint32_t(image.width));
  PutInt32(&bytes[8], uint32_t(image.height));
  for (size_t i = 0; i < image.pixels.size(); ++i) PutInt32(&bytes[12 + 4 * i], image.pixels[i]);
  return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

bool ReadRender(const std::string& path, RenderBuffer& image) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  unsigned char header[12];
  if (std::fread(header, 1, 12, file.get()) != 12 || std::memcmp(header, "TMRB", 4) != 0) return false;
  const uint32_t width = GetInt32(&header[4]);
  const uint32_t height = GetInt32(&header[8]);
  if (width == 0 || height == 0 || width > 8192 || height > 8192) return false;
  std::vector<unsigned char> bytes(size_t(width) * height * 4);
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
  image.width = int(width);
  image.height = int(height);
  image.pixels.resize(size_t(width) * height);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = GetInt32(&bytes[4 * i]);
  return true;
}
