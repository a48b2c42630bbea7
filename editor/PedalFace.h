#pragma once

// The pedal face's switches as the editor shows them: stepping through the presets with
// the right and left foot switches (with auto-repeat while held), browsing with the
// middle switch, storing with the save button, the auto-filter switch, the blinking of
// the two-digit display while browsing or storing is armed, and their keys.

#include "editor/EditorKey.h"
#include "editor/EditorState.h"
#include "editor/Outbox.h"
#include "editor/ParamWriter.h"
#include "editor/ScreenWriter.h"
#include "params/ParamCatalogue.h"
#include "protocol/DeviceSession.h"

namespace qd3 {

class PedalFace {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    DeviceSession& session;
    const ParamCatalogue& params;
    ParamWriter& writer;
    PedalFaceState& face;
    EditBufferState& edit;
  };
  explicit PedalFace(const Needs& needs) : mNeeds(needs) {}

  // Each runs on the press and again on the release and tells the two apart by the
  // switch's own held flag (the auto-filter switch by its value).
  void OnNextSwitch();
  void OnPreviousSwitch();
  void OnBrowseSwitch();
  void OnSaveButton();
  void OnAutoFilterSwitch();
  // The arrows and Ctrl+S, each as a whole click on its switch. Whether the key acted.
  bool OnKey(EditorKey key);

  // Every idle tick: the display's value hold, the held switches' auto-repeat, then the
  // blinking of an armed display.
  void OnIdleTick();
  bool IdleTickNeeded() const;

 private:
  void PresetSwitch(bool& held, int tag, int step);
  void PressPresetSwitch(bool& held, int tag, int step);
  void ReleasePresetSwitch(bool& held, int tag);
  void StepCurrentPreset(int step);
  void SetDisplayNumber();
  void ShowValueDisplay(bool show);
  void RepeatHeldSwitch(int step);
  void BlinkDisplay();
  void LightSaveButton();
  void CountAwaitedCycle(bool& armed);

  Needs mNeeds;
};

}  // namespace qd3
