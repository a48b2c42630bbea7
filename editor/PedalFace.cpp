#include "editor/PedalFace.h"

#include "params/DeviceParamNumbers.h"
#include "presets/SlotLabels.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

// Idle ticks (20 ms each) a parameter value stays on the two-digit display
// before it shows the preset number again.
constexpr int kValueDisplayHoldTicks = 60;
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

void PedalFace::OnNextSwitch() {
  PresetSwitch(mNeeds.face.nextHeld, kTagRightSwitch, +1);
}

void PedalFace::OnPreviousSwitch() {
  PresetSwitch(mNeeds.face.prevHeld, kTagLeftSwitch, -1);
}

void PedalFace::PresetSwitch(bool& held, int tag, int step) {
  if (held) {
    ReleasePresetSwitch(held, tag);
  } else {
    PressPresetSwitch(held, tag, step);
  }
}

void PedalFace::PressPresetSwitch(bool& held, int tag, int step) {
  mNeeds.screen.SetValue(tag, 1.0);
  held = true;
  mNeeds.face.repeatTicks = kRepeatStartTicks;
  StepCurrentPreset(step);
  if (!mNeeds.screen.IsOpen()) return;
  mNeeds.screen.ShowPresetModified(false);
  mNeeds.screen.Hide(kTagValueDisplay, false);
  mNeeds.edit.presetModified = false;
}

void PedalFace::ReleasePresetSwitch(bool& held, int tag) {
  mNeeds.screen.SetValue(tag, 0.0);
  held = false;
  const DeviceSession& session = mNeeds.session;
  // While storing or browsing is armed the number is only a choice on the display.
  if (session.connected && !session.saveArmed && !mNeeds.face.browseArmed) {
    mNeeds.outbox.Send(BuildSelectPreset(session.currentPreset));
  }
}

void PedalFace::StepCurrentPreset(int step) {
  mNeeds.session.currentPreset = Wrapped(mNeeds.session.currentPreset + step);
  SetDisplayNumber();
}

void PedalFace::SetDisplayNumber() {
  mNeeds.screen.SetText(kTagValueDisplay,
                        SlotNumberText(mNeeds.session.currentPreset, PatchOffsetOf(mNeeds.params)));
}

void PedalFace::ShowValueDisplay(bool show) {
  mNeeds.screen.Hide(kTagValueDisplay, !show);
}

// ---- middle switch and save button ----

void PedalFace::OnBrowseSwitch() {
  PedalFaceState& face = mNeeds.face;
  if (!face.middleHeld) {
    mNeeds.screen.SetValue(kTagMiddleSwitch, 1.0);
    face.middleHeld = true;
    return;
  }
  mNeeds.screen.SetValue(kTagMiddleSwitch, 0.0);
  face.middleHeld = false;
  if (!face.browseArmed) {
    face.browseArmed = true;
    return;
  }
  ShowValueDisplay(true);
  if (mNeeds.session.connected) {
    mNeeds.outbox.Send(BuildSelectPreset(mNeeds.session.currentPreset));
    face.blinkCount = 0;
  }
  face.browseArmed = false;
}

void PedalFace::OnSaveButton() {
  PedalFaceState& face = mNeeds.face;
  DeviceSession& session = mNeeds.session;
  if (!face.saveHeld) {
    face.saveHeld = true;
    LightSaveButton();
    return;
  }
  face.saveHeld = false;
  if (!session.saveArmed) {
    session.saveArmed = true;
    LightSaveButton();
    return;
  }
  ShowValueDisplay(true);
  if (session.connected) {
    // The pedal stores its edit buffer into the slot and answers with its dump,
    // which ends the armed state.
    mNeeds.outbox.Send(BuildParamChange(kDeviceParamStore, session.currentPreset));
    face.blinkCount = 0;
    session.saveAwaiting = true;
  } else {
    session.saveArmed = false;
  }
  LightSaveButton();
}

void PedalFace::LightSaveButton() {
  // Lit while held and while storing is armed, so the player sees the next pick stores.
  const bool lit = mNeeds.face.saveHeld || mNeeds.session.saveArmed;
  if (lit == mNeeds.face.saveLit) return;
  mNeeds.face.saveLit = lit;
  mNeeds.screen.SetValue(kTagSaveButton, lit ? 1.0 : 0.0);
}

// ---- auto filter ----

