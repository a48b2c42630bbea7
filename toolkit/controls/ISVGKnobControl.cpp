#include "controls/ISVGKnobControl.h"

namespace qd3 {

ISVGKnobControl::ISVGKnobControl(const IRECT& bounds, const ISVG& picture, int param,
                                 double gearing, float aMin, float aMax)
    : IControl(bounds, param), svg(picture), drag{gearing}, minAngle(aMin), maxAngle(aMax) {}

float ISVGKnobControl::Angle() const {
  return minAngle + static_cast<float>(value) * (maxAngle - minAngle);
}

void ISVGKnobControl::Draw(IDrawContext& g) {
  g.DrawRotatedSVG(svg, rect, Angle());
}

void ISVGKnobControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod) {
  SetValueFromUserInput(drag.Dragged(value, dY, rect.H(), mod));
}

void ISVGKnobControl::OnMouseWheel(float, float, const IMouseMod& mod, float delta) {
  SetValueFromUserInput(drag.Wheeled(value, delta, mod));
}

}  // namespace qd3
