#pragma once

// The one door through which tests put the editor into a state that no message, tick
// or control action reaches yet, or only by a long detour: a store armed on the pedal
// face, a user-IR number half sent, values the pedal is known to hold, a template
// applied. Everything else a test reaches through HandleDeviceMessage, OnDeviceTimer,
// the menu entry points and the parameter set path, as the program does.

#include <cstddef>

#include "QD3Control.h"

namespace qd3::test {

class EditorTestSeam {
 public:
  explicit EditorTestSeam(QD3Control& editor) : mEditor(editor) {}

  // The save button pressed twice with the pedal connected.
  void ArmStore() {
    mEditor.session.saveArmed = true;
    mEditor.session.saveAwaiting = true;
  }
  // A load button wrote the high half of `number` for position 7 (or 8) and waits for
  // the pedal's acknowledgement.
  void AwaitIrNumberAck(bool positionB, int number) {
    if (positionB) {
      mEditor.session.userIrB = number;
      mEditor.session.irNumberStep = kParamUserIrBHigh;
    } else {
      mEditor.session.userIrA = number;
      mEditor.session.irNumberStep = kParamUserIrAHigh;
    }
  }
  // What the pedal holds for sound parameter `index`, as far as the editor knows.
  void SetPedalValue(int index, int raw) { mEditor.liveValues[static_cast<size_t>(index)] = raw; }
  // The preset as received equals what the pedal now holds: nothing is modified.
  void TakeSnapshotOfPedalValues() { mEditor.deviceSnapshot = mEditor.liveValues; }
  void SetApplyingDeviceValues(bool applying) { mEditor.session.applyingDeviceValues = applying; }
  void MarkTemplateApplied() { mEditor.templateApplied = true; }
  void ClearPresetModified() { mEditor.presetModified = false; }

 private:
  QD3Control& mEditor;
};

}  // namespace qd3::test
