#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qd3 {

// What a menu entry does when chosen.
enum class MenuAction {
  EditorCommand,  // OnMenuCommand(editorCommand)
  Preferences,    // the "Preferences" dialog
  Quit,           // closes the main window
  About,          // the editor's about page
  Manual,         // writes and opens the owner's manual
  Separator,
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
    {"&File", "&Import All Presets to QD3...", 40033, MenuAction::EditorCommand, 5},
    {"&File", "&Export All Presets from QD3 ...", 40034, MenuAction::EditorCommand, 6},
    {"&File", "", 0, MenuAction::Separator, 0},
    {"&File", "&Firmware Update...", 40029, MenuAction::EditorCommand, 1},
    {"&File", "&Factory Presets Update...", 40036, MenuAction::EditorCommand, 8},
    {"&File", "&Clear Cache Data", 40031, MenuAction::EditorCommand, 3},
    {"&File", "", 0, MenuAction::Separator, 0},
    {"&File", "&MIDI Settings...\tCtrl+,", kCmdMidiSettings, MenuAction::Preferences, 0},
    {"&File", "&QD3 Global Settings...", 40030, MenuAction::EditorCommand, 2},
    {"&File", "", 0, MenuAction::Separator, 0},
    {"&File", "&Quit", 40007, MenuAction::Quit, 0},
    {"&Help", "&About", 40005, MenuAction::About, 0},
    {"&Help", "&Read Manual", 40008, MenuAction::Manual, 0},
}};

// The label GTK shows: '&' becomes the mnemonic mark '_', a literal '_' is
// doubled, and the accelerator text after '\t' is dropped (GTK draws its own).
std::string GtkMnemonicLabel(std::string_view text);

}  // namespace qd3
