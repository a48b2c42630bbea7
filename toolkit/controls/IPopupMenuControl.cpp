#include "toolkit/controls/IPopupMenuControl.h"

#include <algorithm>

namespace qd3 {

IPopupMenuControl::IPopupMenuControl() : IControl(IRECT()) {
  mHidden = true;
}

void IPopupMenuControl::Open(IControl& target, std::vector<std::string> menuItems,
                             const IRECT& anchor, int checkedIndex, const IRECT& canvas) {
  mCaller = &target;
  mItems = std::move(menuItems);
  mChecked = checkedIndex;
  mHighlighted = checkedIndex;
  size_t longest = 0;
  for (const auto& s : mItems) longest = std::max(longest, s.size());
  const float w = std::max(anchor.W(), 11.f * static_cast<float>(longest) + 40.f);
  const float h = kItemHeight * static_cast<float>(mItems.size());
  float top = anchor.B;
  if (top + h > canvas.B) top = std::max(canvas.T, anchor.T - h);
  const float left = std::clamp(anchor.L, canvas.L, std::max(canvas.L, canvas.R - w));
  SetRECT(IRECT::MakeXYWH(left, top, w, h));
  Hide(false);
  SetDirty();
}

void IPopupMenuControl::Close(int index) {
  IControl* target = mCaller;
  mCaller = nullptr;
  Hide(true);
  if (target) target->OnPopupMenuSelection(index);
}

IRECT IPopupMenuControl::ItemRECT(int index) const {
  return IRECT(mRect.L, mRect.T + kItemHeight * index, mRect.R,
               mRect.T + kItemHeight * (index + 1));
}

int IPopupMenuControl::ItemAt(float x, float y) const {
  if (!mRect.Contains(x, y)) return -1;
  const int i = static_cast<int>((y - mRect.T) / kItemHeight);
  return i < static_cast<int>(mItems.size()) ? i : -1;
}

void IPopupMenuControl::OnMouseDown(float x, float y, const IMouseMod&) {
  Close(ItemAt(x, y));
}

void IPopupMenuControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  IControl::OnMouseOver(x, y, mod);
  const int i = ItemAt(x, y);
  if (i != mHighlighted && i >= 0) {
    mHighlighted = i;
    SetDirty();
  }
}

bool IPopupMenuControl::OnKeyDown(float, float, const IKeyPress& key) {
  const int n = static_cast<int>(mItems.size());
  switch (key.vk) {
    case kVK_ESCAPE:
      Close(-1);
      return true;
    case kVK_RETURN:
      Close(mHighlighted);
      return true;
    case kVK_UP:
      mHighlighted = std::max(0, mHighlighted - 1);
      break;
    case kVK_DOWN:
      mHighlighted = std::min(n - 1, mHighlighted + 1);
      break;
    default:
      return true;
  }
  SetDirty();
  return true;
}

void IPopupMenuControl::Draw(IDrawContext& g) {
  g.FillRect(IColor{245, 45, 45, 45}, mRect);
  for (int i = 0; i < static_cast<int>(mItems.size()); ++i) {
    const IRECT r = ItemRECT(i);
    if (i == mHighlighted) g.FillRect(IColor{255, 90, 90, 90}, r);
    if (i == mChecked) g.FillCircle(kColorWhite, r.L + 12.f, r.MH(), 4.f);
    g.DrawText(mText, mItems[i], r.GetPadded(-26.f, 0.f, -6.f, 0.f));
  }
  g.DrawRect(IColor{255, 20, 20, 20}, mRect, 1.f);
}

}  // namespace qd3
