#pragma once

// The editor's named fields, grouped by what they describe. The editor object holds
// one of each and hands each part a reference to the groups it works on.

#include <array>
#include <string>

#include "ir/IrNames.h"
#include "ir/IrWorkingBuffer.h"
#include "params/ParamCatalogue.h"

namespace qd3 {

// Whether the pedal's answer to a map page's request arrived since the page opened. A page
// whose map never came shows defaults, and those must never be sent over the pedal's map.
struct MapsRead {
  bool program = false;
  bool controller = false;
};

// The edit buffer against what the pedal holds.
struct EditBufferState {
  // What the pedal holds for parameters 0..64, as far as the editor knows.
  std::array<int, kNumSoundParams> liveValues{};
  // Parameters 0..64 of the preset as last received from the pedal.
  std::array<int, kNumSoundParams> deviceSnapshot{};
  bool presetModified = false;
  bool templateApplied = false;
  // Text of the preset name entry field as the editor knows it.
  std::string presetNameText = "Tolvane QD3 Default Preset Name";
};

// The pedal face's switches and its two-digit display.
struct PedalFaceState {
  // "Held" is between a switch's press and its release.
  bool nextHeld = false;
  bool prevHeld = false;
  bool middleHeld = false;
  bool saveHeld = false;
  // The middle switch armed browsing: stepping shows numbers, the pedal keeps its preset.
  bool browseArmed = false;
  // Mirrors parameter 60; the auto-filter switch toggles it.
  bool autoFilterOn = false;
  int repeatTicks = 0;   // auto-repeat counter of a held left or right switch
  int blinkPhase = 0;    // 0..7 while storing is armed, 0..15 while browsing is armed
  int blinkCount = 0;    // blink cycles counted after a store was sent
  bool saveLit = false;  // the save button shown pressed: held, or storing armed
  bool valueDisplayHold = false;
  int valueDisplayTicks = 0;
};

// Impulse responses as the editor knows and shows them.
struct ImpulseResponseState {
  // The working IR buffer (4096 samples at 44.1 kHz and the IR gain) the display draws.
  IrWorkingBuffer irBuffer;
  // Names of the user IRs 0..287 and, at 288 and 289, of the current preset's two
  // user-IR positions.
  UserIrNames userIrNames;
  // The cabinet selector's nine position names.
  CabinetPositionNames positionNames;
  // The 32 rows of the user-IR list, as the pedal last named them.
  IrListRows irListRows;
  // The folder the WAV dialog opens in: the last WAV file chosen.
  std::string lastWavPath;
  // What the last WAV load kept of its file, for the IR page.
  std::string irConversionSummary;
};

// The files the dialogs start from: the last preset file and bank file chosen.
struct FileChoices {
  std::string presetFilePath;
  std::string bankFilePath;
};

// "PATCH OFFSET": the number the player sees for slot 0.
inline int PatchOffsetOf(const ParamCatalogue& params) {
  return params[kParamPatchOffset].Raw();
}

}  // namespace qd3
