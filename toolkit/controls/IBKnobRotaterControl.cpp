#include "controls/IBKnobRotaterControl.h"

namespace qd3 {

IBKnobRotaterControl::IBKnobRotaterControl(float cx, float cy, const IBitmap& bmp, int param,
                                           double gearing, float aMin, float aMax)
    : IBKnobRotaterControl(IRECT::MakeMidXYWH(cx, cy, bmp.FW(), bmp.FH()), bmp, param, gearing,
                           aMin, aMax) {}

IBKnobRotaterControl::IBKnobRotaterControl(const IRECT& bounds, const IBitmap& bmp, int param,
                                           double gearing, float aMin, float aMax)
    : IControl(bounds, param), bitmap(bmp), drag{gearing}, minAngle(aMin), maxAngle(aMax) {}

float IBKnobRotaterControl::Angle() const {
  return minAngle + static_cast<float>(value) * (maxAngle - minAngle);
}

void IBKnobRotaterControl::Draw(IDrawContext& g) {
  g.DrawRotatedBitmap(bitmap, rect.MW(), rect.MH(), Angle(), 0, rotated);
}

void IBKnobRotaterControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  SetValueFromUserInput(drag.Dragged(value, dY, rect.H(), mod));
}

void IBKnobRotaterControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  SetValueFromUserInput(drag.Wheeled(value, delta, mod));
}

}  // namespace qd3
