// The drive and ambience voicing buttons: a dark key (upper frame) and the same key
// lit in the editor's cyan accent (lower frame), with the voicing's name.
#include <algorithm>

#include "resources/artwork/ArtDrawings.h"
#include "resources/artwork/ArtPaint.h"

namespace qd3::art {
namespace {

constexpr double kInset = 2.5;
constexpr double kCorner = 5.0;
constexpr double kLampX = 13.0;
constexpr double kLampRadius = 3.2;
constexpr double kLabelSize = 15.0;
constexpr double kLabelSpacing = 0.8;
constexpr Rgb kAccent{0x33FFFF};

}  // namespace

void DrawVoicingButton(cairo_t* cr, const Picture& p, int frame) {
  const bool lit = frame == 1;
  const double w = p.width - 2 * kInset;
  const double h = p.FrameHeight() - 2 * kInset;
  const double x = kInset;
  const double y = kInset;
  // Dark surround so neighbouring keys read as separate.
  cairo_rectangle(cr, 0, 0, p.width, p.FrameHeight());
  SetColor(cr, {0x101012});
  cairo_fill(cr);

  RoundedRect(cr, x, y, w, h, kCorner);
  if (lit) {
    FillVertical(cr, y, y + h, {0x2E5A5E}, {0x123236});
  } else {
    FillVertical(cr, y, y + h, {0x3A3A3E}, {0x1E1E22});
  }
  // Bevel: light top edge, dark bottom edge.
  cairo_set_line_width(cr, 1.0);
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, kCorner - 0.5);
  cairo_pattern_t* edge = cairo_pattern_create_linear(0, y, 0, y + h);
  AddColorStop(edge, 0, {0xFFFFFF, lit ? 0.45 : 0.22});
  AddColorStop(edge, 0.5, {0xFFFFFF, 0.04});
  AddColorStop(edge, 1, {0x000000, 0.6});
  cairo_set_source(cr, edge);
  cairo_stroke(cr);
  cairo_pattern_destroy(edge);
  if (lit) {
    // The lit key glows from inside and carries an accent rim.
    cairo_save(cr);
    RoundedRect(cr, x, y, w, h, kCorner);
    cairo_clip(cr);
    Glow(cr, x + w / 2, y + h / 2, w * 0.55, {0x33FFFF, 0.22});
    cairo_restore(cr);
    RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, kCorner - 0.5);
    SetColor(cr, {kAccent.hex, 0.8});
    cairo_stroke(cr);
  }
  // Indicator lamp.
  const double cy = y + h / 2;
  if (lit) Glow(cr, x + kLampX, cy, kLampRadius * 3, {0x33FFFF, 0.6});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + kLampX, cy, kLampRadius, 0, 6.283185307179586);
  SetColor(cr, lit ? Rgb{0xC8FFFF} : Rgb{0x0C0C0C});
  cairo_fill_preserve(cr);
  SetColor(cr, lit ? Rgb{0x33FFFF} : Rgb{0x555555});
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  // Label centred in the space right of the lamp; long names are set tighter.
  const double left = x + kLampX + kLampRadius + 4;
  const double room = x + w - 6 - left;
  double size = kLabelSize;
  while (size > 9 && TextWidth(cr, Face::kCondensedBold, size, p.label, kLabelSpacing) > room) {
    size -= 0.5;
  }
  const double cx = left + room / 2;
  if (lit) {
    Text(cr, Face::kCondensedBold, size, p.label, cx, cy, Align::kCentre, {0x33FFFF, 0.35},
         kLabelSpacing);
  }
  Text(cr, Face::kCondensedBold, size, p.label, cx, cy + (lit ? 0 : 0.5), Align::kCentre,
       lit ? Rgb{0xE8FFFF} : Rgb{0x8E8E92}, kLabelSpacing);
}

}  // namespace qd3::art
