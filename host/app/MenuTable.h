#pragma once

#include <array>
#include <string>
#include <string_view>

#include "QD3ControlScreenNames.h"

namespace qd3 {

// What a menu entry does when chosen.
enum class MenuAction {
  kEditorCommand,  // OnMenuCommand(editorCommand)
  kPreferences,    // the "Preferences" dialog
  kQuit,           // closes the main window
  kAbout,          // the editor's about page
  kManual,         // writes and opens the owner's manual
  kSeparator,
};

struct MenuEntry {
  std::string_view menu;  // "&File", "&Edit" or "&Help"
  std::string_view text;  // with '&' before the mnemonic, '\t' before the accelerator
  int number;             // the command number of the entry; 0 for separators
  MenuAction action;
  int editorCommand;  // for kEditorCommand
};

// The menu bar, in display order.
inline constexpr std::array<MenuEntry, 15> kMenuEntries{{
    {"&File", "&Import All Presets to QD3...", kMenuBankImport, MenuAction::kEditorCommand,
     kEditorCmdBankImport},
    {"&File", "&Export All Presets from QD3 ...", kMenuBankExport, MenuAction::kEditorCommand,
     kEditorCmdBankExport},
    {"&File", "", 0, MenuAction::kSeparator, 0},
    {"&File", "&Firmware Update...", kMenuFirmwareUpdate, MenuAction::kEditorCommand,
     kEditorCmdFirmwareUpdate},
    {"&File", "&Factory Presets Update...", kMenuFactoryUpdate, MenuAction::kEditorCommand,
     kEditorCmdFactoryUpdate},
    {"&File", "&Clear Cache Data", kMenuClearCache, MenuAction::kEditorCommand,
     kEditorCmdClearCache},
    {"&File", "", 0, MenuAction::kSeparator, 0},
    {"&File", "&MIDI Settings...\tCtrl+,", kMenuMidiSettings, MenuAction::kPreferences, 0},
    {"&File", "&QD3 Global Settings...", kMenuGlobalSettings, MenuAction::kEditorCommand,
     kEditorCmdGlobalSettings},
    {"&File", "", 0, MenuAction::kSeparator, 0},
    {"&File", "&Quit", kMenuQuit, MenuAction::kQuit, 0},
    // Their labels name the step when the menu opens ("Undo Drive change").
    {"&Edit", "&Undo\tCtrl+Z", kMenuUndo, MenuAction::kEditorCommand, kEditorCmdUndo},
    {"&Edit", "&Redo\tCtrl+Shift+Z", kMenuRedo, MenuAction::kEditorCommand, kEditorCmdRedo},
    {"&Help", "&About", kMenuAbout, MenuAction::kAbout, 0},
    {"&Help", "&Read Manual", kMenuReadManual, MenuAction::kManual, 0},
}};

// The label GTK shows: '&' becomes the mnemonic mark '_', a literal '_' is
// doubled, and the accelerator text after '\t' is dropped (GTK draws its own).
std::string GtkMnemonicLabel(std::string_view text);

}  // namespace qd3
