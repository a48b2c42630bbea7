#include "resources/artwork/ArtPaint.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace qd3::art {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Channel(uint32_t hex, int shift) {
  return ((hex >> shift) & 0xFFu) / 255.0;
}

// The Debian font files the program also embeds (resources/fonts/Fonts.cmake); the
// build passes their paths so that the pictures and the screens share one look.
struct FontSlot {
  const char* path;
  FT_Face ftFace = nullptr;
  cairo_font_face_t* face = nullptr;
};

FT_Library gLibrary = nullptr;
std::array<FontSlot, 3> gFonts = {FontSlot{QD3_ART_FONT_CONDENSED_BOLD},
                                  FontSlot{QD3_ART_FONT_REGULAR},
                                  FontSlot{QD3_ART_FONT_SEVEN_SEGMENT}};

cairo_font_face_t* FaceOf(Face face) {
  FontSlot& slot = gFonts[static_cast<size_t>(face)];
  if (slot.face) return slot.face;
  if (!gLibrary && FT_Init_FreeType(&gLibrary) != 0) return nullptr;
  if (FT_New_Face(gLibrary, slot.path, 0, &slot.ftFace) != 0) return nullptr;
  slot.face = cairo_ft_font_face_create_for_ft_face(slot.ftFace, 0);
  // Cairo may keep the face in its caches after we drop it: the FreeType face
  // goes when Cairo lets go of it.
  static const cairo_user_data_key_t kFtFaceKey{};
  cairo_font_face_set_user_data(slot.face, &kFtFaceKey, slot.ftFace,
                                [](void* ft) { FT_Done_Face(static_cast<FT_Face>(ft)); });
  return slot.face;
}

// Outlines without hinting: the same glyph shapes at 1x and 2x, and the same bytes
// on every machine whatever its font configuration.
void SelectFont(cairo_t* cr, Face face, double size) {
  cairo_font_face_t* f = FaceOf(face);
  if (f) cairo_set_font_face(cr, f);
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

// The UTF-8 text split into characters (a lead byte with its continuation bytes),
// so that spaced-out text never hands Cairo half a character.
std::vector<std::string> Characters(const std::string& s) {
  std::vector<std::string> out;
  for (unsigned char ch : s) {
    const bool continuation = (ch & 0xC0u) == 0x80u;
    if (continuation && !out.empty()) {
      out.back().push_back(static_cast<char>(ch));
    } else {
      out.emplace_back(1, static_cast<char>(ch));
    }
  }
  return out;
}

double Advance(cairo_t* cr, std::string_view text, double letterSpacing) {
  double width = 0.0;
  const std::string s(text);
  if (letterSpacing == 0.0) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    return e.x_advance;
  }
  for (const std::string& one : Characters(s)) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, one.c_str(), &e);
    width += e.x_advance + letterSpacing;
  }
  return s.empty() ? 0.0 : width - letterSpacing;
}

}  // namespace

void SetColor(cairo_t* cr, Rgb c) {
  cairo_set_source_rgba(cr, Channel(c.hex, 16), Channel(c.hex, 8), Channel(c.hex, 0), c.alpha);
}

