#pragma once

#include "toolkit/graphs/IInvisibleSelectControl3.h"

namespace qd3 {

// The click area over the graphs: a click opens the impulse-response page, and the
// pointer's moves reach the graph beneath while it is shown, so its frequency and gain
// read-out follows the pointer as if nothing lay above it.
class GraphClickTarget : public IInvisibleSelectControl3 {
 public:
  GraphClickTarget(const IRECT& bounds, int paramIdx, IControl* hoverTarget)
      : IInvisibleSelectControl3(bounds, paramIdx), mHoverTarget(hoverTarget) {}

  void OnMouseOver(float x, float y, const IMouseMod& mod) override {
    IInvisibleSelectControl3::OnMouseOver(x, y, mod);
    const bool over =
        mHoverTarget && !mHoverTarget->IsHidden() && mHoverTarget->GetRECT().Contains(x, y);
    if (over) {
      mHoverTarget->OnMouseOver(x, y, mod);
    } else if (mForwarding) {
      mHoverTarget->OnMouseOut();
    }
    mForwarding = over;
  }
  void OnMouseOut() override {
    IInvisibleSelectControl3::OnMouseOut();
    if (mForwarding) mHoverTarget->OnMouseOut();
    mForwarding = false;
  }

 private:
  IControl* mHoverTarget;
  bool mForwarding = false;
};

}  // namespace qd3
