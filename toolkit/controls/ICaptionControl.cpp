#include "toolkit/controls/ICaptionControl.h"

#include <cmath>

#include "toolkit/IGraphics.h"
#include "toolkit/api/IEditorDelegate.h"

namespace qd3 {

ICaptionControl::ICaptionControl(const IRECT& bounds, int param, const IText& style,
                                 const IColor& bg)
    : ITextControl(bounds, {}, style, bg) {
  mParamIdx = param;
  mIgnoreMouse = false;
}

void ICaptionControl::Draw(IDrawContext& g) {
  g.FillRect(mBackground, mRect);
  // A value text wider than the box ends in "…" inside it.
  constexpr float kInset = 4.f;
  g.DrawText(mText, Ellipsized(g, mText, GetParamDisplayText(), mRect.W() - 2.f * kInset), mRect);
}

void ICaptionControl::OnMouseDown(float, float, const IMouseMod&) {
  if (!mUi || !mUi->GetDelegate() || mParamIdx <= kNoParameter) return;
  std::vector<std::string> items = mUi->GetDelegate()->GetParamValueTexts(mParamIdx);
  if (items.empty()) return;
  const int checked =
      static_cast<int>(std::lround(mValue * (static_cast<double>(items.size()) - 1)));
  mUi->CreatePopupMenu(*this, std::move(items), mRect, checked);
}

void ICaptionControl::OnPopupMenuSelection(int index) {
  if (index < 0 || !mUi || !mUi->GetDelegate()) return;
  const auto n = mUi->GetDelegate()->GetParamValueTexts(mParamIdx).size();
  SetValueFromUserInput(n > 1 ? static_cast<double>(index) / static_cast<double>(n - 1) : 0.0);
}

}  // namespace qd3
