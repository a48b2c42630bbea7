// Pictures of the impulse-response page and the overlay screens: the IR page frame
// and panel, the firmware screen, the settings screen, the MIDI controller picture
// of the program-map page and the about screen.
#include <string>

#include "resources/artwork/ArtDrawings.h"
#include "resources/artwork/ArtPaint.h"

namespace qd3::art {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kAccent{0x33FFFF};
constexpr Rgb kLabel{0xC8C8C8};
constexpr Rgb kDimLabel{0x8A8A8E};

// Cabinet list rows of the IR panel: 9 rows 50 units apart from y 8, text at x 66..296.
constexpr int kCabinetRows = 9;
constexpr double kRowPitch = 50;
constexpr double kRowTop = 8;
constexpr double kRowHeight = 43;

void Circle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
}

// A speaker cabinet with a microphone in front: the illustration of the IR panel.
void Cabinet(cairo_t* cr, double x, double y, double size) {
  RaisedPlate(cr, x, y, size, size, 10, {0x2C2C30}, {0x141416});
  RoundedRect(cr, x + 14, y + 14, size - 28, size - 28, 6);
  SetColor(cr, {0x0C0C0E});
  cairo_fill(cr);
  cairo_save(cr);
  RoundedRect(cr, x + 14, y + 14, size - 28, size - 28, 6);
  cairo_clip(cr);
  cairo_set_line_width(cr, 0.8);
  for (double d = -size; d < size; d += 6) {
    cairo_move_to(cr, x + d, y);
    cairo_line_to(cr, x + d + size, y + size);
  }
  SetColor(cr, {0xFFFFFF, 0.05});
  cairo_stroke(cr);
  const double cx = x + size / 2;
  const double cy = y + size / 2;
  for (int i = 5; i >= 1; --i) {
    Circle(cr, cx, cy, size * 0.075 * i);
    SetColor(cr, {i % 2 ? 0x1C1C20u : 0x26262A, 0.9});
    cairo_fill(cr);
  }
  Circle(cr, cx, cy, size * 0.09);
  SetColor(cr, {0x3A3A40});
  cairo_fill(cr);
  Glow(cr, cx, cy, size * 0.45, {0x33FFFF, 0.06});
  cairo_restore(cr);
}

void TitleBand(cairo_t* cr, double x, double y, double w, const char* title) {
  Text(cr, Face::kCondensedBold, 40, title, x, y, Align::kLeft, {0xCCCCCC}, 2);
  cairo_rectangle(cr, x, y + 28, w, 2);
  cairo_pattern_t* p = cairo_pattern_create_linear(x, 0, x + w, 0);
  AddColorStop(p, 0, {kAccent.hex, 0.8});
  AddColorStop(p, 1, {kAccent.hex, 0.0});
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void OverlayPanel(cairo_t* cr, double x, double y, double w, double h) {
  RaisedPlate(cr, x, y, w, h, 16, {0x2A2A2F}, {0x18181B});
  RoundedRect(cr, x + 8, y + 8, w - 16, h - 16, 10);
  cairo_set_line_width(cr, 1);
  SetColor(cr, {0xFFFFFF, 0.05});
  cairo_stroke(cr);
}

}  // namespace

void DrawIrFrame(cairo_t* cr, const Picture& p, int /*frame*/) {
  const double w = p.width;
  const double h = p.height;
  RoundedRect(cr, 0, 0, w, h, 12);
  FillVertical(cr, 0, h, {0x26262A}, {0x1A1A1D});
  cairo_set_line_width(cr, 1.5);
  RoundedRect(cr, 0.75, 0.75, w - 1.5, h - 1.5, 11);
  SetColor(cr, {0x000000, 0.8});
  cairo_stroke(cr);
  RoundedRect(cr, 2.5, 2.5, w - 5, h - 5, 10);
  SetColor(cr, {0xFFFFFF, 0.07});
  cairo_stroke(cr);
  // Title band (the page title is drawn over it at y 664..734), and the slider's
  // channel on the left (380..430 x 717..1149 on the canvas).
  cairo_rectangle(cr, 14, 55, w - 28, 1);
  SetColor(cr, {0x000000, 0.6});
  cairo_fill(cr);
  RecessedWell(cr, 22, 68, 54, 440, 6, {0x0E0E10});
  Text(cr, Face::kCondensedBold, 13, "MIC", 49, 62, Align::kCentre, kDimLabel, 1.5);
  Text(cr, Face::kCondensedBold, 14, "CABINET & MIC POSITION", w - 24, 30, Align::kRight, kDimLabel,
       1.5);
}

