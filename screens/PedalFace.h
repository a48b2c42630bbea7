#pragma once

#include "screens/ScreenBuild.h"

namespace qd3 {

// The eight pedal knobs and the two texts of the two-digit display.
void BuildPedalKnobsAndDisplay(ScreenBuild& s);

// The foot switches (right, middle, left, auto filter), the auto-filter LED, hidden at
// once, and the save button.
void BuildPedalSwitches(ScreenBuild& s);

}  // namespace qd3
