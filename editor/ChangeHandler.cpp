#include "editor/ChangeHandler.h"

#include <algorithm>

#include "ir/IrNumbers.h"
#include "params/DependentValues.h"
#include "params/DeviceParamNumbers.h"
#include "presets/SlotLabels.h"
#include "protocol/MessageBuilders.h"
#include "settings/GlobalSettingsBlock.h"

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

// Parameters 0..37 carry the voicing that templates and preset files set.
constexpr int kTemplateVoicedParams = 38;

}  // namespace

void ChangeHandler::OnParamChange(int index) {
  const int raw = mNeeds.params[index].Raw();
  ScreenWriter& screen = mNeeds.screen;

  if (index < kNumSoundParams) {
    if (screen.IsOpen() && !HasOwnDisplay(index)) {
      // A value takes the display with the two digits a slot number has.
      screen.SetText(kTagValueDisplay, SlotNumberText(raw, 0));
    }
    if (mNeeds.session.connected) SendLiveEdit(index, raw);
    mNeeds.face.valueDisplayHold = true;
    mNeeds.face.valueDisplayTicks = 0;
  }

  if (screen.IsOpen()) UpdateModifiedDisplay();

  RunScreenRules(index, raw);
  RunLinkedParameters(index, raw);

  if (mNeeds.edit.templateApplied && index < kTemplateVoicedParams) {
    mNeeds.edit.presetModified = true;
  }
  RunSettingsRules(index);
}

void ChangeHandler::SendLiveEdit(int index, int raw) {
  int& live = mNeeds.edit.liveValues[static_cast<size_t>(index)];
  const bool changed = raw != live;
  live = raw;
  if (!changed && !IsUserIrHalf(index)) return;
  if (mNeeds.session.applyingDeviceValues) return;
  mNeeds.outbox.Send(BuildParamChange(kDeviceParamNumber[static_cast<size_t>(index)], raw));
}

void ChangeHandler::UpdateModifiedDisplay() {
  EditBufferState& edit = mNeeds.edit;
  edit.presetModified = edit.liveValues != edit.deviceSnapshot;
  mNeeds.screen.Hide(kTagValueDisplay, false);
  mNeeds.screen.ShowPresetModified(edit.presetModified);
}

void ChangeHandler::RunLinkedParameters(int index, int raw) {
  const ParamCatalogue& params = mNeeds.params;
  DeviceSession& session = mNeeds.session;
  switch (index) {
    case kParamCompression: {
      // The drive page shows "Dynamics" on this knob when it opens; that is no turn of
      // the knob, and must not write a rounded value back into the sound.
      const int shown = params[kParamCompression].FromNormalized(
          CompressionNormalizedFromDynamics(params[kParamDynamics].Raw()));
      if (mNeeds.screen.IsOpen() && shown != raw) {
        mNeeds.writer.SetParameterValue(kParamDynamics, raw / 127.0);
      }
      break;
    }
    case kParamIrAlias:
      mNeeds.writer.SetParameterValue(kParamIr, (127 - raw) / 127.0);
      break;
    case kParamScroll:
      mNeeds.mirror.Scroll(raw);
      break;
    case kParamPresetPicker:
      if (mPresetPickerPressed) mNeeds.mirror.Pick(raw);
      break;
    case kParamIrPositionPicker:
      if (mIrPickerPressed) {
        // Single precision on purpose: it yields 1, 16, 32, ..., 112, 127 for
        // positions 0..8, the cabinet numbers the pedal expects.
        const float position = static_cast<float>(std::min(raw, 8));
        mNeeds.writer.SetParameterValue(kParamIr, 0.125f * position + 0.004f);
      }
      break;
    case kParamUserIrALow:
      session.userIrA = 128 * params[kParamUserIrAHigh].Raw() + raw;
      mNeeds.ir.CheckEditedUserIr(false);
      break;
    case kParamUserIrBLow:
      session.userIrB = 128 * params[kParamUserIrBHigh].Raw() + raw;
      mNeeds.ir.CheckEditedUserIr(true);
      break;
    case kParamIr:
      mNeeds.ir.ShowIr(raw);
      break;
    case kParamIrModeA:
    case kParamIrModeB:
      if (IsBeyondPositionSix(params[kParamIr].Raw())) mNeeds.ir.ShowIrForCurrentSelector();
      break;
    case kParamAutoFilterOn:
      // Kept also without the window: the auto-filter switch toggles from it.
      mNeeds.face.autoFilterOn = raw > 0;
      break;
    default:
      break;
  }
}

void ChangeHandler::RunSettingsRules(int index) {
  const int raw = mNeeds.params[index].Raw();
  std::array<uint8_t, 128>& programMap = mNeeds.programMap;
  if (index >= kFirstGlobalParam && index <= kLastGlobalParam) {
    if (index == kParamPatchOffset && mNeeds.screen.IsOpen()) {
      mNeeds.screen.SetText(kTagValueDisplay, SlotNumberText(mNeeds.session.currentPreset, raw));
      mNeeds.mirror.Relabel();
    }
    // Every edit sends the whole block, connected or not; values the pedal sent are
    // not echoed.
    if (!mNeeds.session.applyingDeviceValues) SendGlobalSettings();
  } else if (index == kParamControllerProgram) {
    mNeeds.writer.SetParameterValue(kParamDeviceProgram,
                                    programMap[static_cast<size_t>(raw)] / 127.0);
  } else if (index == kParamDeviceProgram) {
    // Kept locally; the map goes to the pedal when its page is left.
    programMap[static_cast<size_t>(mNeeds.params[kParamControllerProgram].Raw())] =
        static_cast<uint8_t>(raw);
  }
}

void ChangeHandler::SendGlobalSettings() {
  const ParamCatalogue& params = mNeeds.params;
  mNeeds.outbox.Send(BuildGlobalSettingsBlock(
      mNeeds.session.currentPreset, [&params](int param) { return params[param].Raw(); }));
}

}  // namespace qd3
