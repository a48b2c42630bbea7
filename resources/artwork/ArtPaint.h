#pragma once

// Small drawing helpers shared by the artwork pictures. Every function draws in
// design units on a Cairo context that the caller has already scaled (1 for the
// normal picture, 2 for the "@2x" twin), so one drawing serves both files.
#include <cairo.h>

#include <cstdint>
#include <string_view>

namespace qd3::art {

// An opaque or translucent colour as 0xRRGGBB plus alpha 0..1.
struct Rgb {
  uint32_t hex = 0;
  double alpha = 1.0;
};

void SetColor(cairo_t* cr, Rgb c);
void AddColorStop(cairo_pattern_t* p, double offset, Rgb c);

// Path of a rectangle with rounded corners (radius clamped to half the shorter side).
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

// Fills the current path with a vertical gradient from `top` to `bottom`, spanning y0..y1.
void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom);

// A soft shadow under a rounded rectangle: stacked translucent outlines growing outward.
void SoftShadow(cairo_t* cr, double x, double y, double w, double h, double r, double spread,
                double strength);

// A raised plate: shadow, gradient body, light top edge and dark bottom edge.
void RaisedPlate(cairo_t* cr, double x, double y, double w, double h, double r, Rgb top,
                 Rgb bottom);

// A recessed well: dark body with an inner shadow along the top and a light lower lip.
void RecessedWell(cairo_t* cr, double x, double y, double w, double h, double r, Rgb body);

// A radial glow centred at (cx, cy) fading from `c` to transparent at `radius`.
void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb c);

// A slotted screw head of the given radius.
void Screw(cairo_t* cr, double cx, double cy, double radius, double slotAngle);

enum class Face { kCondensedBold, kRegular, kSevenSegment };
enum class Align { kLeft, kCentre, kRight };

// One line of text with its baseline placed so that the glyphs' box is centred on
// cy; x is the left edge, centre or right edge according to `align`.
void Text(cairo_t* cr, Face face, double size, std::string_view text, double x, double cy,
          Align align, Rgb color, double letterSpacing = 0.0);

// Width of `text` as Text() would draw it.
double TextWidth(cairo_t* cr, Face face, double size, std::string_view text,
                 double letterSpacing = 0.0);

// Frees the font faces the text functions loaded (end of the program).
void ReleaseFonts();

}  // namespace qd3::art
