// The change handler that runs inside every parameter set: live edits to the
// pedal, the two-digit display, "not saved" tracking, the screen's read-outs and
// pages, and the linked parameters.
#include <algorithm>
#include <cstdio>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "ir/IrNumbers.h"
#include "params/DeviceParamNumbers.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

// Sound parameters whose value is not echoed on the two-digit display: the IR
// selector has its own text there, the others are switches.
bool HasOwnDisplay(int index) {
  return index == kParamIr || index == kParamIrModeA || index == kParamIrModeB ||
         index == kParamReverbMode || index == kParamAutoFilterOn;
}

// The halves of a user-IR number are sent every time, even unchanged, because
// each half is one step of a two-message exchange with the pedal.
bool IsUserIrHalf(int index) {
  return index >= kParamUserIrAHigh && index <= kParamUserIrBLow;
}

}  // namespace

void QD3Control::OnParamChange(int index) {
  const int raw = mParams[index].Raw();

  if (index < kNumSoundParams) {
    if (IsWindowOpen() && !HasOwnDisplay(index)) {
      char text[16];
      std::snprintf(text, sizeof text, "%02d", raw);
      SetControlText(kTagValueDisplay, text);
    }
    if (session.connected) SendLiveEdit(index, raw);
    valueDisplayHold = true;
    valueDisplayTicks = 0;
  }

  if (IsWindowOpen()) UpdateModifiedDisplay();

  RunScreenRules(index, raw);
  RunLinkedParameters(index, raw);

  // Parameters 0..37 carry the voicing that templates and preset files set.
  constexpr int kTemplateVoicedParams = 38;
  if (templateApplied && index < kTemplateVoicedParams) presetModified = true;
  RunSettingsRules(index);
}

void QD3Control::SendLiveEdit(int index, int raw) {
  int& live = liveValues[static_cast<size_t>(index)];
  const bool changed = raw != live;
  live = raw;
  if (!changed && !IsUserIrHalf(index)) return;
  if (session.applyingDeviceValues) return;
  SendDeviceMessage(BuildParamChange(kDeviceParamNumber[static_cast<size_t>(index)], raw));
}

void QD3Control::UpdateModifiedDisplay() {
  IControlHandle* display = mScreen->GetControlWithTag(kTagValueDisplay);
  presetModified = liveValues != deviceSnapshot;
  if (!display) return;
  display->Hide(false);
  display->SetTextColor(IColorFromArgb(presetModified ? kColorDisplayModified : kColorDisplay));
  display->SetDirty();
}

void QD3Control::RunLinkedParameters(int index, int raw) {
  switch (index) {
    case kParamCompression:
      if (IsWindowOpen()) SetParameterValue(kParamDynamics, raw / 127.0);
      break;
    case kParamIrAlias:
      SetParameterValue(kParamIr, (127 - raw) / 127.0);
      break;
    case kParamScroll:
      ScrollPresetList(raw);
      break;
    case kParamPresetPicker:
      if (mPresetPickerPressed) PickPresetRow(raw);
      break;
    case kParamIrPositionPicker:
      if (mIrPickerPressed) {
        // Single precision on purpose: it yields 1, 16, 32, ..., 112, 127 for
        // positions 0..8, the cabinet numbers the pedal expects.
        const float position = static_cast<float>(std::min(raw, 8));
        SetParameterValue(kParamIr, 0.125f * position + 0.004f);
      }
      break;
    case kParamUserIrALow:
      session.userIrA = 128 * mParams[kParamUserIrAHigh].Raw() + raw;
      CheckEditedUserIr(false);
      break;
    case kParamUserIrBLow:
      session.userIrB = 128 * mParams[kParamUserIrBHigh].Raw() + raw;
      CheckEditedUserIr(true);
      break;
    case kParamIr:
      ShowIr(raw);
      break;
    case kParamIrModeA:
    case kParamIrModeB:
      if (IsBeyondPositionSix(mParams[kParamIr].Raw())) ShowIrForCurrentSelector();
      break;
    case kParamAutoFilterOn:
      // Kept also without the window: the auto-filter switch toggles from it.
      autoFilterOn = raw > 0;
      break;
    default:
      break;
  }
}

}  // namespace qd3