void PedalFace::OnAutoFilterSwitch() {
  ScreenWriter& screen = mNeeds.screen;
  if (!screen.HasControl(kTagAutoFilterSwitch)) return;
  if (screen.Value(kTagAutoFilterSwitch) != 0.0) {  // the release
    screen.SetValue(kTagAutoFilterSwitch, 0.0);
    return;
  }
  PedalFaceState& face = mNeeds.face;
  face.autoFilterOn = !face.autoFilterOn;
  screen.SetValue(kTagAutoFilterSwitch, 1.0);
  // The change handler lights the LED and sends the change to the pedal.
  mNeeds.writer.SetParameterValue(kParamAutoFilterOn, face.autoFilterOn ? 1.0 : 0.0);
}

// ---- keys ----

bool PedalFace::OnKey(EditorKey key) {
  const PedalFaceState& face = mNeeds.face;
  switch (key) {
    case EditorKey::kPreviousPreset:
      // A switch held with the mouse keeps its press; the key would release it.
      if (face.prevHeld) return false;
      OnPreviousSwitch();
      OnPreviousSwitch();
      return true;
    case EditorKey::kNextPreset:
      if (face.nextHeld) return false;
      OnNextSwitch();
      OnNextSwitch();
      return true;
    case EditorKey::kStore:
      if (face.saveHeld) return false;
      // Arm first unless the save button already did, then confirm.
      if (!mNeeds.session.saveArmed) {
        OnSaveButton();
        OnSaveButton();
      }
      OnSaveButton();
      OnSaveButton();
      return true;
    default:  // Escape and the list's keys belong to others
      break;
  }
  return false;
}

// ---- idle tick ----

bool PedalFace::IdleTickNeeded() const {
  const PedalFaceState& face = mNeeds.face;
  return face.valueDisplayHold || face.nextHeld || face.prevHeld || face.browseArmed ||
         mNeeds.session.saveArmed || mNeeds.session.saveAwaiting;
}

void PedalFace::OnIdleTick() {
  PedalFaceState& face = mNeeds.face;
  if (face.valueDisplayHold && ++face.valueDisplayTicks > kValueDisplayHoldTicks) {
    face.valueDisplayHold = false;
    face.valueDisplayTicks = 0;
    SetDisplayNumber();
  }
  if (!mNeeds.screen.IsOpen()) {
    // A switch held while the window went never gets its release. Let go of it
    // without sending, or the auto-repeat would walk the current preset on unseen
    // and a later store would land in whatever slot it reached.
    face.nextHeld = face.prevHeld = face.middleHeld = face.saveHeld = false;
  }
  if (face.nextHeld) RepeatHeldSwitch(+1);
  if (face.prevHeld) RepeatHeldSwitch(-1);
  BlinkDisplay();
}

void PedalFace::RepeatHeldSwitch(int step) {
  PedalFaceState& face = mNeeds.face;
  const int c = face.repeatTicks;
  face.repeatTicks = c + 1;
  const int count = c + 1;
  const bool due = c >= 0 && (count > kSlowRepeatLimit || count % kSlowRepeatTicks == 0);
  if (!due) return;
  // Only the number moves; the release sends the final one.
  mNeeds.session.currentPreset = Wrapped(mNeeds.session.currentPreset + step);
  if (mNeeds.screen.IsOpen()) SetDisplayNumber();
}

// Counts one blink cycle of a store sent; after enough the armed state ends without
// the pedal's dump.
void PedalFace::CountAwaitedCycle(bool& armed) {
  DeviceSession& session = mNeeds.session;
  if (!session.saveAwaiting) return;
  if (++mNeeds.face.blinkCount > kAwaitBlinkCycles) {
    armed = false;
    session.saveAwaiting = false;
    mNeeds.face.blinkCount = 0;
  }
}

void PedalFace::BlinkDisplay() {
  PedalFaceState& face = mNeeds.face;
  DeviceSession& session = mNeeds.session;
  // The pedal's dump or the time-out ends the armed state elsewhere.
  LightSaveButton();
  const bool free = !face.nextHeld && !face.prevHeld;
  const int n = face.blinkPhase;
  if (session.saveArmed) {
    if (n == kStoreShowPhase) {
      if (free) ShowValueDisplay(true);
      CountAwaitedCycle(session.saveArmed);
    } else if (n == kStoreHidePhase && free) {
      ShowValueDisplay(false);
    }
    face.blinkPhase = n >= kStoreLastPhase ? 0 : n + 1;
  } else if (face.browseArmed) {
    if (n == kBrowseHidePhase && free) ShowValueDisplay(false);
    if (n == kBrowseShowPhase) {
      if (free) ShowValueDisplay(true);
      CountAwaitedCycle(face.browseArmed);
    }
    face.blinkPhase = n >= kBrowseLastPhase ? 0 : n + 1;
  }
}

}  // namespace qd3