void AddColorStop(cairo_pattern_t* p, double offset, Rgb c) {
  cairo_pattern_add_color_stop_rgba(p, offset, Channel(c.hex, 16), Channel(c.hex, 8),
                                    Channel(c.hex, 0), c.alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::max(0.0, std::min(r, std::min(w, h) / 2.0));
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  AddColorStop(p, 0, top);
  AddColorStop(p, 1, bottom);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void SoftShadow(cairo_t* cr, double x, double y, double w, double h, double r, double spread,
                double strength) {
  constexpr int kSteps = 12;
  for (int i = kSteps; i >= 1; --i) {
    const double grow = spread * i / kSteps;
    RoundedRect(cr, x - grow, y - grow * 0.5, w + 2 * grow, h + 2.2 * grow, r + grow);
    SetColor(cr, {0x000000, strength / kSteps});
    cairo_fill(cr);
  }
}

void RaisedPlate(cairo_t* cr, double x, double y, double w, double h, double r, Rgb top,
                 Rgb bottom) {
  SoftShadow(cr, x, y + 4, w, h, r, 14, 0.9);
  RoundedRect(cr, x, y, w, h, r);
  FillVertical(cr, y, y + h, top, bottom);
  // Light catches the upper edge, the lower edge falls into shade.
  cairo_set_line_width(cr, 2.0);
  RoundedRect(cr, x + 1, y + 1, w - 2, h - 2, r - 1);
  cairo_pattern_t* edge = cairo_pattern_create_linear(0, y, 0, y + h);
  AddColorStop(edge, 0, {0xFFFFFF, 0.28});
  AddColorStop(edge, 0.15, {0xFFFFFF, 0.05});
  AddColorStop(edge, 0.85, {0x000000, 0.1});
  AddColorStop(edge, 1, {0x000000, 0.5});
  cairo_set_source(cr, edge);
  cairo_stroke(cr);
  cairo_pattern_destroy(edge);
}

void RecessedWell(cairo_t* cr, double x, double y, double w, double h, double r, Rgb body) {
  RoundedRect(cr, x - 2, y - 2, w + 4, h + 4, r + 2);
  FillVertical(cr, y - 2, y + h + 2, {0x000000, 0.55}, {0xFFFFFF, 0.12});
  RoundedRect(cr, x, y, w, h, r);
  SetColor(cr, body);
  cairo_fill(cr);
  cairo_save(cr);
  RoundedRect(cr, x, y, w, h, r);
  cairo_clip(cr);
  cairo_rectangle(cr, x, y, w, std::min(h, 14.0));
  FillVertical(cr, y, y + std::min(h, 14.0), {0x000000, 0.6}, {0x000000, 0.0});
  cairo_restore(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb c) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  AddColorStop(p, 0, c);
  AddColorStop(p, 1, {c.hex, 0.0});
  cairo_set_source(cr, p);
  cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Screw(cairo_t* cr, double cx, double cy, double radius, double slotAngle) {
  cairo_arc(cr, cx, cy + 0.8, radius + 1.2, 0, 2 * kPi);
  SetColor(cr, {0x000000, 0.6});
  cairo_fill(cr);
  cairo_pattern_t* p =
      cairo_pattern_create_radial(cx - radius * 0.4, cy - radius * 0.4, 0, cx, cy, radius);
  AddColorStop(p, 0, {0xD8D8D8});
  AddColorStop(p, 1, {0x5A5A5A});
  cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, slotAngle);
  cairo_rectangle(cr, -radius * 0.8, -radius * 0.14, radius * 1.6, radius * 0.28);
  SetColor(cr, {0x202020});
  cairo_fill(cr);
  cairo_restore(cr);
}

double TextWidth(cairo_t* cr, Face face, double size, std::string_view text, double letterSpacing) {
  cairo_save(cr);
  SelectFont(cr, face, size);
  const double w = Advance(cr, text, letterSpacing);
  cairo_restore(cr);
  return w;
}

void Text(cairo_t* cr, Face face, double size, std::string_view text, double x, double cy,
          Align align, Rgb color, double letterSpacing) {
  cairo_save(cr);
  SelectFont(cr, face, size);
  const double width = Advance(cr, text, letterSpacing);
  // Centre the capital height (about 0.7 em) on cy: labels are mostly capitals.
  const double baseline = cy + size * 0.36;
  double left = x;
  if (align == Align::kCentre) left = x - width / 2.0;
  if (align == Align::kRight) left = x - width;
  SetColor(cr, color);
  const std::string s(text);
  if (letterSpacing == 0.0) {
    cairo_move_to(cr, left, baseline);
    cairo_show_text(cr, s.c_str());
  } else {
    double pen = left;
    for (const std::string& one : Characters(s)) {
      cairo_text_extents_t e;
      cairo_text_extents(cr, one.c_str(), &e);
      cairo_move_to(cr, pen, baseline);
      cairo_show_text(cr, one.c_str());
      pen += e.x_advance + letterSpacing;
    }
  }
  cairo_restore(cr);
}

void ReleaseFonts() {
  for (FontSlot& slot : gFonts) {
    if (slot.face) cairo_font_face_destroy(slot.face);
    slot.face = nullptr;
    slot.ftFace = nullptr;
  }
  cairo_debug_reset_static_data();
  if (gLibrary) FT_Done_FreeType(gLibrary);
  gLibrary = nullptr;
}

}  // namespace qd3::art
