#include "editor/ScreenWriter.h"

#include <algorithm>
#include <cstdio>

#include "ir/IrFetch.h"

namespace qd3 {

void ScreenWriter::Attach(IScreenAccess* screen) {
  mScreen = screen;
  // The rows and the graph belong to the window and go with it.
  if (!screen) {
    mRows.fill(nullptr);
    mGraph = nullptr;
  }
}

IControlHandle* ScreenWriter::Find(int tag) const {
  return mScreen ? mScreen->GetControlWithTag(tag) : nullptr;
}

IControlHandle* ScreenWriter::Row(int slot) const {
  if (!mScreen || slot < 0 || slot >= kPresetCount) return nullptr;
  return mRows[static_cast<size_t>(slot)];
}

std::vector<ScreenWriter::Pointed> ScreenWriter::ControlsAt(float x, float y) const {
  std::vector<Pointed> pointed;
  if (!mScreen) return pointed;
  for (const IScreenAccess::ScreenHit& hit : mScreen->ControlsAt(x, y)) {
    const auto row = std::find(mRows.begin(), mRows.end(), hit.control);
    pointed.push_back(
        {hit.tag, hit.paramIdx, row == mRows.end() ? -1 : static_cast<int>(row - mRows.begin())});
  }
  return pointed;
}

void ScreenWriter::SetText(int tag, const std::string& text) {
  if (IControlHandle* control = Find(tag)) {
    control->SetStr(text);
    control->SetDirty();
  }
}

void ScreenWriter::SetValue(int tag, double normalized) {
  if (IControlHandle* control = Find(tag)) {
    control->SetValueFromCode(normalized);
    control->SetDirty();
  }
}

void ScreenWriter::SetTextColor(int tag, uint32_t argb) {
  if (IControlHandle* control = Find(tag)) {
    control->SetTextColor(IColorFromArgb(argb));
    control->SetDirty();
  }
}

void ScreenWriter::Hide(int tag, bool hide) {
  if (IControlHandle* control = Find(tag)) {
    control->Hide(hide);
    control->SetDirty();
  }
}

void ScreenWriter::Disable(int tag, bool disable) {
  if (IControlHandle* control = Find(tag)) {
    control->SetDisabled(disable);
    control->SetDirty();
  }
}

void ScreenWriter::Redraw(int tag) {
  if (IControlHandle* control = Find(tag)) control->SetDirty();
}

void ScreenWriter::RedrawGroup(std::string_view group) {
  // The screen offers no walk over a group's controls; hiding and showing it again
  // marks each of them for repaint.
  ShowGroup(group, false);
  ShowGroup(group, true);
}

void ScreenWriter::ShowGroup(std::string_view group, bool show) {
  if (mScreen) mScreen->HideGroup(group, !show);
}

void ScreenWriter::EnableGroup(std::string_view group, bool enable) {
  if (mScreen) mScreen->DisableGroup(group, !enable);
}

std::string ScreenWriter::Text(int tag, const std::string& otherwise) const {
  const IControlHandle* control = Find(tag);
  return control ? control->GetStr() : otherwise;
}

double ScreenWriter::Value(int tag) const {
  const IControlHandle* control = Find(tag);
  return control ? control->GetValue() : 0.0;
}

bool ScreenWriter::IsShown(int tag) const {
  const IControlHandle* control = Find(tag);
  return control && !control->IsHidden();
}

void ScreenWriter::SetRowText(int slot, const std::string& text) {
  if (IControlHandle* row = Row(slot)) {
    row->SetStr(text);
    row->SetDirty();
  }
}

void ScreenWriter::SetRowTextColor(int slot, uint32_t argb) {
  if (IControlHandle* row = Row(slot)) {
    row->SetTextColor(IColorFromArgb(argb));
    row->SetDirty();
  }
}

void ScreenWriter::PlaceRow(int slot, bool visible, int x, int y) {
  if (IControlHandle* row = Row(slot)) {
    row->Hide(!visible);
    row->MoveTo(static_cast<float>(x), static_cast<float>(y));
    row->SetDirty();
  }
}

void ScreenWriter::ShowPresetModified(bool modified) {
  SetTextColor(kTagValueDisplay, modified ? kColorDisplayModified : kColorDisplay);
  Hide(kTagEditedMarker, !modified);
  // Only an edited sound has a stored one to compare with.
  Disable(kTagCompareButton, !modified);
}

void ScreenWriter::ShowProgressPanel(const ProgressTarget& target, bool show) {
  ShowGroup(target.group, show);
  if (show) LabelProgressPanel(target);
}

void ScreenWriter::LabelProgressPanel(const ProgressTarget& target) {
  if (target.heading) SetText(target.headingTag, target.heading);
  if (target.group == std::string_view(group::kProgress)) {
    Disable(kTagProgressCancel, !target.cancellable);
  }
}

void ScreenWriter::ShowProgress(double fraction, const ProgressTarget& target) {
  LabelProgressPanel(target);
  fraction = std::clamp(fraction, 0.0, 1.0);
  SetValue(target.valueTag, fraction);
  char text[16];
  std::snprintf(text, sizeof text, kTextProgressPercent, static_cast<int>(fraction * 100.0));
  SetText(target.textTag, text);
}

void ScreenWriter::ShowIrFetchProgress(double fraction) {
  LabelProgressPanel(kIrFetchProgress);
  SetValue(kTagProgressValue, std::clamp(fraction, 0.0, 1.0));
  SetText(kTagProgressText, IrFetchPercentText(fraction));
}

void ScreenWriter::ShowBox(const std::string& text) const {
  if (IsOpen() && mPlatform) mPlatform->ShowMessageBox(text, "", EMsgBoxType::OK);
}

void ScreenWriter::Inform(const std::string& text) const {
  if (mPlatform) mPlatform->ShowMessageBox(text, "", EMsgBoxType::OK);
}

EMsgBoxResult ScreenWriter::AskAboutUnsavedEdits(const std::string& text) const {
  if (!mPlatform) return EMsgBoxResult::Cancel;
  return mPlatform->ShowMessageBox(text, "", EMsgBoxType::StoreDiscardCancel);
}

bool ScreenWriter::Ask(const std::string& text, const std::string& caption) const {
  return mPlatform &&
         mPlatform->ShowMessageBox(text, caption, EMsgBoxType::OKCancel) == EMsgBoxResult::OK;
}

}  // namespace qd3
