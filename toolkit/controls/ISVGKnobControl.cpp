#include "toolkit/controls/ISVGKnobControl.h"

namespace qd3 {

ISVGKnobControl::ISVGKnobControl(const IRECT& bounds, const ISVG& picture, int param,
                                 double gearing, float aMin, float aMax)
    : IControl(bounds, param), mSvg(picture), mDrag{gearing}, mInAngle(aMin), mAxAngle(aMax) {
  mParamTooltip = true;
}

float ISVGKnobControl::Angle() const {
  return mInAngle + static_cast<float>(mValue) * (mAxAngle - mInAngle);
}

void ISVGKnobControl::Draw(IDrawContext& g) {
  g.DrawRotatedSVG(mSvg, mRect, Angle());
}

void ISVGKnobControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  SetValueFromUserInput(mDrag.Dragged(mValue, dY, mRect.H(), mod));
}

void ISVGKnobControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  WheelFromUser(delta, mod);
}

void ISVGKnobControl::OnMouseDblClick(float, float, const IMouseMod&) {
  ResetToDefaultFromUser();
}

}  // namespace qd3
