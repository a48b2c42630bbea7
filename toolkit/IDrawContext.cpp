#include "toolkit/IDrawContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "toolkit/FontStore.h"

namespace qd3 {
namespace {

double ToCairoAngle(float deg) {
  return (deg - 90.0) * std::numbers::pi / 180.0;
}

void RoundRectPath(cairo_t* cr, const IRECT& r, float radius) {
  const double rad = std::clamp<double>(radius, 0.0, std::min(r.W(), r.H()) / 2.0);
  if (rad <= 0.0) {
    cairo_rectangle(cr, r.L, r.T, r.W(), r.H());
    return;
  }
  const double pi = std::numbers::pi;
  cairo_new_sub_path(cr);
  cairo_arc(cr, r.R - rad, r.T + rad, rad, -pi / 2, 0);
  cairo_arc(cr, r.R - rad, r.B - rad, rad, 0, pi / 2);
  cairo_arc(cr, r.L + rad, r.B - rad, rad, pi / 2, pi);
  cairo_arc(cr, r.L + rad, r.T + rad, rad, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

}  // namespace

IDrawContext::IDrawContext(cairo_t* context, float drawScale, const FontStore& fontStore)
    : mCr(context), mScale(drawScale), mFonts(fontStore) {}

void IDrawContext::SetColor(const IColor& c) const {
  cairo_set_source_rgba(mCr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0);
}

void IDrawContext::FillRect(const IColor& color, const IRECT& r) {
  if (color.A == 0) return;
  SetColor(color);
  cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
  cairo_fill(mCr);
}

void IDrawContext::DrawRect(const IColor& color, const IRECT& r, float thickness) {
  if (color.A == 0) return;
  SetColor(color);
  cairo_set_line_width(mCr, thickness);
  cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
  cairo_stroke(mCr);
}

void IDrawContext::FillRoundRect(const IColor& color, const IRECT& r, float radius) {
  if (color.A == 0) return;
  SetColor(color);
  RoundRectPath(mCr, r, radius);
  cairo_fill(mCr);
}

void IDrawContext::DrawRoundRect(const IColor& color, const IRECT& r, float radius,
                                 float thickness) {
  if (color.A == 0) return;
  SetColor(color);
  cairo_set_line_width(mCr, thickness);
  RoundRectPath(mCr, r, radius);
  cairo_stroke(mCr);
}

void IDrawContext::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                            float thickness) {
  SetColor(color);
  cairo_set_line_width(mCr, thickness);
  cairo_move_to(mCr, x1, y1);
  cairo_line_to(mCr, x2, y2);
  cairo_stroke(mCr);
}

void IDrawContext::DrawLineSegments(const IColor& color, std::span<const LineSegment> segments,
                                    float thickness) {
  if (segments.empty()) return;
  cairo_save(mCr);
  SetColor(color);
  cairo_set_line_width(mCr, thickness);
  cairo_set_line_join(mCr, CAIRO_LINE_JOIN_ROUND);
  // Segments that continue where the previous one ended share one sub-path.
  bool open = false;
  float lastX = 0.f;
  float lastY = 0.f;
  for (const auto& s : segments) {
    if (!open || s.x1 != lastX || s.y1 != lastY) cairo_move_to(mCr, s.x1, s.y1);
    cairo_line_to(mCr, s.x2, s.y2);
    open = true;
    lastX = s.x2;
    lastY = s.y2;
  }
  cairo_stroke(mCr);
  cairo_restore(mCr);
}

void IDrawContext::DrawDottedLine(const IColor& color, float x1, float y1, float x2, float y2,
                                  float thickness, float dash) {
  const double dashes[] = {dash, dash};
  cairo_set_dash(mCr, dashes, 2, 0);
  DrawLine(color, x1, y1, x2, y2, thickness);
  cairo_set_dash(mCr, nullptr, 0, 0);
}

void IDrawContext::DrawCircle(const IColor& color, float cx, float cy, float r, float thickness) {
  SetColor(color);
  cairo_set_line_width(mCr, thickness);
  cairo_new_sub_path(mCr);
  cairo_arc(mCr, cx, cy, r, 0, 2 * std::numbers::pi);
  cairo_stroke(mCr);
}

void IDrawContext::FillCircle(const IColor& color, float cx, float cy, float r) {
  SetColor(color);
  cairo_new_sub_path(mCr);
  cairo_arc(mCr, cx, cy, r, 0, 2 * std::numbers::pi);
  cairo_fill(mCr);
}

void IDrawContext::DrawArc(const IColor& color, float cx, float cy, float r, float fromDeg,
                           float toDeg, float thickness) {
  if (toDeg <= fromDeg) return;
  SetColor(color);
  cairo_set_line_width(mCr, thickness);
  cairo_new_sub_path(mCr);
  cairo_arc(mCr, cx, cy, r, ToCairoAngle(fromDeg), ToCairoAngle(toDeg));
  cairo_stroke(mCr);
}

void IDrawContext::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                float x3, float y3) {
  SetColor(color);
  cairo_move_to(mCr, x1, y1);
  cairo_line_to(mCr, x2, y2);
  cairo_line_to(mCr, x3, y3);
  cairo_close_path(mCr);
  cairo_fill(mCr);
}

void IDrawContext::DrawText(const IText& text, std::string_view str, const IRECT& bounds) {
  if (str.empty() || text.fgColor.A == 0) return;
  const std::string s(str);
  cairo_set_font_face(mCr, mFonts.Face(text.font));
  cairo_set_font_size(mCr, text.size);
  cairo_font_extents_t fe;
  cairo_font_extents(mCr, &fe);
  cairo_text_extents_t te;
  cairo_text_extents(mCr, s.c_str(), &te);
  double x = bounds.L;
  switch (text.align) {
    case EAlign::Near:
      x = bounds.L;
      break;
    case EAlign::Center:
      x = bounds.MW() - te.x_advance / 2.0;
      break;
    case EAlign::Far:
      x = bounds.R - te.x_advance;
      break;
  }
  double y = bounds.T + fe.ascent;
  switch (text.valign) {
    case EVAlign::Top:
      y = bounds.T + fe.ascent;
      break;
    case EVAlign::Middle:
      y = bounds.MH() + (fe.ascent - fe.descent) / 2.0;
      break;
    case EVAlign::Bottom:
      y = bounds.B - fe.descent;
      break;
  }
  SetColor(text.fgColor);
  cairo_move_to(mCr, x, y);
  cairo_show_text(mCr, s.c_str());
  cairo_new_path(mCr);
}

float IDrawContext::MeasureText(const IText& text, std::string_view str) const {
  const std::string s(str);
  cairo_save(mCr);
  cairo_set_font_face(mCr, mFonts.Face(text.font));
  cairo_set_font_size(mCr, text.size);
  cairo_text_extents_t te;
  cairo_text_extents(mCr, s.c_str(), &te);
  cairo_restore(mCr);
  return static_cast<float>(te.x_advance);
}

void IDrawContext::DeviceOrigin(float x, float y, double& dx, double& dy) const {
  dx = x;
  dy = y;
  cairo_user_to_device(mCr, &dx, &dy);
}

// Bitmaps are drawn from a copy resampled once for the draw scale, at device
// resolution: the common case is then a plain pixel copy.
void IDrawContext::DrawBitmap(const IBitmap& bitmap, float x, float y, int frame) {
  BitmapData* d = bitmap.Get();
  if (!d) return;
  cairo_surface_t* src = d->SurfaceForScale(mScale);
  if (!src) return;
  const double fw = cairo_image_surface_get_width(src);
  const double fh = static_cast<double>(cairo_image_surface_get_height(src)) / d->NFrames();
  frame = std::clamp(frame, 0, d->NFrames() - 1);
  double dx = 0;
  double dy = 0;
  DeviceOrigin(x, y, dx, dy);
  dx = std::round(dx);
  dy = std::round(dy);
  cairo_save(mCr);
  cairo_identity_matrix(mCr);
  cairo_rectangle(mCr, dx, dy, fw, std::round(fh));
  cairo_set_source_surface(mCr, src, dx, dy - frame * fh);
  cairo_fill(mCr);
  cairo_restore(mCr);
}

void IDrawContext::DrawRotatedBitmap(const IBitmap& bitmap, float cx, float cy, float angle,
                                     int frame) {
  BitmapData* d = bitmap.Get();
  if (!d) return;
  cairo_surface_t* src = d->SurfaceForScale(mScale);
  if (!src) return;
  const double fw = cairo_image_surface_get_width(src);
  const double fh = static_cast<double>(cairo_image_surface_get_height(src)) / d->NFrames();
  frame = std::clamp(frame, 0, d->NFrames() - 1);
  double dx = 0;
  double dy = 0;
  DeviceOrigin(cx, cy, dx, dy);
  cairo_save(mCr);
  cairo_identity_matrix(mCr);
  cairo_translate(mCr, dx, dy);
  cairo_rotate(mCr, angle * std::numbers::pi / 180.0);
  // A plain paint of the frame (no clip, no path): Cairo then composites the
  // transformed picture directly instead of through a mask.
  cairo_surface_t* frameSurface = src;
  if (d->NFrames() > 1) {
    frameSurface = cairo_surface_create_for_rectangle(src, 0, frame * fh, fw, fh);
  }
  cairo_set_source_surface(mCr, frameSurface, -fw / 2, -fh / 2);
  cairo_pattern_set_filter(cairo_get_source(mCr), CAIRO_FILTER_BILINEAR);
  cairo_paint(mCr);
  if (frameSurface != src) cairo_surface_destroy(frameSurface);
  cairo_restore(mCr);
}

RotatedImageCache::~RotatedImageCache() {
  if (surface) cairo_surface_destroy(surface);
}

void IDrawContext::DrawRotatedBitmap(const IBitmap& bitmap, float cx, float cy, float angle,
                                     int frame, RotatedImageCache& cache) {
  BitmapData* d = bitmap.Get();
  if (!d) return;
  frame = std::clamp(frame, 0, d->NFrames() - 1);
  if (!cache.surface || cache.bitmap != d || cache.angle != angle || cache.scale != mScale ||
      cache.frame != frame) {
    cairo_surface_t* src = d->SurfaceForScale(mScale);
    if (!src) return;
    if (cache.surface) cairo_surface_destroy(cache.surface);
    cache.surface = nullptr;
    const double fw = cairo_image_surface_get_width(src);
    const double fh = static_cast<double>(cairo_image_surface_get_height(src)) / d->NFrames();
    const int side = static_cast<int>(std::ceil(std::hypot(fw, fh))) + 2;
    cache.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
    cairo_t* c2 = cairo_create(cache.surface);
    cairo_translate(c2, side / 2.0, side / 2.0);
    cairo_rotate(c2, angle * std::numbers::pi / 180.0);
    cairo_surface_t* frameSurface =
        d->NFrames() > 1 ? cairo_surface_create_for_rectangle(src, 0, frame * fh, fw, fh) : src;
    cairo_set_source_surface(c2, frameSurface, -fw / 2, -fh / 2);
    cairo_pattern_set_filter(cairo_get_source(c2), CAIRO_FILTER_BILINEAR);
    cairo_paint(c2);
    cairo_destroy(c2);
    if (frameSurface != src) cairo_surface_destroy(frameSurface);
    cache.bitmap = d;
    cache.angle = angle;
    cache.scale = mScale;
    cache.frame = frame;
  }
  const int side = cairo_image_surface_get_width(cache.surface);
  double dx = 0;
  double dy = 0;
  DeviceOrigin(cx, cy, dx, dy);
  const double ox = std::round(dx - side / 2.0);
  const double oy = std::round(dy - side / 2.0);
  cairo_save(mCr);
  cairo_identity_matrix(mCr);
  cairo_rectangle(mCr, ox, oy, side, side);
  cairo_set_source_surface(mCr, cache.surface, ox, oy);
  cairo_fill(mCr);
  cairo_restore(mCr);
}

void IDrawContext::DrawSVG(const ISVG& svg, const IRECT& bounds) {
  DrawRotatedSVG(svg, bounds, 0.f);
}

void IDrawContext::DrawRotatedSVG(const ISVG& svg, const IRECT& bounds, float angle) {
  SVGData* d = svg.Get();
  if (!d) return;
  const int pw = std::max(1, static_cast<int>(std::lround(bounds.W() * mScale)));
  const int ph = std::max(1, static_cast<int>(std::lround(bounds.H() * mScale)));
  cairo_surface_t* raster = d->Raster(pw, ph);
  double dx = 0;
  double dy = 0;
  DeviceOrigin(bounds.MW(), bounds.MH(), dx, dy);
  cairo_save(mCr);
  cairo_identity_matrix(mCr);
  cairo_translate(mCr, dx, dy);
  if (angle != 0.f) cairo_rotate(mCr, angle * std::numbers::pi / 180.0);
  cairo_rectangle(mCr, -pw / 2.0, -ph / 2.0, pw, ph);
  cairo_set_source_surface(mCr, raster, -pw / 2.0, -ph / 2.0);
  cairo_pattern_set_filter(cairo_get_source(mCr), CAIRO_FILTER_BILINEAR);
  cairo_fill(mCr);
  cairo_restore(mCr);
}

void IDrawContext::BeginOpacity() {
  cairo_push_group(mCr);
}

void IDrawContext::EndOpacity(float alpha) {
  cairo_pop_group_to_source(mCr);
  cairo_paint_with_alpha(mCr, alpha);
}

}  // namespace qd3
