// The pedal's knobs, foot switches, save button and LED, the IR position slider's
// handle and track, and the IR gain knob's SVG text.
#include <cmath>
#include <sstream>

#include "resources/artwork/ArtDrawings.h"
#include "resources/artwork/ArtPaint.h"

namespace qd3::art {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kKnurlRidges = 60;
constexpr int kMachinedRings = 7;

void Circle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
}

void FillRadial(cairo_t* cr, double cx, double cy, double r0, double r1, Rgb inner, Rgb outer) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, r0, cx, cy, r1);
  AddColorStop(p, 0, inner);
  AddColorStop(p, 1, outer);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace

// A round knob seen from above, pointer up. Everything but the pointer is
// symmetric about the centre, so the picture looks right at any rotation; the
// "light" is a centred sheen rather than a directional highlight.
void DrawKnob(cairo_t* cr, const Picture& p, int /*frame*/) {
  const double c = p.width / 2.0;
  const double r = c - 1.5;
  // Contact shadow on the pedal face, fading out before the corners.
  Circle(cr, c, c, r);
  FillRadial(cr, c, c, r * 0.82, r, {0x000000, 0.75}, {0x000000, 0.0});
  // Knurled skirt.
  const double skirt = r * 0.9;
  Circle(cr, c, c, skirt);
  FillRadial(cr, c, c, skirt * 0.7, skirt, {0x2A2A2A}, {0x101010});
  cairo_set_line_width(cr, r * 0.035);
  for (int i = 0; i < kKnurlRidges; ++i) {
    const double a = 2 * kPi * i / kKnurlRidges;
    cairo_move_to(cr, c + std::cos(a) * skirt * 0.8, c + std::sin(a) * skirt * 0.8);
    cairo_line_to(cr, c + std::cos(a) * skirt * 0.985, c + std::sin(a) * skirt * 0.985);
  }
  SetColor(cr, {0x4A4A4A, 0.8});
  cairo_stroke(cr);
  // Cap with machined rings and a centred sheen.
  const double cap = r * 0.7;
  Circle(cr, c, c, cap + r * 0.03);
  SetColor(cr, {0x050505});
  cairo_fill(cr);
  Circle(cr, c, c, cap);
  FillRadial(cr, c, c, 0, cap, {0x4C4C4E}, {0x1E1E20});
  cairo_set_line_width(cr, 0.6);
  for (int i = 1; i <= kMachinedRings; ++i) {
    Circle(cr, c, c, cap * i / (kMachinedRings + 1.0));
    SetColor(cr, {i % 2 ? 0xFFFFFF : 0x000000u, 0.05});
    cairo_stroke(cr);
  }
  cairo_set_line_width(cr, r * 0.02);
  Circle(cr, c, c, cap - r * 0.01);
  SetColor(cr, {0xFFFFFF, 0.22});
  cairo_stroke(cr);
  // Pointer: a cream line from near the centre to the skirt, with a faint halo.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, r * 0.16);
  cairo_move_to(cr, c, c - r * 0.3);
  cairo_line_to(cr, c, c - r * 0.84);
  SetColor(cr, {0xFFF4DC, 0.12});
  cairo_stroke(cr);
  cairo_set_line_width(cr, r * 0.075);
  cairo_move_to(cr, c, c - r * 0.3);
  cairo_line_to(cr, c, c - r * 0.84);
  SetColor(cr, {0xF4EEDC});
  cairo_stroke(cr);
}

