#pragma once

// The overlay screens: pages that take over the canvas or its middle, each a control
// group built hidden after the main screen and the detail pages so that it lies above
// them. The editor shows and hides them by group name.

#include "screens/ScreenBuild.h"

namespace qd3 {

// The firmware screens: "fwbgcontrols", "fwupdatecontrols", "firmwarecontrols".
void BuildFirmwareScreens(ScreenBuild& s);
// The settings and map pages: "globalsettingscontrols", "midicccontrols", "midiprogramcontrols".
void BuildSettingsPage(ScreenBuild& s);
void BuildControllerMapPage(ScreenBuild& s);
void BuildProgramMapPage(ScreenBuild& s);
// The about screen and the progress panels: "aboutcontrols", "progresscontrols",
// "factorypresetcontrols".
void BuildAboutScreen(ScreenBuild& s);
void BuildProgressPanels(ScreenBuild& s);

}  // namespace qd3
