#include "toolkit/graphs/IInvisibleSelectControl3.h"

namespace qd3 {

IInvisibleSelectControl3::IInvisibleSelectControl3(const IRECT& bounds, int param)
    : IControl(bounds, param),
      mTop(static_cast<int>(bounds.T)),
      mHeight(static_cast<int>(bounds.B - bounds.T)) {}

void IInvisibleSelectControl3::Record(int kind, const IMouseMod& mod) {
  mLastEventKind = kind;
  mLastModifier = mod.S ? kShift : (mod.C ? kControl : kNoModifier);
}

void IInvisibleSelectControl3::SelectAt(float y) {
  SetValueUnclamped((static_cast<double>(y) - mTop) / mHeight);
  NotifyParameter();
  RunAction();
  SetDirty();
}

void IInvisibleSelectControl3::OnMouseDown(float, float y, const IMouseMod& mod) {
  Record(kPress, mod);
  SelectAt(y);
}

void IInvisibleSelectControl3::OnMouseUp(float, float y, const IMouseMod& mod) {
  Record(kRelease, mod);
  SelectAt(y);
}

void IInvisibleSelectControl3::OnMouseDrag(float, float y, float, float dY, const IMouseMod& mod) {
  Record(kDrag, mod);
  mLastDirection = dY > 0.f;
  SelectAt(y);
}

void IInvisibleSelectControl3::OnMouseDblClick(float, float y, const IMouseMod& mod) {
  Record(kDoubleClick, mod);
  SelectAt(y);
}

void IInvisibleSelectControl3::OnMouseWheel(float, float y, const IMouseMod& mod, float delta) {
  Record(kWheel, mod);
  mLastDirection = delta > 0.f;
  if (delta == 0.f) return;
  SelectAt(y);
}

bool IInvisibleSelectControl3::OnKeyDown(float, float, const IKeyPress& key) {
  if (key.vk == 0) mLastModifier = kKeyCode0;
  if (key.vk == 1) mLastModifier = kKeyCode1;
  return false;
}

}  // namespace qd3
