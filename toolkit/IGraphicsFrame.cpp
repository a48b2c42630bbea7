// The frame clock's side of IGraphics: dirty areas and painting.
#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "IGraphics.h"
#include "controls/ICornerResizerControl.h"
#include "controls/IPopupMenuControl.h"
#include "controls/ITextEntryControl.h"

namespace qd3 {
namespace {

// Beyond this many separate areas a frame repaints their bounding box instead.
constexpr size_t kMaxDirtyRects = 24;
constexpr float kDisabledOpacity = 0.25f;

}  // namespace

void IGraphics::SetAreaDirty(const IRECT& designRect) {
  const IRECT canvas(0.f, 0.f, static_cast<float>(width), static_cast<float>(height));
  const IRECT r = designRect.Intersect(canvas);
  if (r.Empty()) return;
  for (auto& d : dirty) {
    const IRECT u = d.Union(r);
    if (u == d) return;  // already covered
    if (u == r) {
      d = r;
      return;
    }
  }
  dirty.push_back(r);
  if (dirty.size() > kMaxDirtyRects) {
    IRECT all;
    for (const auto& d : dirty) all = all.Union(d);
    dirty.assign(1, all);
  }
}

void IGraphics::SetAllDirty() {
  dirty.assign(1, IRECT(0.f, 0.f, static_cast<float>(width), static_cast<float>(height)));
}

std::vector<IControl*> IGraphics::Overlays() const {
  std::vector<IControl*> list;
  if (cornerResizer) list.push_back(cornerResizer.get());
  list.push_back(popupMenu.get());
  list.push_back(textEntry.get());
  return list;
}

bool IGraphics::OnFrame() {
  DrainParamUpdates();
  const double now = Now();
  for (const auto& c : controls) c->AdvanceAnimation(now);
  if (dirty.empty()) {
    stats.controlsDrawnLastFrame = 0;
    return false;
  }
  Paint();
  return true;
}

void IGraphics::Paint() {
  // Whole device pixels around each dirty area, and the same area back in design
  // units, so that every control touching a repainted pixel is drawn again.
  lastPainted.clear();
  std::vector<IRECT> designAreas;
  const IRECT device(0.f, 0.f, static_cast<float>(WindowWidth()),
                     static_cast<float>(WindowHeight()));
  for (const auto& d : dirty) {
    const IRECT px = d.GetScaled(scale).GetPixelAligned().Intersect(device);
    if (px.Empty()) continue;
    lastPainted.push_back(px);
    designAreas.push_back(px.GetScaled(1.f / scale));
  }
  dirty.clear();
  if (lastPainted.empty()) return;

  cairo_t* cr = cairo_create(surface);
  for (const auto& px : lastPainted) cairo_rectangle(cr, px.L, px.T, px.W(), px.H());
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_scale(cr, scale, scale);
  IDrawContext g(cr, scale, fonts);

  auto touches = [&](const IRECT& r) {
    return std::any_of(designAreas.begin(), designAreas.end(),
                       [&](const IRECT& a) { return a.Intersects(r); });
  };
  int drawn = 0;
  auto drawOne = [&](IControl& c) {
    if (c.IsHidden() || !touches(c.GetDrawRECT())) return;
    ++drawn;
    if (c.IsDisabled()) {
      g.BeginOpacity();
      c.Draw(g);
      g.EndOpacity(kDisabledOpacity);
    } else {
      cairo_save(cr);
      c.Draw(g);
      cairo_restore(cr);
    }
  };
  for (const auto& c : controls) drawOne(*c);
  for (IControl* o : Overlays()) drawOne(*o);
  cairo_destroy(cr);
  cairo_surface_flush(surface);

  ++stats.framesDrawn;
  stats.controlsDrawn += static_cast<uint64_t>(drawn);
  stats.controlsDrawnLastFrame = drawn;
}

bool IGraphics::WritePNG(const std::string& path) const {
  return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

IColor IGraphics::GetPixel(int wx, int wy) const {
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  if (wx < 0 || wy < 0 || wx >= w || wy >= h) return kColorTransparent;
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const uint32_t p = *reinterpret_cast<const uint32_t*>(data + wy * stride + wx * 4);
  return IColor{255, static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                static_cast<int>(p & 0xFF)};
}

}  // namespace qd3
