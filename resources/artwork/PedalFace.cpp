// "background.png": the editor's dark canvas with the header, the status plate, the
// preset list column, the pedal enclosure behind the pedal-face controls, the detail
// page panel and the graph panel. The places where controls draw themselves (knobs,
// switches, display digits, list rows, graphs) are left plain.
#include <cmath>

#include "resources/artwork/ArtDrawings.h"
#include "resources/artwork/ArtPaint.h"

namespace qd3::art {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The pedal enclosure around the knobs (centres y 189..350), display, save button
// and foot switches (tops y 486, 75 x 85).
constexpr double kPedalLeft = 690;
constexpr double kPedalTop = 94;
constexpr double kPedalRight = 1580;
constexpr double kPedalBottom = 612;
constexpr double kDividerY = 462;

constexpr Rgb kLabel{0xC8C8C8};
constexpr Rgb kDimLabel{0x8A8A8E};
constexpr Rgb kAccent{0x33FFFF};

struct KnobMark {
  double cx, cy, radius;
  const char* label;
  bool firstRow;
};

// Centres and radii of the knob pictures (102 and 130 px) on the pedal face.
constexpr KnobMark kKnobs[] = {
    {770, 189, 51, "DRIVE", true},        {913, 190, 51, "LOW", true},
    {1055.5, 191, 51, "MID", true},       {1198.5, 191, 51, "HIGH", true},
    {1342, 191, 51, "REVERB", true},      {984.5, 347.5, 51, "GATE", false},
    {1127.5, 347.5, 51, "FILTER", false}, {769.5, 349.5, 65, "LEVEL", false},
};

void ScaleTicks(cairo_t* cr, const KnobMark& k) {
  constexpr int kTicks = 11;
  constexpr double kSweep = 270.0 * kPi / 180.0;
  const double start = -kPi / 2 - kSweep / 2;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < kTicks; ++i) {
    const double a = start + kSweep * i / (kTicks - 1);
    const bool major = i == 0 || i == kTicks - 1 || i == kTicks / 2;
    const double r0 = k.radius + 4;
    const double r1 = k.radius + (major ? 12 : 9);
    cairo_move_to(cr, k.cx + std::cos(a) * r0, k.cy + std::sin(a) * r0);
    cairo_line_to(cr, k.cx + std::cos(a) * r1, k.cy + std::sin(a) * r1);
    cairo_set_line_width(cr, major ? 2.4 : 1.6);
    SetColor(cr, {0xD0D0D0, major ? 0.8 : 0.5});
    cairo_stroke(cr);
  }
  // A dark well under the knob skirt gives it something to sit in.
  cairo_new_sub_path(cr);
  cairo_arc(cr, k.cx, k.cy, k.radius + 1, 0, 2 * kPi);
  SetColor(cr, {0x000000, 0.45});
  cairo_fill(cr);
  // Row 1 labels sit in the gap of the scale below the knob, clear of the LED.
  const double labelY = k.cy + k.radius + (k.firstRow ? 8 : 16);
  Text(cr, Face::kCondensedBold, 17, k.label, k.cx, labelY, Align::kCentre, kLabel, 1.5);
}

void Header(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, 1920, 84);
  FillVertical(cr, 0, 84, {0x26262A}, {0x18181B});
  cairo_rectangle(cr, 0, 84, 1920, 2);
  SetColor(cr, {0x000000, 0.7});
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 86, 1920, 1);
  SetColor(cr, {0xFFFFFF, 0.06});
  cairo_fill(cr);
  Text(cr, Face::kCondensedBold, 40, "QD3", 24, 42, Align::kLeft, {0xE6E6E6}, 2);
  Text(cr, Face::kCondensedBold, 40, "CONTROL", 104, 42, Align::kLeft, kAccent, 2);
  Text(cr, Face::kRegular, 15, "EDITOR  &  LIBRARIAN", 26, 70, Align::kLeft, kDimLabel, 1.5);
  // Silver plate behind the black status lines (660..1060) and "RECONNECT".
  RaisedPlate(cr, 532, 4, 536, 72, 8, {0xDCDCDC}, {0xA8A8AC});
  cairo_set_line_width(cr, 1.0);
  cairo_move_to(cr, 657.5, 12);
  cairo_line_to(cr, 657.5, 68);
  SetColor(cr, {0x000000, 0.25});
  cairo_stroke(cr);
}

