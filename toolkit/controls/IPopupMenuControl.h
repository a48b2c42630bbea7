#pragma once

#include <string>
#include <vector>

#include "toolkit/IControl.h"
#include "toolkit/IText.h"

namespace qd3 {

// The canvas's one popup menu: a column of items opened under an anchor. While
// open it is modal: a press on an item chooses it, a press anywhere else or
// Escape dismisses it.
class IPopupMenuControl : public IControl {
 public:
  static constexpr float kItemHeight = 30.f;

  IPopupMenuControl();

  void Open(IControl& caller, std::vector<std::string> items, const IRECT& anchor, int checked,
            const IRECT& canvas);
  bool IsOpen() const { return mCaller != nullptr; }
  // Hands `index` (or -1) to the caller and closes.
  void Close(int index);
  const std::vector<std::string>& Items() const { return mItems; }
  int ItemAt(float x, float y) const;
  IRECT ItemRECT(int index) const;
  int Highlighted() const { return mHighlighted; }

  void Draw(IDrawContext& g) override;
  bool IsHit(float, float) const override { return IsOpen(); }
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  bool OnKeyDown(float x, float y, const IKeyPress& key) override;

 private:
  IControl* mCaller = nullptr;
  std::vector<std::string> mItems;
  int mChecked = -1;
  int mHighlighted = -1;
  IText mText{20.f, kColorWhite, {}, EAlign::Near, EVAlign::Middle};
};

}  // namespace qd3