// A chrome stomp switch in a hex nut; the pressed frame sits lower and flatter.
void DrawFootSwitch(cairo_t* cr, const Picture& p, int frame) {
  const bool pressed = frame == 1;
  const double cx = p.width / 2.0;
  const double cy = p.FrameHeight() / 2.0 + 4;
  const double nut = 33;
  // Shadow of the nut on the pedal face.
  Circle(cr, cx, cy + 3, nut + 3);
  FillRadial(cr, cx, cy + 3, nut * 0.8, nut + 3, {0x000000, 0.7}, {0x000000, 0.0});
  cairo_new_path(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = kPi / 6 + i * kPi / 3;
    cairo_line_to(cr, cx + std::cos(a) * nut, cy + std::sin(a) * nut * 0.92);
  }
  cairo_close_path(cr);
  cairo_pattern_t* metal = cairo_pattern_create_linear(cx - nut, cy - nut, cx + nut, cy + nut);
  AddColorStop(metal, 0, {0xE6E6E6});
  AddColorStop(metal, 0.45, {0x8C8C8C});
  AddColorStop(metal, 0.55, {0xB4B4B4});
  AddColorStop(metal, 1, {0x3C3C3C});
  cairo_set_source(cr, metal);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(metal);
  cairo_set_line_width(cr, 1.0);
  SetColor(cr, {0x1A1A1A});
  cairo_stroke(cr);
  // Plunger: a cylinder side, then its cap.
  const double lift = pressed ? 1.0 : 6.0;
  const double capR = 19;
  cairo_rectangle(cr, cx - capR, cy - lift, 2 * capR, lift);
  Circle(cr, cx, cy, capR);
  cairo_pattern_t* side = cairo_pattern_create_linear(cx - capR, 0, cx + capR, 0);
  AddColorStop(side, 0, {0x505050});
  AddColorStop(side, 0.3, {0xC8C8C8});
  AddColorStop(side, 1, {0x2E2E2E});
  cairo_set_source(cr, side);
  cairo_fill(cr);
  cairo_pattern_destroy(side);
  Circle(cr, cx, cy - lift, capR);
  cairo_pattern_t* top = cairo_pattern_create_radial(cx - 6, cy - lift - 7, 1, cx, cy - lift, capR);
  AddColorStop(top, 0, pressed ? Rgb{0xD0D0D0} : Rgb{0xFFFFFF});
  AddColorStop(top, 0.6, pressed ? Rgb{0x7A7A7A} : Rgb{0xA8A8A8});
  AddColorStop(top, 1, pressed ? Rgb{0x404040} : Rgb{0x5C5C5C});
  cairo_set_source(cr, top);
  cairo_fill(cr);
  cairo_pattern_destroy(top);
  Circle(cr, cx, cy - lift, capR - 6);
  cairo_set_line_width(cr, 1.0);
  SetColor(cr, {0x000000, 0.25});
  cairo_stroke(cr);
}

// A small rubber push button that glows red while pressed.
void DrawSaveButton(cairo_t* cr, const Picture& p, int frame) {
  const bool lit = frame == 1;
  const double w = p.width;
  const double h = p.FrameHeight();
  RecessedWell(cr, 4, 4, w - 8, h - 8, 6, {0x0A0A0A});
  const double inset = lit ? 8 : 7;
  RoundedRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, 5);
  if (lit) {
    FillVertical(cr, inset, h - inset, {0xFF6A5A}, {0xB01810});
    Glow(cr, w / 2, h / 2, h * 0.45, {0xFF3020, 0.35});
  } else {
    FillVertical(cr, inset, h - inset, {0x4A4A4A}, {0x242424});
  }
  cairo_set_line_width(cr, 1.0);
  RoundedRect(cr, inset + 0.5, inset + 0.5, w - 2 * inset - 1, h - 2 * inset - 1, 4.5);
  SetColor(cr, {0xFFFFFF, lit ? 0.35 : 0.15});
  cairo_stroke(cr);
  for (int i = 0; i < 3; ++i) {
    const double y = h / 2 - 8 + i * 8;
    cairo_move_to(cr, w / 2 - 7, y);
    cairo_line_to(cr, w / 2 + 7, y);
  }
  cairo_set_line_width(cr, 1.5);
  SetColor(cr, lit ? Rgb{0x600000, 0.5} : Rgb{0x000000, 0.5});
  cairo_stroke(cr);
}

// A lit red LED: halo, dome and a small specular spot.
void DrawLed(cairo_t* cr, const Picture& p, int /*frame*/) {
  const double c = p.width / 2.0;
  Glow(cr, c, c, c, {0xFF2010, 0.55});
  Circle(cr, c, c, c * 0.55);
  FillRadial(cr, c, c, 0, c * 0.55, {0xFFD0C0}, {0xE01808});
  Circle(cr, c - c * 0.18, c - c * 0.2, c * 0.16);
  SetColor(cr, {0xFFFFFF, 0.8});
  cairo_fill(cr);
}

