#pragma once

#include "toolkit/IControl.h"

namespace qd3 {

// A transparent area bound to one parameter that turns a press, release, drag,
// double click or wheel turn into the value (y - T) / H (T and H the integer top
// and height of the rectangle, not clamped: the parameter clamps) and remembers
// what kind of event it was, so that a list can tell a pick from a scroll.
class IInvisibleSelectControl3 : public IControl {
 public:
  enum EEventKind { kPress = 0, kRelease = 1, kDrag = 2, kDoubleClick = 3, kWheel = 4 };
  enum EModifier { kNoModifier = 0, kShift = 1, kControl = 2, kKeyCode0 = 3, kKeyCode1 = 4 };

  IInvisibleSelectControl3(const IRECT& bounds, int paramIdx);

  void Draw(IDrawContext&) override {}
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta) override;
  // Key code 0 sets the modifier 3, key code 1 sets 4; the key is never consumed.
  bool OnKeyDown(float x, float y, const IKeyPress& key) override;

  int LastEventKind() const { return mLastEventKind; }
  int LastModifier() const { return mLastModifier; }
  // Down for a drag (dy > 0), positive for a wheel turn.
  bool LastDirection() const { return mLastDirection; }

 private:
  void Record(int kind, const IMouseMod& mod);
  void SelectAt(float y);

  int mTop;
  int mHeight;
  int mLastEventKind = kPress;
  int mLastModifier = kNoModifier;
  bool mLastDirection = false;
};

}  // namespace qd3
