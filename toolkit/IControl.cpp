#include "IControl.h"

#include <algorithm>

#include "IGraphics.h"
#include "api/IEditorDelegate.h"

namespace qd3 {

IControl::IControl(const IRECT& bounds, int param, IActionFunction fn)
    : rect(bounds), paramIdx(param), action(std::move(fn)) {}

void IControl::OnMouseDown(float, float, const IMouseMod&) {}
void IControl::OnMouseUp(float, float, const IMouseMod&) {}
void IControl::OnMouseDrag(float, float, float, float, const IMouseMod&) {}
void IControl::OnMouseDblClick(float, float, const IMouseMod&) {}
void IControl::OnMouseWheel(float, float, const IMouseMod&, float) {}
void IControl::OnMouseOver(float, float, const IMouseMod&) {
  if (!mouseIsOver && redrawOnHover) SetDirty();
  mouseIsOver = true;
}

void IControl::OnMouseOut() {
  if (mouseIsOver && redrawOnHover) SetDirty();
  mouseIsOver = false;
}
bool IControl::OnKeyDown(float, float, const IKeyPress&) {
  return false;
}
void IControl::OnTextEntryCompletion(const std::string&) {}
void IControl::OnPopupMenuSelection(int) {}

void IControl::AttachTo(IGraphics* graphics, int controlTag, std::string_view groupName) {
  ui = graphics;
  tag = controlTag;
  group = groupName;
}

void IControl::SetDirty() {
  if (ui) ui->SetAreaDirty(GetDrawRECT());
}

void IControl::Hide(bool hide) {
  if (hidden == hide) return;
  // Mark before and after: the area must be repainted with what lies beneath.
  SetDirty();
  hidden = hide;
  if (hide) {
    mouseIsOver = false;
    if (ui) ui->OnControlLostInput(*this);
  }
}

void IControl::SetDisabled(bool disable) {
  if (disabled == disable) return;
  disabled = disable;
  if (disable) {
    mouseIsOver = false;
    if (ui) ui->OnControlLostInput(*this);
  }
  SetDirty();
}

void IControl::MoveTo(float x, float y) {
  SetRECT(IRECT::MakeXYWH(x, y, rect.W(), rect.H()));
}

void IControl::SetRECT(const IRECT& r) {
  if (r == rect) return;
  SetDirty();
  rect = r;
  OnRectChanged();
  SetDirty();
}

void IControl::SetValue(double normalized) {
  SetValueUnclamped(std::clamp(normalized, 0.0, 1.0));
}

void IControl::SetValueUnclamped(double v) {
  if (v == value) return;
  value = v;
  SetDirty();
}

void IControl::SetValueFromUserInput(double normalized) {
  SetValue(normalized);
  NotifyParameter();
  RunAction();
}

void IControl::NotifyParameter() {
  if (ui && paramIdx > kNoParameter) ui->OnControlSetParam(*this);
}

void IControl::RunAction() {
  if (action) action(this);
}

std::string IControl::GetParamDisplayText() const {
  if (!ui || paramIdx <= kNoParameter || !ui->GetDelegate()) return {};
  return ui->GetDelegate()->GetParamDisplayText(paramIdx, value);
}

void IControl::StartAnimation(double seconds) {
  animationDuration = seconds;
  animationStart = ui ? ui->Now() : 0.0;
  SetDirty();
}

double IControl::GetAnimationProgress() const {
  if (!IsAnimating() || !ui || animationDuration <= 0.0) return 0.0;
  return std::clamp((ui->Now() - animationStart) / animationDuration, 0.0, 1.0);
}

bool IControl::AdvanceAnimation(double now) {
  if (!IsAnimating()) return false;
  SetDirty();
  if (now - animationStart < animationDuration) return false;
  animationStart = -1.0;
  OnAnimationEnd();
  return true;
}

}  // namespace qd3
