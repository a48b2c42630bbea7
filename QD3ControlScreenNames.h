#pragma once

// What the editor writes on the screen, in one place: the tags under which the screens
// attach the controls that code outside the screens touches, the group names that are
// shown, hidden, enabled and disabled together, the fixed texts, the colours and the
// menu command numbers. Pure data: the screens, the editor and the host all read it,
// and only the screens know where anything is drawn. A control no code touches carries
// the toolkit's kNoTag.

#include <cstdint>

#include "params/GroupNames.h"
#include "protocol/Handshake.h"
#include "protocol/TransferTexts.h"

namespace qd3 {

// ---- tags ----
inline constexpr int kTagValueDisplay = 1;    // the pedal's two-digit display
inline constexpr int kTagProgressValue = 53;  // common progress overlay
inline constexpr int kTagProgressText = 54;
// Cabinet selector rows of positions 1..8 (64..71); rows 7 and 8 are also the names of
// the preset's two user-IR positions.
// The pedal face's switches, the save button and the auto-filter LED.
inline constexpr int kTagRightSwitch = 55;
inline constexpr int kTagLeftSwitch = 56;
inline constexpr int kTagSaveButton = 57;
inline constexpr int kTagMiddleSwitch = 58;
inline constexpr int kTagAutoFilterSwitch = 59;
inline constexpr int kTagAutoFilterLed = 60;
inline constexpr int kTagCabinetRowFirst = 64;
inline constexpr int kTagIrNameA = 70;
inline constexpr int kTagIrNameB = 71;
inline constexpr int kTagFactoryProgressText = 73;  // factory-update overlay
inline constexpr int kTagFactoryProgressValue = 74;
inline constexpr int kTagIrHint = 93;                 // "CLICK HERE TO EDIT IMPULSE RESPONSE"
inline constexpr int kTagIrNameField = 94;            // single IR name sent by the pedal
inline constexpr int kTagPresetName = 138;            // preset name entry field
inline constexpr int kTagFirmwareProgressText = 139;  // firmware screen
inline constexpr int kTagFirmwareProgressValue = 140;
inline constexpr int kTagDeviceLine = 141;  // device status lines
inline constexpr int kTagVersionLine = 142;
inline constexpr int kTagSerialLine = 143;
inline constexpr int kTagFirmwareBackground = 145;
// Controls the change handler follows from other parameters.
inline constexpr int kTagCompRatioText = 9;     // compressor ratio text (no page builds it)
inline constexpr int kTagExpRatioText = 13;     // expander ratio text (no page builds it)
inline constexpr int kTagUserIrGainKnobA = 25;  // gain knobs of user-IR positions 7 and 8
inline constexpr int kTagUserIrGainKnobB = 26;
inline constexpr int kTagIrSelectorSlider = 61;  // the mirrored "IR" slider (parameter 73)
inline constexpr int kTagUserIrImportA = 62;     // "IMPORT" of positions 7 and 8
inline constexpr int kTagUserIrImportB = 63;
// What the last WAV load kept of its file, on the IR page.
inline constexpr int kTagIrConversionSummary = 150;

// "EDITED" beside the preset name while the edit buffer differs from the stored preset.
inline constexpr int kTagEditedMarker = 152;
// "COMPARE": lit while the pedal plays the stored preset instead of the edited sound.
inline constexpr int kTagCompareButton = 153;
// The field that filters the preset list (Ctrl+F).
inline constexpr int kTagPresetFilter = 154;
// The preset list's picker, which also opens its menu (right click, the Menu key, a drag).
inline constexpr int kTagPresetListPicker = 155;
// The common progress panel's heading and its Cancel button.
inline constexpr int kTagProgressHeading = 52;
inline constexpr int kTagProgressCancel = 151;
inline constexpr int kTagFactoryProgressHeading = 72;

// Where a transfer shows its progress: a value, a "%d %%" text and the group of both, the
// heading that says which transfer runs, and whether its Cancel button is live.
struct ProgressTarget {
  int valueTag;
  int textTag;
  const char* group;
  int headingTag = -1;            // -1: the panel has no heading of its own
  const char* heading = nullptr;  // nullptr: the heading stays as it is
  bool cancellable = false;
};
namespace progress_detail {
constexpr ProgressTarget Common(const char* heading, bool cancellable = false) {
  return {.valueTag = kTagProgressValue,
          .textTag = kTagProgressText,
          .group = group::kProgress,
          .headingTag = kTagProgressHeading,
          .heading = heading,
          .cancellable = cancellable};
}
}  // namespace progress_detail
inline constexpr ProgressTarget kCommonProgress{kTagProgressValue, kTagProgressText,
                                                group::kProgress, kTagProgressHeading};
inline constexpr ProgressTarget kSyncProgress = progress_detail::Common("Loading Presets...", true);
inline constexpr ProgressTarget kExportProgress =
    progress_detail::Common("Exporting presets...", true);
// A safety backup names what it comes before.
inline constexpr ProgressTarget kBackupBeforeImportProgress =
    progress_detail::Common("Safety backup before the import...", true);
inline constexpr ProgressTarget kBackupBeforeFactoryProgress =
    progress_detail::Common("Safety backup before the factory update...", true);
inline constexpr ProgressTarget kBackupBeforeFirmwareProgress =
    progress_detail::Common("Safety backup before the firmware update...", true);
inline constexpr ProgressTarget kImportProgress = progress_detail::Common("Importing presets...");
inline constexpr ProgressTarget kIrFetchProgress = progress_detail::Common("Loading the IR...");
inline constexpr ProgressTarget kIrUploadProgress = progress_detail::Common("Sending the IR...");
inline constexpr ProgressTarget kFactoryProgress{
    kTagFactoryProgressValue, kTagFactoryProgressText, group::kFactoryProgress,
    kTagFactoryProgressHeading, "Upgrading Factory Presets..."};
inline constexpr ProgressTarget kFirmwareProgress{kTagFirmwareProgressValue,
                                                  kTagFirmwareProgressText, group::kFirmware};

// ---- texts of the status lines and message boxes ----
inline constexpr const char* kTextConnecting = "Connecting to the device...";
inline constexpr const char* kTextDeviceLine = "DEVICE: Varnex Tolvane QD3";
inline constexpr const char* kTextVersionLine = "VERSION: %.1f";
inline constexpr const char* kTextSerialLine = "SERIAL: ";
inline constexpr const char* kTextDeviceError = "ERROR!";
inline constexpr const char* kTextProgressPercent = "%d %%";
inline constexpr const char* kTextAreYouSure = "Are you sure?";

// ---- colours, 0xAARRGGBB ----
inline constexpr uint32_t kColorDisplay = 0xFFFFFFFF;  // preset number as stored
// The edit buffer differs: the number dimmed, yet legible (5:1 and more on the display's
// black); "EDITED" beside the name says it in words.
inline constexpr uint32_t kColorDisplayModified = 0xA0FFFFFF;
inline constexpr uint32_t kColorCurrentRow = 0xFF64FFFF;  // the current preset's row
inline constexpr uint32_t kColorOtherRow = 0x9664FFFF;    // every other row

// ---- menu ----
// Commands the menu hands to the editor's OnMenuCommand.
inline constexpr int kEditorCmdFirmwareUpdate = 1;
inline constexpr int kEditorCmdGlobalSettings = 2;
inline constexpr int kEditorCmdClearCache = 3;
inline constexpr int kEditorCmdBankImport = 5;
inline constexpr int kEditorCmdBankExport = 6;
inline constexpr int kEditorCmdFactoryUpdate = 8;
inline constexpr int kEditorCmdUndo = 9;
inline constexpr int kEditorCmdRedo = 10;
// The menu entries' own command numbers.
inline constexpr int kMenuAbout = 40005;
inline constexpr int kMenuMidiSettings = 40006;
inline constexpr int kMenuQuit = 40007;
inline constexpr int kMenuReadManual = 40008;
inline constexpr int kMenuFirmwareUpdate = 40029;
inline constexpr int kMenuGlobalSettings = 40030;
inline constexpr int kMenuClearCache = 40031;
inline constexpr int kMenuBankImport = 40033;
inline constexpr int kMenuBankExport = 40034;
inline constexpr int kMenuFactoryUpdate = 40036;
inline constexpr int kMenuUndo = 40040;
inline constexpr int kMenuRedo = 40041;

}  // namespace qd3
