#include "toolkit/controls/IBKnobRotaterControl.h"

namespace qd3 {

IBKnobRotaterControl::IBKnobRotaterControl(float cx, float cy, const IBitmap& bmp, int param,
                                           double gearing, float aMin, float aMax)
    : IBKnobRotaterControl(IRECT::MakeMidXYWH(cx, cy, bmp.FW(), bmp.FH()), bmp, param, gearing,
                           aMin, aMax) {}

IBKnobRotaterControl::IBKnobRotaterControl(const IRECT& bounds, const IBitmap& bmp, int param,
                                           double gearing, float aMin, float aMax)
    : IControl(bounds, param), mBitmap(bmp), mDrag{gearing}, mInAngle(aMin), mAxAngle(aMax) {
  mParamTooltip = true;
}

float IBKnobRotaterControl::Angle() const {
  return mInAngle + static_cast<float>(mValue) * (mAxAngle - mInAngle);
}

void IBKnobRotaterControl::Draw(IDrawContext& g) {
  g.DrawRotatedBitmap(mBitmap, mRect.MW(), mRect.MH(), Angle(), 0, mRotated);
}

void IBKnobRotaterControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  SetValueFromUserInput(mDrag.Dragged(mValue, dY, mRect.H(), mod));
}

void IBKnobRotaterControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  WheelFromUser(delta, mod);
}

void IBKnobRotaterControl::OnMouseDblClick(float, float, const IMouseMod&) {
  ResetToDefaultFromUser();
}

}  // namespace qd3
