// The pedal's global settings page, its two MIDI map pages and the three factory
// resets: what the player's edits send, and how the pages open and close.
#include <cstdio>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "protocol/MessageBuilders.h"
#include "settings/GlobalSettingsBlock.h"
#include "settings/MidiMapBlocks.h"

namespace qd3 {

void QD3Control::RunSettingsRules(int index) {
  const int raw = mParams[index].Raw();
  if (index >= kFirstGlobalParam && index <= kLastGlobalParam) {
    if (index == kParamPatchOffset && IsWindowOpen()) {
      char text[16];
      std::snprintf(text, sizeof text, "%02d", session.currentPreset + raw);
      SetControlText(kTagValueDisplay, text);
      RelabelPresetList();
    }
    // Every edit sends the whole block, connected or not; values the pedal sent are
    // not echoed.
    if (!session.applyingDeviceValues) SendGlobalSettings();
  } else if (index == kParamControllerProgram) {
    SetParameterValue(kParamDeviceProgram, programMap[static_cast<size_t>(raw)] / 127.0);
  } else if (index == kParamDeviceProgram) {
    // Kept locally; the map goes to the pedal when its page is left.
    programMap[static_cast<size_t>(mParams[kParamControllerProgram].Raw())] =
        static_cast<uint8_t>(raw);
  }
}

void QD3Control::SendGlobalSettings() {
  SendDeviceMessage(BuildGlobalSettingsBlock(session.currentPreset,
                                             [this](int param) { return mParams[param].Raw(); }));
}

void QD3Control::RelabelPresetList() {
  if (!mCache) return;
  // The folder scan alone leaves rows without a listed file at their old number, so
  // the list build by file number follows and gives every row the new offset.
  for (const RowLabel& row : mCache->ScanPresetsFolder(PatchOffset())) {
    SetRowLabel(row.row, row.label);
  }
  const PresetList list = mCache->BuildListFromCache(PatchOffset());
  for (int slot = 0; slot < kPresetCount; ++slot) {
    SetRowLabel(slot, list.labels[static_cast<size_t>(slot)]);
  }
}

void QD3Control::OpenGlobalSettings() {
  session.pollEnabled = false;
  mOverlays.settings = true;
  ShowGroup(kGroupGlobalSettings, true);
  SendDeviceMessage(BuildRequestBlock(kBlockGlobalSettings));
}

void QD3Control::CloseGlobalSettings() {
  session.pollEnabled = true;
  mOverlays.settings = false;
  ShowGroup(kGroupGlobalSettings, false);
  RelabelPresetList();
}

void QD3Control::OpenProgramMap() {
  mOverlays.programMap = true;
  ShowGroup(kGroupMidiProgram, true);
  ShowGroup(kGroupGlobalSettings, false);
  SendDeviceMessage(BuildRequestBlock(kBlockProgramMap));
}

void QD3Control::CloseProgramMap() {
  mOverlays.programMap = false;
  ShowGroup(kGroupMidiProgram, false);
  ShowGroup(kGroupGlobalSettings, true);
  SendDeviceMessage(BuildProgramMapBlock(programMap));
}

void QD3Control::OpenControllerMap() {
  mOverlays.controllerMap = true;
  ShowGroup(kGroupMidiCc, true);
  ShowGroup(kGroupGlobalSettings, false);
  SendDeviceMessage(BuildRequestBlock(kBlockControllerMap));
}

void QD3Control::CloseControllerMap() {
  mOverlays.controllerMap = false;
  ShowGroup(kGroupMidiCc, false);
  ShowGroup(kGroupGlobalSettings, true);
  KnobControllers controllers{};
  for (size_t k = 0; k < controllers.size(); ++k) {
    controllers[k] = mParams[kFirstKnobControllerParam + static_cast<int>(k)].Raw();
  }
  SendDeviceMessage(BuildControllerMapBlock(controllers));
}

void QD3Control::FactoryReset(int kind) {
  // Without a way to ask there is no reset.
  if (!mPlatform ||
      mPlatform->ShowMessageBox(kTextAreYouSure, "", EMsgBoxType::OKCancel) != EMsgBoxResult::OK) {
    return;
  }
  // The pedal's presets are about to change: the cache goes first, so nothing stale is
  // left behind when the pedal acts on the message.
  if (kind == kFactoryResetAll || kind == kFactoryResetPresets) DeleteCacheAndBuildList();
  SendDeviceMessage(BuildFactoryReset(kind));
}

void QD3Control::ShowAbout() {
  mOverlays.about = true;
  ShowGroup(kGroupAbout, true);
}

void QD3Control::CloseAbout() {
  mOverlays.about = false;
  ShowGroup(kGroupAbout, false);
}

}  // namespace qd3
