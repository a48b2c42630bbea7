#pragma once

#include <span>
#include <string_view>

#include "toolkit/IBitmap.h"
#include "toolkit/IRECT.h"
#include "toolkit/ISVG.h"
#include "toolkit/IText.h"

typedef struct _cairo cairo_t;

namespace qd3 {

class FontStore;

// A picture already rotated at device resolution, kept by a control that draws the
// same rotation again and again (a knob whose value did not change).
struct RotatedImageCache {
  RotatedImageCache() = default;
  ~RotatedImageCache();
  RotatedImageCache(const RotatedImageCache&) = delete;
  RotatedImageCache& operator=(const RotatedImageCache&) = delete;

  cairo_surface_t* surface = nullptr;
  const BitmapData* bitmap = nullptr;
  float angle = 0.f;
  float scale = 0.f;
  int frame = -1;
};

struct LineSegment {
  float x1, y1, x2, y2;
};

// What a control draws with during one frame. Every position and size is in
// design units; the context carries the draw scale. Angles are degrees, 0 at
// twelve o'clock, growing clockwise.
class IDrawContext {
 public:
  IDrawContext(cairo_t* cr, float scale, const FontStore& fonts);

  float GetDrawScale() const { return mScale; }
  cairo_t* GetCairo() const { return mCr; }

  void FillRect(const IColor& color, const IRECT& r);
  void DrawRect(const IColor& color, const IRECT& r, float thickness = 1.f);
  void FillRoundRect(const IColor& color, const IRECT& r, float radius);
  void DrawRoundRect(const IColor& color, const IRECT& r, float radius, float thickness = 1.f);
  void DrawLine(const IColor& color, float x1, float y1, float x2, float y2, float thickness = 1.f);
  // Line segments in one colour and thickness, stroked together; a segment that
  // starts where the previous one ended is joined to it (round join).
  void DrawLineSegments(const IColor& color, std::span<const LineSegment> segments,
                        float thickness = 1.f);
  // Dashes and gaps of `dash` units each.
  void DrawDottedLine(const IColor& color, float x1, float y1, float x2, float y2,
                      float thickness = 1.f, float dash = 2.f);
  void DrawCircle(const IColor& color, float cx, float cy, float r, float thickness = 1.f);
  void FillCircle(const IColor& color, float cx, float cy, float r);
  void DrawArc(const IColor& color, float cx, float cy, float r, float fromDeg, float toDeg,
               float thickness = 1.f);
  void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                    float y3);

  void DrawText(const IText& text, std::string_view str, const IRECT& bounds);
  float MeasureText(const IText& text, std::string_view str) const;

  // Frame `frame` (0 = top) of a bitmap with its top-left corner at (x, y), drawn
  // at its frame size.
  void DrawBitmap(const IBitmap& bitmap, float x, float y, int frame = 0);
  // Frame `frame` rotated by `angle` about its centre, which is put at (cx, cy).
  void DrawRotatedBitmap(const IBitmap& bitmap, float cx, float cy, float angle, int frame = 0);
  // The same, through a cache that is rebuilt only when the rotation, frame or
  // scale changed; the centre is then placed to the nearest device pixel.
  void DrawRotatedBitmap(const IBitmap& bitmap, float cx, float cy, float angle, int frame,
                         RotatedImageCache& cache);
  void DrawSVG(const ISVG& svg, const IRECT& bounds);
  void DrawRotatedSVG(const ISVG& svg, const IRECT& bounds, float angle);

  // Everything drawn between the two calls is composited with `alpha`.
  void BeginOpacity();
  void EndOpacity(float alpha);

 private:
  void SetColor(const IColor& c) const;
  void DeviceOrigin(float x, float y, double& dx, double& dy) const;

  cairo_t* mCr;
  float mScale;
  const FontStore& mFonts;
};

}  // namespace qd3
