// tidemere-render --species-sheet FILE.png: one picture for reviewing every
// figure. Each variant row of the species table is drawn facing right at four
// phases, facing left, far away (depth 0.4) both ways and tilted both ways;
// below come the twenty species icons on their tiles and the application
// icon at its sizes.
#include <QByteArray>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "draw/creature.h"
#include "draw/icons.h"
#include "draw/qt/qt_graphics.h"
#include "output_file.h"
#include "sim/creature_tables.h"

QImage RenderAppIcon(int n);  // icon_png.cpp

namespace {

struct Pose {
  const char* label;
  bool facesLeft;
  float depth;
  float phase;  // both swim and pulse phase
  float tilt;
};

const Pose kPoses[] = {
    {"right, phase 0", false, 1.0f, 0.0f, 0},       {"right, phase 1.57", false, 1.0f, 1.5708f, 0},
    {"right, phase 3.14", false, 1.0f, 3.1416f, 0}, {"right, phase 4.71", false, 1.0f, 4.7124f, 0},
    {"left, phase 1.57", true, 1.0f, 1.5708f, 0},   {"right, depth 0.4", false, 0.4f, 1.5708f, 0},
    {"left, depth 0.4", true, 0.4f, 1.5708f, 0},    {"right, tilt +0.5", false, 1.0f, 1.5708f, 0.5f},
    {"left, tilt +0.5", true, 1.0f, 1.5708f, 0.5f},
};
constexpr int kPoseCount = int(sizeof(kPoses) / sizeof(kPoses[0]));

constexpr int kLabelWidth = 190;
constexpr int kCellWidth = 170;
constexpr int kCellHeight = 180;
constexpr int kHeaderHeight = 28;
constexpr float kMaxSize = 34;  // keeps the largest species inside a cell
constexpr int kTileWidth = 82;
constexpr int kTileHeight = 54;
constexpr int kTileGap = 18;
const QColor kWater(0x4F, 0x86, 0xA8);
const QColor kInk(0x10, 0x1C, 0x28);

// Text needs a QGuiApplication; the tool may run without one.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tidemere-render";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

Creature PoseCreature(const SpeciesVariant& row, const Pose& pose) {
  Creature c;
  c.species = row.species;
  c.pattern = row.pattern;
  c.color1 = row.color1;
  c.color2 = row.color2;
  c.color3 = row.color3;
  c.depth = pose.depth;
  c.size = std::min(row.sizeMax * (0.6f + 0.6f * pose.depth), kMaxSize);
  c.vx = pose.facesLeft ? -40.0f : 40.0f;
  c.lastVx = c.vx;
  c.swimPhase = pose.phase;
  c.pulsePhase = pose.phase;
  c.tilt = pose.tilt;
  // Fish tails trail behind, so fish sit a little ahead of the centre; the
  // eel and the crabs are about as long behind as ahead. Jellyfish tentacles
  // hang far below the bell.
  const bool centred = row.species == kJellyfish || row.species >= kEel;
  c.x = kCellWidth * (centred ? 0.5f : pose.facesLeft ? 0.44f : 0.56f);
  c.y = kCellHeight * (row.species == kJellyfish ? 0.26f : 0.5f);
  return c;
}

QImage RenderCell(const SpeciesVariant& row, const Pose& pose) {
  QImage cell(kCellWidth, kCellHeight, QImage::Format_ARGB32_Premultiplied);
  cell.fill(kWater);
  {
    draw::Graphics g = draw::MakeQtGraphics(cell);
    draw::DrawCreature(g, PoseCreature(row, pose));
  }
  return cell;
}

QImage RenderTile(int species) {
  QImage tile(kTileWidth, kTileHeight, QImage::Format_ARGB32_Premultiplied);
  tile.fill(QColor(0xF0, 0xF0, 0xF0));  // the dialog's button face behind the rounded corners
  {
    draw::Graphics g = draw::MakeQtGraphics(tile);
    draw::DrawSpeciesTile(g, species, kTileWidth, kTileHeight);
  }
  return tile;
}

void DrawCheckerboard(QPainter& p, const QRect& r) {
  const int step = 8;
  for (int y = r.top(); y <= r.bottom(); y += step)
    for (int x = r.left(); x <= r.right(); x += step) {
      const bool dark = ((x - r.left()) / step + (y - r.top()) / step) % 2 != 0;
      p.fillRect(QRect(x, y, std::min(step, r.right() - x + 1), std::min(step, r.bottom() - y + 1)),
                 dark ? QColor(0x60, 0x60, 0x60) : QColor(0x88, 0x88, 0x88));
    }
}

QString Hex(uint32_t rgb) {
  return QString::number(rgb, 16).toUpper().rightJustified(6, '0');
}

QString RowLabel(int index, const SpeciesVariant& row) {
  return QString("%1  %2\nrow %3, pattern %4\n%5 %6 %7\nsize %8-%9")
      .arg(row.species)
      .arg(QString::fromWCharArray(kSpeciesNames[row.species]))
      .arg(index)
      .arg(row.pattern)
      .arg(Hex(row.color1), Hex(row.color2), Hex(row.color3))
      .arg(double(row.sizeMin))
      .arg(double(row.sizeMax));
}

QImage RenderSheet() {
  const int creaturesHeight = kHeaderHeight + kSpeciesVariantCount * kCellHeight;
  const int tilesTop = creaturesHeight + 20;
  const int tilesHeight = 24 + 2 * (kTileHeight + 20 + kTileGap);
  const int iconsTop = tilesTop + tilesHeight;
  const int width = kLabelWidth + kPoseCount * kCellWidth;
  const int height = iconsTop + 24 + 256 + 40;

  QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  QFont font("DejaVu Sans");
  font.setPixelSize(11);
  p.setFont(font);
  p.setPen(kInk);

  // Creatures: one row per variant, one column per pose.
  p.drawText(QRect(8, 0, kLabelWidth - 8, kHeaderHeight), Qt::AlignVCenter | Qt::AlignLeft,
             "phase = swim and pulse phase");
  for (int col = 0; col < kPoseCount; ++col)
    p.drawText(QRect(kLabelWidth + col * kCellWidth, 0, kCellWidth, kHeaderHeight), Qt::AlignCenter,
               kPoses[col].label);
  for (int r = 0; r < kSpeciesVariantCount; ++r) {
    const SpeciesVariant& row = kSpeciesVariants[r];
    const int top = kHeaderHeight + r * kCellHeight;
    p.drawText(QRect(8, top, kLabelWidth - 12, kCellHeight), Qt::AlignVCenter | Qt::AlignLeft,
               RowLabel(r, row));
    for (int col = 0; col < kPoseCount; ++col)
      p.drawImage(kLabelWidth + col * kCellWidth, top, RenderCell(row, kPoses[col]));
    p.setPen(QColor(0xFF, 0xFF, 0xFF, 90));
    p.drawLine(kLabelWidth, top, width, top);
    p.setPen(kInk);
  }
  p.setPen(QColor(0xFF, 0xFF, 0xFF, 90));
  for (int col = 1; col < kPoseCount; ++col)
    p.drawLine(kLabelWidth + col * kCellWidth, kHeaderHeight, kLabelWidth + col * kCellWidth,
               creaturesHeight);
  p.setPen(kInk);

  // Species icons, as the settings window shows them.
  p.drawText(QRect(8, tilesTop, width, 20), Qt::AlignLeft | Qt::AlignVCenter,
             "Species icons (82 x 54 tiles)");
  for (int s = 0; s < kSpeciesCount; ++s) {
    const int x = kLabelWidth + (s % 10) * (kTileWidth + 2 * kTileGap);
    const int y = tilesTop + 24 + (s / 10) * (kTileHeight + 20 + kTileGap);
    p.drawImage(x, y, RenderTile(s));
    p.drawText(QRect(x - kTileGap, y + kTileHeight + 2, kTileWidth + 2 * kTileGap, 16), Qt::AlignCenter,
               QString("%1 %2").arg(s).arg(QString::fromWCharArray(kSpeciesNames[s])));
  }

  // Application icon at its sizes, over a dark checkerboard that shows its transparency
  // and the white bubbles.
  p.drawText(QRect(8, iconsTop, width, 20), Qt::AlignLeft | Qt::AlignVCenter, "Application icon");
  int x = kLabelWidth;
  for (int n : {16, 32, 96, 256}) {
    const QRect box(x, iconsTop + 24, n, n);
    DrawCheckerboard(p, box);
    p.drawImage(box.topLeft(), RenderAppIcon(n));
    p.drawText(QRect(x, box.bottom() + 4, std::max(n, 40), 16), Qt::AlignLeft, QString("%1 px").arg(n));
    x += n + 40;
  }
  return sheet;
}

}  // namespace

QImage RenderSpeciesSheet() {
  // The labels need the application for their font for as long as the process runs.
  static const std::unique_ptr<QGuiApplication> app = EnsureGuiApplication();
  return RenderSheet();
}

int RunSpeciesSheetMode(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: tidemere-render --species-sheet FILE.png\n");
    return 2;
  }
  const QImage sheet = RenderSpeciesSheet();
  std::string error;
  if (!WritePng(sheet, argv[0], error)) {
    std::fprintf(stderr, "tidemere-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
