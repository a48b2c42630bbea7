// The frame clock's side of IGraphics: dirty areas and painting.
#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "toolkit/IGraphics.h"
#include "toolkit/controls/ICornerResizerControl.h"
#include "toolkit/controls/IPopupMenuControl.h"
#include "toolkit/controls/ITextEntryControl.h"

namespace qd3 {
namespace {

// Beyond this many separate areas a frame repaints their bounding box instead.
constexpr size_t kMaxDirtyRects = 24;
constexpr float kDisabledOpacity = 0.25f;

}  // namespace

void IGraphics::SetAreaDirty(const IRECT& designRect) {
  const IRECT canvas(0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight));
  const IRECT r = designRect.Intersect(canvas);
  if (r.Empty()) return;
  if (mDirty.empty() && mWakeListener) mWakeListener();
  for (auto& d : mDirty) {
    const IRECT u = d.Union(r);
    if (u == d) return;  // already covered
    if (u == r) {
      d = r;
      return;
    }
  }
  mDirty.push_back(r);
  if (mDirty.size() > kMaxDirtyRects) {
    IRECT all;
    for (const auto& d : mDirty) all = all.Union(d);
    mDirty.assign(1, all);
  }
}

void IGraphics::SetAllDirty() {
  if (mDirty.empty() && mWakeListener) mWakeListener();
  mDirty.assign(1, IRECT(0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)));
}

bool IGraphics::IsIdle() const {
  if (!mDirty.empty()) return false;
  return std::none_of(mControls.begin(), mControls.end(),
                      [](const auto& c) { return c->IsAnimating(); });
}

std::vector<IControl*> IGraphics::Overlays() const {
  std::vector<IControl*> list;
  if (mCornerResizer) list.push_back(mCornerResizer.get());
  list.push_back(mPopupMenu.get());
  list.push_back(mTextEntry.get());
  return list;
}

bool IGraphics::OnFrame() {
  ++mStats.frameTicks;
  DrainParamUpdates();
  const double now = Now();
  for (const auto& c : mControls) c->AdvanceAnimation(now);
  if (mDirty.empty()) {
    mStats.controlsDrawnLastFrame = 0;
    return false;
  }
  Paint();
  return true;
}

void IGraphics::Paint() {
  // Whole device pixels around each dirty area, and the same area back in design
  // units, so that every control touching a repainted pixel is drawn again.
  mLastPainted.clear();
  std::vector<IRECT> deviceAreas;
  std::vector<IRECT> designAreas;
  const float scale = GetDeviceScale();
  const IRECT device(0.f, 0.f, static_cast<float>(cairo_image_surface_get_width(mSurface)),
                     static_cast<float>(cairo_image_surface_get_height(mSurface)));
  for (const auto& d : mDirty) {
    const IRECT px = d.GetScaled(scale).GetPixelAligned().Intersect(device);
    if (px.Empty()) continue;
    deviceAreas.push_back(px);
    mLastPainted.push_back(px.GetScaled(1.f / mBackingScale).GetPixelAligned());
    designAreas.push_back(px.GetScaled(1.f / scale));
  }
  mDirty.clear();
  if (deviceAreas.empty()) return;

  cairo_t* cr = cairo_create(mSurface);
  for (const auto& px : deviceAreas) cairo_rectangle(cr, px.L, px.T, px.W(), px.H());
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_scale(cr, scale, scale);
  IDrawContext g(cr, scale, mFonts);

  auto touches = [&](const IRECT& r) {
    return std::any_of(designAreas.begin(), designAreas.end(),
                       [&](const IRECT& a) { return a.Intersects(r); });
  };
  int drawn = 0;
  auto drawOne = [&](IControl& c) {
    if (c.IsHidden() || !touches(c.GetDrawRECT())) return;
    ++drawn;
    if (c.IsDisabled()) {
      // The group that dims the control is as large as the clip: clip to the
      // control first, or every disabled control would allocate and clear a
      // canvas-sized image on each full redraw.
      const IRECT px = c.GetDrawRECT().GetScaled(scale).GetPixelAligned();
      cairo_save(cr);
      cairo_identity_matrix(cr);
      cairo_rectangle(cr, px.L, px.T, px.W(), px.H());
      cairo_clip(cr);
      cairo_scale(cr, scale, scale);
      g.BeginOpacity();
      c.Draw(g);
      g.EndOpacity(kDisabledOpacity);
      cairo_restore(cr);
    } else {
      cairo_save(cr);
      c.Draw(g);
      cairo_restore(cr);
    }
  };
  for (const auto& c : mControls) drawOne(*c);
  for (IControl* o : Overlays()) drawOne(*o);
  cairo_destroy(cr);
  cairo_surface_flush(mSurface);

  ++mStats.framesDrawn;
  mStats.controlsDrawn += static_cast<uint64_t>(drawn);
  mStats.controlsDrawnLastFrame = drawn;
}

bool IGraphics::WritePNG(const std::string& path) const {
  return cairo_surface_write_to_png(mSurface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

IColor IGraphics::GetPixel(int wx, int wy) const {
  if (wx < 0 || wy < 0) return kColorTransparent;
  return GetDevicePixel(static_cast<int>(std::floor(static_cast<float>(wx) * mBackingScale)),
                        static_cast<int>(std::floor(static_cast<float>(wy) * mBackingScale)));
}

IColor IGraphics::GetDevicePixel(int wx, int wy) const {
  const int w = cairo_image_surface_get_width(mSurface);
  const int h = cairo_image_surface_get_height(mSurface);
  if (wx < 0 || wy < 0 || wx >= w || wy >= h) return kColorTransparent;
  cairo_surface_flush(mSurface);
  const unsigned char* data = cairo_image_surface_get_data(mSurface);
  const int stride = cairo_image_surface_get_stride(mSurface);
  const uint32_t p = *reinterpret_cast<const uint32_t*>(data + wy * stride + wx * 4);
  return IColor{255, static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                static_cast<int>(p & 0xFF)};
}

}  // namespace qd3