void DrawIrPanel(cairo_t* cr, const Picture& p, int /*frame*/) {
  const double w = p.width;
  const double h = p.height;
  RecessedWell(cr, 2, 2, w - 4, h - 4, 8, {0x121214});
  for (int i = 0; i < kCabinetRows; ++i) {
    const double y = kRowTop + kRowPitch * i;
    RoundedRect(cr, 20, y, 280, kRowHeight, 5);
    SetColor(cr, i % 2 ? Rgb{0x1A1A1E} : Rgb{0x202024});
    cairo_fill(cr);
    RoundedRect(cr, 24, y + 8, 30, kRowHeight - 16, 4);
    SetColor(cr, i >= kCabinetRows - 2 ? Rgb{0x0E3436} : Rgb{0x2E2E34});
    cairo_fill(cr);
    const std::string number = std::to_string(i + 1);
    Text(cr, Face::kCondensedBold, 16, number, 39, y + kRowHeight / 2, Align::kCentre,
         i >= kCabinetRows - 2 ? kAccent : kLabel);
  }
  // The two user positions' controls (rows 7 and 8) share a tray on the right.
  RoundedRect(cr, 304, 354, w - 312, 100, 6);
  SetColor(cr, {0x1C1C20});
  cairo_fill(cr);
  struct Head {
    double cx;
    const char* text;
  };
  constexpr Head kHeads[] = {{341, "ON"}, {401, "GAIN"}, {501, "dB"}, {590, "FILE"}};
  for (const Head& head : kHeads) {
    Text(cr, Face::kCondensedBold, 13, head.text, head.cx, 342, Align::kCentre, kDimLabel, 1.5);
  }
  Text(cr, Face::kCondensedBold, 14, "USER IMPULSE RESPONSES", 320, 318, Align::kLeft, {0x6A6A6E},
       1.5);
  Cabinet(cr, 360, 24, 230);
  Text(cr, Face::kCondensedBold, 14, "CABINET", 475, 278, Align::kCentre, kDimLabel, 2);
}

void DrawFirmwareScreen(cairo_t* cr, const Picture& p, int /*frame*/) {
  DrawCanvas(cr, p.width, p.height);
  OverlayPanel(cr, 700, 270, 900, 660);
  TitleBand(cr, 748, 318, 700, "FIRMWARE UPDATE");
  const char* kSteps[] = {
      "1.  Download the newest firmware file (.ldr) from the address above.",
      "2.  Connect the pedal and keep it powered for the whole update.",
      "3.  Press UPDATE FIRMWARE and pick the file.",
      "4.  Wait until the progress ring is full; do not unplug the pedal.",
  };
  double y = 430;
  for (const char* step : kSteps) {
    Text(cr, Face::kRegular, 22, step, 760, y, Align::kLeft, kLabel);
    y += 44;
  }
  // Ring well behind the progress knob (1010..1185 x 710..885).
  Circle(cr, 1097.5, 797.5, 96);
  SetColor(cr, {0x0C0C0E});
  cairo_fill(cr);
  Glow(cr, 1097.5, 797.5, 130, {0x33FFFF, 0.06});
}

void DrawSettingsScreen(cairo_t* cr, const Picture& p, int /*frame*/) {
  DrawCanvas(cr, p.width, p.height);
  OverlayPanel(cr, 720, 190, 800, 700);
  // The picture also lies behind the map pages, which send on "BACK": the settings
  // page's own footer is a text of that page.
  TitleBand(cr, 760, 222, 420, "PEDAL SETUP");
}

