#pragma once

#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IVStyle.h"

namespace qd3 {

// A vector slider: a track, its filled part up to the value (accent colour) and a
// handle `handleSize` units long. A press off the handle jumps the value there;
// dragging then moves it by dY / (travel * gearing), upwards (or rightwards)
// increasing, ten times finer with shift. The wheel steps the value; a double
// click returns it to the default.
class IVSliderControl : public IControl {
 public:
  IVSliderControl(const IRECT& bounds, int paramIdx, std::string label = {},
                  const IVStyle& style = kDefaultStyle, bool vertical = true, double gearing = 1.0,
                  float handleSize = 8.f, float trackSize = 4.f);

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  IRECT HandleRECT() const;
  IRECT TrackRECT() const;
  bool IsDragging() const { return mDragging; }

 private:
  double ValueAt(float x, float y) const;
  float Travel() const;

  std::string mLabel;
  IVStyle mStyle;
  bool mVertical;
  double mGearing;
  float mHandleSize;
  float mTrackSize;
  bool mDragging = false;
};

}  // namespace qd3