void PresetColumn(cairo_t* cr) {
  RaisedPlate(cr, -10, 96, 318, 1096, 10, {0x29292D}, {0x1C1C20});
  Text(cr, Face::kCondensedBold, 15, "PRESET NAME", 20, 108, Align::kLeft, kDimLabel, 1.5);
  RecessedWell(cr, 14, 117, 252, 30, 4, {0x0C0C0E});
  // Well behind the 19 visible list rows and the scroll bar.
  RecessedWell(cr, 0, 225, 304, 957, 4, {0x101012});
  Text(cr, Face::kCondensedBold, 13, "PRESETS", 20, 221, Align::kLeft, kDimLabel, 1.5);
}

void Enclosure(cairo_t* cr) {
  const double w = kPedalRight - kPedalLeft;
  const double h = kPedalBottom - kPedalTop;
  SoftShadow(cr, kPedalLeft, kPedalTop + 10, w, h, 26, 34, 1.0);
  // Die-cast body: rounded, darker towards the bottom, with a bright top lip.
  RoundedRect(cr, kPedalLeft, kPedalTop, w, h, 26);
  FillVertical(cr, kPedalTop, kPedalBottom, {0x3C3C42}, {0x16161A});
  cairo_set_line_width(cr, 3);
  RoundedRect(cr, kPedalLeft + 1.5, kPedalTop + 1.5, w - 3, h - 3, 24.5);
  cairo_pattern_t* lip = cairo_pattern_create_linear(0, kPedalTop, 0, kPedalBottom);
  AddColorStop(lip, 0, {0xFFFFFF, 0.35});
  AddColorStop(lip, 0.1, {0xFFFFFF, 0.06});
  AddColorStop(lip, 0.9, {0x000000, 0.2});
  AddColorStop(lip, 1, {0x000000, 0.7});
  cairo_set_source(cr, lip);
  cairo_stroke(cr);
  cairo_pattern_destroy(lip);
  // Face plate set into the body, with a fine brushed grain.
  const double inset = 12;
  RoundedRect(cr, kPedalLeft + inset, kPedalTop + inset, w - 2 * inset, h - 2 * inset, 16);
  FillVertical(cr, kPedalTop, kPedalBottom, {0x2A2A2F}, {0x1E1E22});
  cairo_save(cr);
  RoundedRect(cr, kPedalLeft + inset, kPedalTop + inset, w - 2 * inset, h - 2 * inset, 16);
  cairo_clip(cr);
  cairo_set_line_width(cr, 0.5);
  for (double y = kPedalTop + inset; y < kPedalBottom; y += 2) {
    cairo_move_to(cr, kPedalLeft, y);
    cairo_line_to(cr, kPedalRight, y);
  }
  SetColor(cr, {0xFFFFFF, 0.018});
  cairo_stroke(cr);
  Glow(cr, (kPedalLeft + kPedalRight) / 2, kPedalTop, w * 0.6, {0xFFFFFF, 0.05});
  cairo_restore(cr);
  cairo_set_line_width(cr, 1);
  RoundedRect(cr, kPedalLeft + inset - 0.5, kPedalTop + inset - 0.5, w - 2 * inset + 1,
              h - 2 * inset + 1, 16.5);
  SetColor(cr, {0x000000, 0.8});
  cairo_stroke(cr);
  // Groove between the control section and the foot switches.
  cairo_rectangle(cr, kPedalLeft + inset, kDividerY, w - 2 * inset, 2);
  SetColor(cr, {0x000000, 0.7});
  cairo_fill(cr);
  cairo_rectangle(cr, kPedalLeft + inset, kDividerY + 2, w - 2 * inset, 1);
  SetColor(cr, {0xFFFFFF, 0.08});
  cairo_fill(cr);
  const double screwInset = 22;
  Screw(cr, kPedalLeft + screwInset, kPedalTop + screwInset, 6, 0.4);
  Screw(cr, kPedalRight - screwInset, kPedalTop + screwInset, 6, 1.2);
  Screw(cr, kPedalLeft + screwInset, kPedalBottom - screwInset, 6, 2.0);
  Screw(cr, kPedalRight - screwInset, kPedalBottom - screwInset, 6, 0.9);
}

