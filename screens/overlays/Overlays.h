#pragma once

// The overlay screens: pages that take over the canvas or its middle, each a control
// group built hidden after the main screen and the detail pages so that it lies above
// them. The editor shows and hides them by group name.

#include "screens/ScreenBuild.h"

namespace qd3 {

// Step 17: "fwbgcontrols", "fwupdatecontrols", "firmwarecontrols".
void BuildFirmwareScreens(ScreenBuild& s);
// Step 19: "globalsettingscontrols", "midicccontrols", "midiprogramcontrols".
void BuildSettingsPage(ScreenBuild& s);
void BuildControllerMapPage(ScreenBuild& s);
void BuildProgramMapPage(ScreenBuild& s);
// Step 20: "aboutcontrols", "progresscontrols", "factorypresetcontrols".
void BuildAboutScreen(ScreenBuild& s);
void BuildProgressPanels(ScreenBuild& s);

}  // namespace qd3
