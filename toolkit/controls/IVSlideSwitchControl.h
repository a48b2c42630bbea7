#pragma once

#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IVStyle.h"

namespace qd3 {

// A two-position switch: a click flips the value between 0 and 1. The handle
// sits left for 0 and right for 1; the track is filled with the accent colour
// when on.
class IVSlideSwitchControl : public IControl {
 public:
  IVSlideSwitchControl(const IRECT& bounds, int paramIdx, std::string label = {},
                       const IVStyle& style = kDefaultStyle);

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  bool IsOn() const { return mValue > 0.5; }
  IRECT HandleRECT() const;

 private:
  std::string mLabel;
  IVStyle mStyle;
  bool mPressed = false;
};

}  // namespace qd3