// Handle of the IR position slider: a small side-on microphone on a grip plate.
void DrawMicHandle(cairo_t* cr, const Picture& p, int /*frame*/) {
  const double w = p.width;
  const double h = p.height;
  RoundedRect(cr, 1, 2, w - 2, h - 4, 6);
  FillVertical(cr, 2, h - 2, {0x5A5A5E}, {0x2A2A2E});
  cairo_set_line_width(cr, 1.0);
  RoundedRect(cr, 1.5, 2.5, w - 3, h - 5, 5.5);
  SetColor(cr, {0x33FFFF, 0.55});
  cairo_stroke(cr);
  // Microphone: round grille head on the left, body to the right.
  const double cy = h / 2;
  RoundedRect(cr, 19, cy - 4, 22, 8, 3);
  FillVertical(cr, cy - 4, cy + 4, {0xB0B0B0}, {0x505050});
  Circle(cr, 15, cy, 7);
  FillRadial(cr, 13, cy - 2, 1, 7, {0xE8E8E8}, {0x606060});
  cairo_set_line_width(cr, 0.7);
  for (int i = -1; i <= 1; ++i) {
    cairo_move_to(cr, 15 + i * 3, cy - 6);
    cairo_line_to(cr, 15 + i * 3, cy + 6);
  }
  SetColor(cr, {0x202020, 0.6});
  cairo_stroke(cr);
}

// Track of the IR position slider: a dark slot with a tick per cabinet position.
void DrawMicTrack(cairo_t* cr, const Picture& p, int /*frame*/) {
  constexpr int kPositions = 9;
  const double w = p.width;
  const double h = p.height;
  RecessedWell(cr, w / 2 - 5, 10, 10, h - 20, 5, {0x050505});
  const double first = 15;
  const double step = (h - 30) / (kPositions - 1);
  cairo_set_line_width(cr, 2.0);
  for (int i = 0; i < kPositions; ++i) {
    const double y = first + i * step;
    cairo_move_to(cr, 4, y);
    cairo_line_to(cr, w / 2 - 9, y);
    cairo_move_to(cr, w / 2 + 9, y);
    cairo_line_to(cr, w - 4, y);
  }
  SetColor(cr, {0x33FFFF, 0.45});
  cairo_stroke(cr);
}

std::string VectorKnobSvg() {
  std::ostringstream svg;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"30px\" height=\"30px\" "
         "viewBox=\"0 0 30 30\">\n"
         "  <defs>\n"
         "    <radialGradient id=\"body\" cx=\"15\" cy=\"15\" r=\"14\" "
         "gradientUnits=\"userSpaceOnUse\">\n"
         "      <stop offset=\"0\" stop-color=\"#505054\"/>\n"
         "      <stop offset=\"1\" stop-color=\"#18181a\"/>\n"
         "    </radialGradient>\n"
         "  </defs>\n"
         "  <circle cx=\"15\" cy=\"15\" r=\"14.5\" fill=\"#000000\" fill-opacity=\"0.6\"/>\n"
         "  <circle cx=\"15\" cy=\"15\" r=\"13\" fill=\"url(#body)\"/>\n"
         "  <circle cx=\"15\" cy=\"15\" r=\"12.4\" fill=\"none\" stroke=\"#ffffff\" "
         "stroke-opacity=\"0.2\" stroke-width=\"0.8\"/>\n"
         "  <circle cx=\"15\" cy=\"15\" r=\"13.6\" fill=\"none\" stroke=\"#33ffff\" "
         "stroke-opacity=\"0.5\" stroke-width=\"0.8\"/>\n"
         "  <rect x=\"13.8\" y=\"3\" width=\"2.4\" height=\"9\" rx=\"1.2\" fill=\"#33ffff\"/>\n"
         "</svg>\n";
  return svg.str();
}

}  // namespace qd3::art