void DisplayAndSwitchMarks(cairo_t* cr) {
  // Display window behind "188" (1255..1383 x 315..403): recessed, with a faint glow.
  RecessedWell(cr, 1243, 305, 152, 108, 8, {0x060608});
  Glow(cr, 1320, 359, 80, {0xFFFFFF, 0.05});
  cairo_rectangle(cr, 1247, 309, 144, 100);
  SetColor(cr, {0x33FFFF, 0.025});
  cairo_fill(cr);
  Text(cr, Face::kCondensedBold, 15, "PRESET", 1319, 427, Align::kCentre, kDimLabel, 1.5);
  // Save button (869, 314, 38 x 76) and auto-filter switch (1459, 322, 75 x 85).
  RecessedWell(cr, 865, 310, 46, 84, 8, {0x0A0A0A});
  Text(cr, Face::kCondensedBold, 15, "SAVE", 888, 408, Align::kCentre, kLabel, 1.5);
  Text(cr, Face::kCondensedBold, 15, "AUTO FILTER", 1496.5, 424, Align::kCentre, kLabel, 1.5);
  // Unlit LED in its bezel (the lit "led.png" covers it at 1172, 260).
  cairo_new_sub_path(cr);
  cairo_arc(cr, 1180, 268, 11, 0, 2 * kPi);
  SetColor(cr, {0x0A0A0A});
  cairo_fill(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 1180, 268, 5, 0, 2 * kPi);
  SetColor(cr, {0x3A0806});
  cairo_fill(cr);
  Text(cr, Face::kCondensedBold, 11, "AUTO", 1180, 290, Align::kCentre, kDimLabel, 1);
  // Foot switch labels (tops at y 486).
  struct Foot {
    double cx;
    const char* label;
  };
  constexpr Foot kFeet[] = {{770.5, "DOWN"}, {1137.5, "BROWSE"}, {1497.5, "UP"}};
  for (const Foot& f : kFeet) {
    Text(cr, Face::kCondensedBold, 16, f.label, f.cx, 586, Align::kCentre, kLabel, 2);
  }
  // Maker-neutral model plate between the foot switches.
  Text(cr, Face::kCondensedBold, 54, "QD3", 955, 520, Align::kCentre, {0xE0E0E0}, 6);
  Text(cr, Face::kRegular, 14, "AMP SIMULATOR  \xC2\xB7  IR CABINET", 955, 556, Align::kCentre,
       kDimLabel, 2);
  Text(cr, Face::kRegular, 14, "PROGRAMMABLE", 1317, 526, Align::kCentre, kDimLabel, 3);
  Text(cr, Face::kCondensedBold, 22, "128 PRESETS", 1317, 550, Align::kCentre, {0x6A6A6E}, 3);
  // Model badge in the free corner right of the top knob row.
  RaisedPlate(cr, 1430, 140, 116, 64, 8, {0x3A3A40}, {0x222226});
  Text(cr, Face::kCondensedBold, 34, "QD3", 1488, 166, Align::kCentre, {0xE8E8E8}, 3);
  Text(cr, Face::kRegular, 11, "AMP SIM", 1488, 192, Align::kCentre, kAccent, 3);
}

void Panels(cairo_t* cr) {
  // Detail page panel (354..1360 x 645..1165).
  RaisedPlate(cr, 342, 634, 824, 543, 12, {0x242428}, {0x18181B});
  cairo_rectangle(cr, 356, 738, 796, 1);
  SetColor(cr, {0x000000, 0.6});
  cairo_fill(cr);
  // Graph panel (1180..1880 x 650..1160); the graphs draw at 1200..1872 x 685..1135.
  RaisedPlate(cr, 1174, 634, 714, 543, 12, {0x242428}, {0x18181B});
  RecessedWell(cr, 1192, 682, 688, 460, 6, {0x0B0D0F});
  Text(cr, Face::kCondensedBold, 15, "RESPONSE", 1196, 667, Align::kLeft, kDimLabel, 1.5);
}

}  // namespace

void DrawCanvas(cairo_t* cr, double w, double h) {
  cairo_rectangle(cr, 0, 0, w, h);
  FillVertical(cr, 0, h, {0x1E1E21}, {0x101012});
  // A soft vignette keeps the eye in the middle.
  cairo_pattern_t* v = cairo_pattern_create_radial(w / 2, h * 0.45, h * 0.3, w / 2, h / 2, w * 0.7);
  AddColorStop(v, 0, {0x000000, 0.0});
  AddColorStop(v, 1, {0x000000, 0.45});
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_set_source(cr, v);
  cairo_fill(cr);
  cairo_pattern_destroy(v);
}

void DrawBackground(cairo_t* cr, const Picture& p, int /*frame*/) {
  DrawCanvas(cr, p.width, p.height);
  Header(cr);
  PresetColumn(cr);
  Panels(cr);
  Enclosure(cr);
  for (const KnobMark& k : kKnobs) ScaleTicks(cr, k);
  DisplayAndSwitchMarks(cr);
}

}  // namespace qd3::art
