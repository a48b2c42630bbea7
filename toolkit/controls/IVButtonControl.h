#pragma once

#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IVStyle.h"

namespace qd3 {

// A vector button. A press plays the click animation (a splash growing from the
// pointer for 100 ms); the action runs once the animation has ended.
class IVButtonControl : public IControl {
 public:
  static constexpr double kClickAnimationSeconds = 0.1;

  IVButtonControl(const IRECT& bounds, IActionFunction action, std::string label = {},
                  const IVStyle& style = kDefaultStyle);

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnAnimationEnd() override;
  void SetStr(std::string_view text) override;
  std::string GetStr() const override { return mLabel; }
  // A latching button shows its value (set by its owner) and is lit only while pressed
  // besides; an ordinary one's value is its press.
  void SetLatching(bool latching) { mLatching = latching; }
  const IVStyle& GetStyle() const { return mStyle; }

 private:
  std::string mLabel;
  IVStyle mStyle;
  bool mLatching = false;
  bool mPressed = false;
  float mSplashX = 0.f;
  float mSplashY = 0.f;
};

}  // namespace qd3
