#pragma once

#include "screens/ScreenBuild.h"

namespace qd3 {

// The 128 preset rows, the preset picker over the visible rows and the scroll bar.
void BuildPresetList(ScreenBuild& s);
// "IMPORT" and "EXPORT" of single preset files.
void BuildPresetFileButtons(ScreenBuild& s);
// The IR display, the dynamics graph (hidden), the IR caption (hidden) and the
// click target over the whole graph area.
void BuildGraphArea(ScreenBuild& s);
// The preset name entry, the three device status lines and "RECONNECT".
void BuildNameAndStatus(ScreenBuild& s);
// The 32 rows of one bank of user IRs, kept as list state and never shown.
void BuildUserIrListRows(ScreenBuild& s);

}  // namespace qd3