void DrawMidiController(cairo_t* cr, const Picture& p, int /*frame*/) {
  constexpr int kButtons = 6;
  const double w = p.width;
  const double h = p.height;
  RaisedPlate(cr, 4, 4, w - 8, h - 10, 12, {0x3A3A40}, {0x1A1A1E});
  // A small screen and a MIDI socket on the top edge.
  RecessedWell(cr, 20, 14, 96, 30, 4, {0x06202A});
  Text(cr, Face::kSevenSegment, 16, "PC 001", 108, 29, Align::kRight, kAccent);
  Text(cr, Face::kCondensedBold, 13, "MIDI FOOT CONTROLLER", w - 24, 22, Align::kRight, kLabel,
       1.5);
  Circle(cr, w - 40, 40, 9);
  SetColor(cr, {0x0A0A0A});
  cairo_fill(cr);
  Text(cr, Face::kCondensedBold, 10, "OUT", w - 62, 40, Align::kRight, kDimLabel, 1);
  const double pitch = (w - 40) / kButtons;
  for (int i = 0; i < kButtons; ++i) {
    const double cx = 20 + pitch * (i + 0.5);
    Circle(cr, cx, 56, 3.5);
    SetColor(cr, i == 0 ? Rgb{0x33FF66} : Rgb{0x1E2A1E});
    cairo_fill(cr);
    if (i == 0) Glow(cr, cx, 56, 9, {0x33FF66, 0.5});
    Circle(cr, cx, 84, 16);
    cairo_pattern_t* metal = cairo_pattern_create_radial(cx - 5, 78, 1, cx, 84, 16);
    AddColorStop(metal, 0, {0xF0F0F0});
    AddColorStop(metal, 1, {0x505050});
    cairo_set_source(cr, metal);
    cairo_fill(cr);
    cairo_pattern_destroy(metal);
    Text(cr, Face::kCondensedBold, 11, std::to_string(i + 1), cx + 24, 100, Align::kCentre,
         kDimLabel);
  }
}

void DrawAboutScreen(cairo_t* cr, const Picture& p, int /*frame*/) {
  DrawCanvas(cr, p.width, p.height);
  OverlayPanel(cr, 420, 220, 1080, 700);
  // A big knob as the emblem, left of the name.
  const Picture knob{"", 260, 260, 1, DrawKnob, nullptr};
  cairo_save(cr);
  cairo_translate(cr, 490, 300);
  DrawKnob(cr, knob, 0);
  cairo_restore(cr);
  // Name ends left of the version text the screen draws at 1275..1375 x 310..360.
  Text(cr, Face::kCondensedBold, 88, "QD3", 800, 335, Align::kLeft, {0xEEEEEE}, 3);
  Text(cr, Face::kCondensedBold, 88, "Control", 955, 335, Align::kLeft, kAccent, 3);
  Text(cr, Face::kRegular, 26, "Editor and librarian for the QD3 amp-simulation pedal", 806, 420,
       Align::kLeft, kLabel);
  const char* kLines[] = {
      "Live editing of every sound block, with response graphs",
      "128 presets mirrored on disk; preset and bank files",
      "Cabinet impulse responses from WAV files",
      "Global settings, MIDI maps and firmware updates",
  };
  double y = 500;
  for (const char* line : kLines) {
    Circle(cr, 816, y, 4);
    SetColor(cr, kAccent);
    cairo_fill(cr);
    Text(cr, Face::kRegular, 22, line, 834, y, Align::kLeft, kDimLabel);
    y += 40;
  }
  Text(cr, Face::kRegular, 18,
       "Free software under the GNU General Public License, version 3 or later (GPL-3.0+).", 960,
       750, Align::kCentre, {0x6A6A6E});
  Text(cr, Face::kRegular, 18,
       "Fonts: Roboto (Apache 2.0), DSEG (SIL OFL 1.1).  Drawing: Cairo, FreeType.", 960, 790,
       Align::kCentre, {0x6A6A6E});
  Text(cr, Face::kRegular, 20, "Click anywhere to close", 960, 860, Align::kCentre, kDimLabel, 1);
}

}  // namespace qd3::art
