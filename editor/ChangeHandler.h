#pragma once

// The change handler that runs inside every parameter set: live edits to the pedal,
// the two-digit display, "not saved" tracking, the screen's read-outs, graphs and
// pages, the linked parameters, and the global settings and program map.

#include <array>
#include <cstdint>

#include "editor/EditorState.h"
#include "editor/ImpulseResponses.h"
#include "editor/Outbox.h"
#include "editor/Pages.h"
#include "editor/ParamWriter.h"
#include "editor/PresetMirror.h"
#include "editor/ScreenWriter.h"

namespace qd3 {

class ChangeHandler {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    DeviceSession& session;
    const ParamCatalogue& params;
    ParamWriter& writer;
    Pages& pages;
    PresetMirror& mirror;
    ImpulseResponses& ir;
    EditBufferState& edit;
    PedalFaceState& face;
    ImpulseResponseState& irState;
    std::array<uint8_t, 128>& programMap;
  };
  explicit ChangeHandler(const Needs& needs) : mNeeds(needs) {}

  void OnParamChange(int index);
  // Set by the screens: whether the picker's last event was a press.
  void SetIrPositionPickerPressed(bool pressed) { mIrPickerPressed = pressed; }
  void SetPresetPickerPressed(bool pressed) { mPresetPickerPressed = pressed; }
  // The whole global-settings block, as every edit of 80..90 sends it.
  void SendGlobalSettings();

 private:
  void SendLiveEdit(int index, int raw);
  void UpdateModifiedDisplay();
  void RunLinkedParameters(int index, int raw);
  void RunSettingsRules(int index);
  // What a change shows in the open window: its number text, the dynamics graph, the
  // controls that depend on it and the detail page it opens.
  void RunScreenRules(int index, int raw);
  void ShowValueText(int index, int raw);
  void FollowDynamics(int raw);
  void FollowEchoButtons();
  void MirrorIrSelector(int ir);
  // position 0 or 1 (cabinet positions 7 and 8) after its "IR Mode" changed.
  void FollowIrMode(int position, int irMode);

  Needs mNeeds;
  bool mIrPickerPressed = false;
  bool mPresetPickerPressed = false;
};

}  // namespace qd3
