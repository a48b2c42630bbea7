#pragma once

#include "screens/ScreenBuild.h"

namespace qd3 {

// Tags of the pedal face.
inline constexpr int kTagRightSwitch = 55;
inline constexpr int kTagLeftSwitch = 56;
inline constexpr int kTagSaveButton = 57;
inline constexpr int kTagMiddleSwitch = 58;
inline constexpr int kTagAutoFilterSwitch = 59;
inline constexpr int kTagAutoFilterLed = 60;

// The eight pedal knobs and the two texts of the two-digit display.
void BuildPedalKnobsAndDisplay(ScreenBuild& s);

// The foot switches (right, middle, left, auto filter), the auto-filter LED, hidden at
// once, and the save button.
void BuildPedalSwitches(ScreenBuild& s);

}  // namespace qd3
