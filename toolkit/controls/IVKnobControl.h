#pragma once

#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IVStyle.h"
#include "toolkit/controls/KnobDrag.h"

namespace qd3 {

// A vector knob: a value arc (accent colour) from minAngle to the value's angle
// over a track from minAngle to maxAngle, a body with a pointer, and, as the
// style says, a label above and the parameter's value text below. Vertical drag
// (shift: fine), wheel steps, a double click returns to the default.
class IVKnobControl : public IControl {
 public:
  IVKnobControl(const IRECT& bounds, int paramIdx, std::string label = {},
                const IVStyle& style = kDefaultStyle, float minAngle = -135.f,
                float maxAngle = 135.f, float arcThickness = 18.f, double gearing = 4.0);

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  float Angle() const;
  // Centre and radius of the arc's middle line.
  void ArcGeometry(float& cx, float& cy, float& radius) const;
  float ArcThickness() const { return mThickness; }

 private:
  std::string mLabel;
  IVStyle mStyle;
  float mInAngle;
  float mAxAngle;
  float mThickness;
  KnobDrag mDrag;
  bool mPressed = false;
};

}  // namespace qd3
