#include "toolkit/IControl.h"

#include <algorithm>

#include "toolkit/IGraphics.h"
#include "toolkit/api/IEditorDelegate.h"

namespace qd3 {

IControl::IControl(const IRECT& bounds, int param, IActionFunction fn)
    : mRect(bounds), mParamIdx(param), mAction(std::move(fn)) {}

void IControl::OnMouseDown(float, float, const IMouseMod&) {}
void IControl::OnMouseUp(float, float, const IMouseMod&) {}
void IControl::OnMouseDrag(float, float, float, float, const IMouseMod&) {}
void IControl::OnMouseDblClick(float, float, const IMouseMod&) {}
void IControl::OnMouseWheel(float, float, const IMouseMod&, float) {}
void IControl::OnMouseOver(float, float, const IMouseMod&) {
  if (!mOuseIsOver && mRedrawOnHover) SetDirty();
  mOuseIsOver = true;
}

void IControl::OnMouseOut() {
  if (mOuseIsOver && mRedrawOnHover) SetDirty();
  mOuseIsOver = false;
}
bool IControl::OnKeyDown(float, float, const IKeyPress&) {
  return false;
}
void IControl::OnTextEntryCompletion(const std::string&) {}
void IControl::OnPopupMenuSelection(int) {}

void IControl::AttachTo(IGraphics* graphics, int controlTag, std::string_view groupName) {
  mUi = graphics;
  mTag = controlTag;
  mGroup = groupName;
}

void IControl::SetDirty() {
  if (mUi) mUi->SetAreaDirty(GetDrawRECT());
}

void IControl::Hide(bool hide) {
  if (mHidden == hide) return;
  // Mark before and after: the area must be repainted with what lies beneath.
  SetDirty();
  mHidden = hide;
  if (hide) {
    mOuseIsOver = false;
    if (mUi) mUi->OnControlLostInput(*this);
  }
}

void IControl::SetDisabled(bool disable) {
  if (mDisabled == disable) return;
  mDisabled = disable;
  if (disable) {
    mOuseIsOver = false;
    if (mUi) mUi->OnControlLostInput(*this);
  }
  SetDirty();
}

void IControl::MoveTo(float x, float y) {
  SetRECT(IRECT::MakeXYWH(x, y, mRect.W(), mRect.H()));
}

void IControl::SetRECT(const IRECT& r) {
  if (r == mRect) return;
  SetDirty();
  mRect = r;
  OnRectChanged();
  SetDirty();
}

void IControl::SetValue(double normalized) {
  SetValueUnclamped(std::clamp(normalized, 0.0, 1.0));
}

void IControl::SetValueUnclamped(double v) {
  if (v == mValue) return;
  mValue = v;
  SetDirty();
}

void IControl::SetValueFromUserInput(double normalized) {
  SetValue(normalized);
  NotifyParameter();
  RunAction();
}

void IControl::NotifyParameter() {
  if (mUi && mParamIdx > kNoParameter) mUi->OnControlSetParam(*this);
}

void IControl::RunAction() {
  if (mAction) mAction(this);
}

std::string IControl::GetParamDisplayText() const {
  if (!IsBound()) return {};
  return mUi->GetDelegate()->GetParamDisplayText(mParamIdx, mValue);
}

bool IControl::IsBound() const {
  return mUi && mUi->GetDelegate() && mParamIdx > kNoParameter &&
         mParamIdx < mUi->GetDelegate()->NParams();
}

double IControl::GetParamDefault() const {
  if (!IsBound()) return mValue;
  return mUi->GetDelegate()->GetParamDefaultNormalized(mParamIdx);
}

double IControl::GetParamStep() const {
  if (!IsBound()) return 0.0;
  return mUi->GetDelegate()->GetParamStepNormalized(mParamIdx);
}

void IControl::WheelFromUser(float delta, const IMouseMod& mod) {
  if (delta == 0.f) return;
  SetValueFromUserInput(KnobDrag::Wheeled(mValue, delta, mod, GetParamStep()));
}

std::string IControl::GetTooltipText() const {
  if (!mTooltip.empty() || !mParamTooltip || !IsBound()) return mTooltip;
  const IEditorDelegate* delegate = mUi->GetDelegate();
  const std::string name =
      mTooltipCaption.empty() ? delegate->GetParamName(mParamIdx) : mTooltipCaption;
  std::string value = delegate->GetParamReadout(mParamIdx, mValue);
  if (value.empty()) {
    value = GetParamDisplayText();
  } else if (!mTooltipUnit.empty()) {
    value += " " + mTooltipUnit;
  }
  if (name.empty()) return value;
  if (value.empty()) return name;
  return name + ": " + value;
}

void IControl::StartAnimation(double seconds) {
  mAnimationDuration = seconds;
  mAnimationStart = mUi ? mUi->Now() : 0.0;
  SetDirty();
}

double IControl::GetAnimationProgress() const {
  if (!IsAnimating() || !mUi || mAnimationDuration <= 0.0) return 0.0;
  return std::clamp((mUi->Now() - mAnimationStart) / mAnimationDuration, 0.0, 1.0);
}

bool IControl::AdvanceAnimation(double now) {
  if (!IsAnimating()) return false;
  SetDirty();
  if (now - mAnimationStart < mAnimationDuration) return false;
  mAnimationStart = -1.0;
  OnAnimationEnd();
  return true;
}

}  // namespace qd3
