// The desktop icon: a small pedal (three knobs, a display, a foot switch) on a dark
// rounded square. The SVG text and the Cairo drawing use the same 256-unit geometry.
#include <cairo.h>

#include <sstream>

#include "resources/artwork/ArtPaint.h"
#include "resources/artwork/ArtworkCatalog.h"

namespace qd3::art {
namespace {

constexpr double kDesign = 256;
constexpr double kPi = 3.14159265358979323846;
constexpr double kKnobY = 92;
constexpr double kKnobR = 22;
constexpr double kKnobX[] = {78, 128, 178};

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

void DrawIcon(cairo_t* cr) {
  RoundedRect(cr, 8, 8, 240, 240, 44);
  FillVertical(cr, 8, 248, {0x2A2A30}, {0x101014});
  RoundedRect(cr, 40, 36, 176, 188, 22);
  FillVertical(cr, 36, 224, {0x46464E}, {0x1C1C20});
  cairo_set_line_width(cr, 3);
  RoundedRect(cr, 41.5, 37.5, 173, 185, 20.5);
  SetColor(cr, {0xFFFFFF, 0.18});
  cairo_stroke(cr);
  for (double x : kKnobX) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, kKnobY, kKnobR, 0, 2 * kPi);
    SetColor(cr, {0x0E0E10});
    cairo_fill(cr);
    cairo_set_line_width(cr, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, x, kKnobY - 6);
    cairo_line_to(cr, x, kKnobY - kKnobR + 5);
    SetColor(cr, {0x33FFFF});
    cairo_stroke(cr);
  }
  RoundedRect(cr, 98, 128, 60, 30, 5);
  SetColor(cr, {0x050507});
  cairo_fill(cr);
  cairo_rectangle(cr, 108, 136, 40, 14);
  SetColor(cr, {0x33FFFF, 0.85});
  cairo_fill(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 128, 192, 18, 0, 2 * kPi);
  SetColor(cr, {0xC8C8CC});
  cairo_fill(cr);
}

}  // namespace

std::string AppIconSvg() {
  std::ostringstream s;
  s << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
       "viewBox=\"0 0 256 256\">\n"
       "  <defs>\n"
       "    <linearGradient id=\"tile\" x1=\"0\" y1=\"8\" x2=\"0\" y2=\"248\" "
       "gradientUnits=\"userSpaceOnUse\">\n"
       "      <stop offset=\"0\" stop-color=\"#2a2a30\"/><stop offset=\"1\" "
       "stop-color=\"#101014\"/>\n"
       "    </linearGradient>\n"
       "    <linearGradient id=\"pedal\" x1=\"0\" y1=\"36\" x2=\"0\" y2=\"224\" "
       "gradientUnits=\"userSpaceOnUse\">\n"
       "      <stop offset=\"0\" stop-color=\"#46464e\"/><stop offset=\"1\" "
       "stop-color=\"#1c1c20\"/>\n"
       "    </linearGradient>\n"
       "  </defs>\n"
       "  <rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"44\" fill=\"url(#tile)\"/>\n"
       "  <rect x=\"40\" y=\"36\" width=\"176\" height=\"188\" rx=\"22\" "
       "fill=\"url(#pedal)\"/>\n"
       "  <rect x=\"41.5\" y=\"37.5\" width=\"173\" height=\"185\" rx=\"20.5\" fill=\"none\" "
       "stroke=\"#ffffff\" stroke-opacity=\"0.18\" stroke-width=\"3\"/>\n";
  for (double x : kKnobX) {
    s << "  <circle cx=\"" << x << "\" cy=\"" << kKnobY << "\" r=\"" << kKnobR
      << "\" fill=\"#0e0e10\"/>\n"
      << "  <line x1=\"" << x << "\" y1=\"" << kKnobY - 6 << "\" x2=\"" << x << "\" y2=\""
      << kKnobY - kKnobR + 5
      << "\" stroke=\"#33ffff\" stroke-width=\"5\" stroke-linecap=\"round\"/>\n";
  }
  s << "  <rect x=\"98\" y=\"128\" width=\"60\" height=\"30\" rx=\"5\" fill=\"#050507\"/>\n"
       "  <rect x=\"108\" y=\"136\" width=\"40\" height=\"14\" fill=\"#33ffff\" "
       "fill-opacity=\"0.85\"/>\n"
       "  <circle cx=\"128\" cy=\"192\" r=\"18\" fill=\"#c8c8cc\"/>\n"
       "</svg>\n";
  return s.str();
}

std::vector<unsigned char> AppIconPng(int pixels) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels, pixels);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, pixels / kDesign, pixels / kDesign);
  DrawIcon(cr);
  cairo_destroy(cr);
  std::vector<unsigned char> bytes;
  cairo_surface_write_to_png_stream(surface, AppendBytes, &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

}  // namespace qd3::art
