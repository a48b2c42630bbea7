#pragma once

#include <array>
#include <string>
#include <string_view>

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
  std::string_view menu;  // "&File" or "&Help"
  std::string_view text;  // with '&' before the mnemonic, '\t' before the accelerator
  int number;             // the command number of the entry; 0 for separators
  MenuAction action;
  int editorCommand;  // for EditorCommand
};

inline constexpr int kCmdMidiSettings = 40006;

// The menu bar, in display order.
inline constexpr std::array<MenuEntry, 13> kMenuEntries{{
    {"&File", "&Import All Presets to QD3...", 40033, MenuAction::kEditorCommand, 5},
    {"&File", "&Export All Presets from QD3 ...", 40034, MenuAction::kEditorCommand, 6},
    {"&File", "", 0, MenuAction::kSeparator, 0},
    {"&File", "&Firmware Update...", 40029, MenuAction::kEditorCommand, 1},
    {"&File", "&Factory Presets Update...", 40036, MenuAction::kEditorCommand, 8},
    {"&File", "&Clear Cache Data", 40031, MenuAction::kEditorCommand, 3},
    {"&File", "", 0, MenuAction::kSeparator, 0},
    {"&File", "&MIDI Settings...\tCtrl+,", kCmdMidiSettings, MenuAction::kPreferences, 0},
    {"&File", "&QD3 Global Settings...", 40030, MenuAction::kEditorCommand, 2},
    {"&File", "", 0, MenuAction::kSeparator, 0},
    {"&File", "&Quit", 40007, MenuAction::kQuit, 0},
    {"&Help", "&About", 40005, MenuAction::kAbout, 0},
    {"&Help", "&Read Manual", 40008, MenuAction::kManual, 0},
}};

// The label GTK shows: '&' becomes the mnemonic mark '_', a literal '_' is
// doubled, and the accelerator text after '\t' is dropped (GTK draws its own).
std::string GtkMnemonicLabel(std::string_view text);

}  // namespace qd3
