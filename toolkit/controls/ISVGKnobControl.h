#pragma once

#include "toolkit/IControl.h"
#include "toolkit/controls/KnobDrag.h"

namespace qd3 {

// A knob drawn by rotating a vector picture, scaled to the rectangle, about the
// rectangle's centre. Vertical drag (shift: fine), wheel steps, a double click
// returns to the default.
class ISVGKnobControl : public IControl {
 public:
  ISVGKnobControl(const IRECT& bounds, const ISVG& svg, int paramIdx, double gearing = 4.0,
                  float minAngle = -135.f, float maxAngle = 135.f);

  void Draw(IDrawContext& g) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  float Angle() const;

 private:
  ISVG mSvg;
  KnobDrag mDrag;
  float mInAngle;
  float mAxAngle;
};

}  // namespace qd3
