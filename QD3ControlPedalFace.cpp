// The pedal face's switches as the editor shows them: stepping through the presets
// with the right and left foot switches (with auto-repeat while held), browsing with
// the middle switch, storing with the save button, the auto-filter switch, and the
// blinking of the two-digit display while browsing or storing is armed.
#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "params/DeviceParamNumbers.h"
#include "presets/SlotLabels.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

// A press starts the repeat counter this far below zero: with the step rule of
// RepeatHeldSwitch the first repeated step comes 24 idle ticks (480 ms) later.
constexpr int kRepeatStartTicks = -20;
// Up to this count a repeat step comes every kSlowRepeatTicks ticks, beyond it every tick.
constexpr int kSlowRepeatLimit = 20;
constexpr int kSlowRepeatTicks = 4;

// Blinking of an armed store: shown at phase 0, hidden at 2, period 8 ticks (160 ms).
constexpr int kStoreShowPhase = 0;
constexpr int kStoreHidePhase = 2;
constexpr int kStoreLastPhase = 7;
// Blinking of armed browsing: shown at 0, hidden at 4, period 16 ticks (320 ms).
constexpr int kBrowseShowPhase = 0;
constexpr int kBrowseHidePhase = 4;
constexpr int kBrowseLastPhase = 15;
// Blink cycles after a store was sent before the armed state gives up waiting
// for the pedal's dump.
constexpr int kAwaitBlinkCycles = 10;

int Wrapped(int preset) {
  return (preset % kPresetCount + kPresetCount) % kPresetCount;
}

}  // namespace

// ---- right and left foot switches ----

void QD3Control::OnNextSwitch() {
  PresetSwitch(nextHeld, kTagRightSwitch, +1);
}

void QD3Control::OnPreviousSwitch() {
  PresetSwitch(prevHeld, kTagLeftSwitch, -1);
}

void QD3Control::PresetSwitch(bool& held, int tag, int step) {
  if (held) {
    ReleasePresetSwitch(held, tag);
  } else {
    PressPresetSwitch(held, tag, step);
  }
}

void QD3Control::PressPresetSwitch(bool& held, int tag, int step) {
  SetControlValue(tag, 1.0);
  held = true;
  repeatTicks = kRepeatStartTicks;
  StepCurrentPreset(step);
  if (!IsWindowOpen()) return;
  if (IControlHandle* display = mScreen->GetControlWithTag(kTagValueDisplay)) {
    display->SetTextColor(IColorFromArgb(kColorDisplay));
    display->Hide(false);
    display->SetDirty();
  }
  presetModified = false;
}

void QD3Control::ReleasePresetSwitch(bool& held, int tag) {
  SetControlValue(tag, 0.0);
  held = false;
  // While storing or browsing is armed the number is only a choice on the display.
  if (session.connected && !session.saveArmed && !browseArmed) {
    SendDeviceMessage(BuildSelectPreset(session.currentPreset));
  }
}

void QD3Control::StepCurrentPreset(int step) {
  session.currentPreset = Wrapped(session.currentPreset + step);
  SetDisplayNumber();
}

void QD3Control::SetDisplayNumber() {
  SetControlText(kTagValueDisplay, SlotNumberText(session.currentPreset, PatchOffset()));
}

void QD3Control::ShowValueDisplay(bool show) {
  if (!mScreen) return;
  if (IControlHandle* display = mScreen->GetControlWithTag(kTagValueDisplay)) {
    display->Hide(!show);
    display->SetDirty();
  }
}

// ---- middle switch and save button ----

void QD3Control::OnBrowseSwitch() {
  if (!middleHeld) {
    SetControlValue(kTagMiddleSwitch, 1.0);
    middleHeld = true;
    return;
  }
  SetControlValue(kTagMiddleSwitch, 0.0);
  middleHeld = false;
  if (!browseArmed) {
    browseArmed = true;
    return;
  }
  ShowValueDisplay(true);
  if (session.connected) {
    SendDeviceMessage(BuildSelectPreset(session.currentPreset));
    blinkCount = 0;
  }
  browseArmed = false;
}

void QD3Control::OnSaveButton() {
  if (!saveHeld) {
    SetControlValue(kTagSaveButton, 1.0);
    saveHeld = true;
    return;
  }
  SetControlValue(kTagSaveButton, 0.0);
  saveHeld = false;
  if (!session.saveArmed) {
    session.saveArmed = true;
    return;
  }
  ShowValueDisplay(true);
  if (session.connected) {
    // The pedal stores its edit buffer into the slot and answers with its dump,
    // which ends the armed state.
    SendDeviceMessage(BuildParamChange(kDeviceParamStore, session.currentPreset));
    blinkCount = 0;
    session.saveAwaiting = true;
  } else {
    session.saveArmed = false;
  }
}

// ---- auto filter ----

void QD3Control::OnAutoFilterSwitch() {
  if (!mScreen) return;
  IControlHandle* button = mScreen->GetControlWithTag(kTagAutoFilterSwitch);
  if (!button) return;
  if (button->GetValue() != 0.0) {  // the release
    button->SetValueFromCode(0.0);
    button->SetDirty();
    return;
  }
  autoFilterOn = !autoFilterOn;
  button->SetValueFromCode(1.0);
  button->SetDirty();
  // The change handler lights the LED and sends the change to the pedal.
  SetParameterValue(kParamAutoFilterOn, autoFilterOn ? 1.0 : 0.0);
}

// ---- idle tick ----

void QD3Control::PedalFaceIdleTick() {
  if (!IsWindowOpen()) {
    // A switch held while the window went never gets its release. Let go of it
    // without sending, or the auto-repeat would walk the current preset on unseen
    // and a later store would land in whatever slot it reached.
    nextHeld = prevHeld = middleHeld = saveHeld = false;
  }
  if (nextHeld) RepeatHeldSwitch(+1);
  if (prevHeld) RepeatHeldSwitch(-1);
  BlinkDisplay();
}

void QD3Control::RepeatHeldSwitch(int step) {
  const int c = repeatTicks;
  repeatTicks = c + 1;
  const int count = c + 1;
  const bool due = c >= 0 && (count > kSlowRepeatLimit || count % kSlowRepeatTicks == 0);
  if (!due) return;
  // Only the number moves; the release sends the final one.
  session.currentPreset = Wrapped(session.currentPreset + step);
  if (IsWindowOpen()) SetDisplayNumber();
}

void QD3Control::BlinkDisplay() {
  const bool free = !nextHeld && !prevHeld;
  const int n = blinkPhase;
  // Counts one blink cycle of a store sent; after enough the armed state ends
  // without the pedal's dump.
  auto countAwaitedCycle = [this](bool& armed) {
    if (!session.saveAwaiting) return;
    if (++blinkCount > kAwaitBlinkCycles) {
      armed = false;
      session.saveAwaiting = false;
      blinkCount = 0;
    }
  };
  if (session.saveArmed) {
    if (n == kStoreShowPhase) {
      if (free) ShowValueDisplay(true);
      countAwaitedCycle(session.saveArmed);
    } else if (n == kStoreHidePhase && free) {
      ShowValueDisplay(false);
    }
    blinkPhase = n >= kStoreLastPhase ? 0 : n + 1;
  } else if (browseArmed) {
    if (n == kBrowseHidePhase && free) ShowValueDisplay(false);
    if (n == kBrowseShowPhase) {
      if (free) ShowValueDisplay(true);
      countAwaitedCycle(browseArmed);
    }
    blinkPhase = n >= kBrowseLastPhase ? 0 : n + 1;
  }
}

}  // namespace qd3
