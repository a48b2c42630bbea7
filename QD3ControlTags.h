#pragma once

namespace qd3 {

// Tags under which the screens attach the controls that code outside the screens
// touches. Any other control carries kNoTag.
inline constexpr int kNoTag = -1;
inline constexpr int kTagValueDisplay = 1;    // the pedal's two-digit display
inline constexpr int kTagProgressValue = 53;  // common progress overlay
inline constexpr int kTagProgressText = 54;
inline constexpr int kTagIrNameA = 70;  // names of the preset's two user-IR positions
inline constexpr int kTagIrNameB = 71;
inline constexpr int kTagIrNameField = 94;  // single IR name sent by the pedal
inline constexpr int kTagPresetName = 138;  // preset name entry field
inline constexpr int kTagDeviceLine = 141;  // device status lines
inline constexpr int kTagVersionLine = 142;
inline constexpr int kTagSerialLine = 143;

// Control groups, the unit of showing, hiding, enabling and disabling.
inline constexpr const char* kGroupNeedsPedal = "bcontrols";
inline constexpr const char* kGroupProgress = "progresscontrols";
inline constexpr const char* kGroupGlobalSettings = "globalsettingscontrols";
inline constexpr const char* kGroupFirmware = "firmwarecontrols";
inline constexpr const char* kGroupFirmwareBackground = "fwbgcontrols";
inline constexpr const char* kGroupFirmwareUpdate = "fwupdatecontrols";
inline constexpr const char* kGroupMain = "maincontrols";

// Texts of the status lines and message boxes.
inline constexpr const char* kTextConnecting = "Connecting to the device...";
inline constexpr const char* kTextDeviceLine = "DEVICE: Varnex Tolvane QD3";
inline constexpr const char* kTextFinished = "Finished successfully!";

}  // namespace qd3
