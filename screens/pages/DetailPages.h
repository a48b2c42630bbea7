#pragma once

#include "screens/ScreenBuild.h"

namespace qd3 {

// The detail pages in their order of creation: ambience (two groups), analog
// simulation, gate, the impulse-response page's frame, master level, drive,
// parallel clean, the three filters, auto filter, then every page's title.
void BuildDetailPages(ScreenBuild& s);

// The impulse-response page's panel, load buttons, mode switches, gain knobs and
// texts, with the gain knobs and load buttons disabled, then the position slider.
void BuildIrPageControls(ScreenBuild& s);

// The cabinet list of the impulse-response page and the position picker over it.
void BuildCabinetList(ScreenBuild& s);

}  // namespace qd3
