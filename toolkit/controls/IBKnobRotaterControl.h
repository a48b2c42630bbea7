#pragma once

#include "toolkit/IControl.h"
#include "toolkit/controls/KnobDrag.h"

namespace qd3 {

// A knob drawn by rotating one picture about its centre: the value sweeps the
// angle from minAngle to maxAngle degrees (0 = pointer up). Vertical drag
// (shift: fine), wheel steps, a double click returns to the default.
class IBKnobRotaterControl : public IControl {
 public:
  // Centred on (cx, cy), the rectangle being the picture's frame size.
  IBKnobRotaterControl(float cx, float cy, const IBitmap& bitmap, int paramIdx,
                       double gearing = 4.0, float minAngle = -135.f, float maxAngle = 135.f);
  IBKnobRotaterControl(const IRECT& bounds, const IBitmap& bitmap, int paramIdx,
                       double gearing = 4.0, float minAngle = -135.f, float maxAngle = 135.f);

  void Draw(IDrawContext& g) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  float Angle() const;

 private:
  IBitmap mBitmap;
  RotatedImageCache mRotated;
  KnobDrag mDrag;
  float mInAngle;
  float mAxAngle;
};

}  // namespace qd3
