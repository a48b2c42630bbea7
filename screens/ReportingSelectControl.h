#pragma once

#include <functional>
#include <utility>

#include "toolkit/graphs/IInvisibleSelectControl3.h"

namespace qd3 {

// A list picker that says what kind of event is coming (IInvisibleSelectControl3's
// kPress .. kWheel) before the event sets its parameter, so that the parameter's
// change handler already knows whether it sees a pick or a scroll.
class ReportingSelectControl : public IInvisibleSelectControl3 {
 public:
  using EventHook = std::function<void(int eventKind)>;
  // A wheel turn, after it was reported: positive is away from the player, `fine` with
  // Shift or Ctrl held.
  using WheelHook = std::function<void(bool positive, bool fine)>;

  ReportingSelectControl(const IRECT& bounds, int paramIdx, EventHook hook,
                         WheelHook wheel = nullptr)
      : IInvisibleSelectControl3(bounds, paramIdx),
        mHook(std::move(hook)),
        mWheel(std::move(wheel)) {}

  void OnMouseDown(float x, float y, const IMouseMod& mod) override {
    Report(kPress);
    IInvisibleSelectControl3::OnMouseDown(x, y, mod);
  }
  void OnMouseUp(float x, float y, const IMouseMod& mod) override {
    Report(kRelease);
    IInvisibleSelectControl3::OnMouseUp(x, y, mod);
  }
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override {
    Report(kDrag);
    IInvisibleSelectControl3::OnMouseDrag(x, y, dX, dY, mod);
  }
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override {
    Report(kDoubleClick);
    IInvisibleSelectControl3::OnMouseDblClick(x, y, mod);
  }
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override {
    Report(kWheel);
    IInvisibleSelectControl3::OnMouseWheel(x, y, mod, delta);
    if (mWheel && delta != 0.f) mWheel(delta > 0.f, mod.IsFine());
  }

 private:
  void Report(int kind) {
    if (mHook) mHook(kind);
  }

  EventHook mHook;
  WheelHook mWheel;
};

}  // namespace qd3
