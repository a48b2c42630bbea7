#pragma once

#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IVStyle.h"

namespace qd3 {

// A number field bound to a parameter whose real value runs from minValue to
// maxValue in steps of `step`, printed with a printf format (one double). Drag
// up or down (8 units per step) or turn the wheel to change it; a double click
// opens the text entry to type a number (a number box has no reset-on-double-
// click). An optional label sits above the box; the tooltip shows the parameter.
class IVNumberBoxControl : public IControl {
 public:
  static constexpr float kUnitsPerStep = 8.f;

  IVNumberBoxControl(const IRECT& bounds, int paramIdx, IActionFunction action = nullptr,
                     std::string label = {}, const IVStyle& style = kDefaultStyle,
                     double minValue = 0.0, double maxValue = 127.0, std::string format = "%0.0f",
                     double step = 1.0);

  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
  void OnTextEntryCompletion(const std::string& text) override;

  double RealValue() const;
  void SetRealValueFromUser(double real);
  std::string GetStr() const override;
  IRECT BoxRECT() const;

 private:
  std::string mLabel;
  IVStyle mStyle;
  double mInValue;
  double mAxValue;
  std::string mFormat;
  double mStep;
  float mDragAccumulator = 0.f;
};

}  // namespace qd3
