#pragma once

// The steps get, put and diff of a slot share: the player's slot number checked against
// the pedal's "PATCH OFFSET", one slot read whole as a preset file, and a preset file
// written with its folder.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/SessionDriver.h"
#include "presets/PresetRecord.h"

namespace qd3::cli {

// The slot index 0..127 that the pedal shows as `shown`; nullopt, with the reason on
// `err`, when it shows no such number (0 with "1-128", 128 with "0-127").
std::optional<int> SlotIndexOnPedal(const SessionDriver& driver, int shown, std::ostream& err);

struct SlotAsFile {
  PresetRecord record;
  std::vector<uint8_t> bytes;  // the preset file
  int irBlocks = 0;
};

// Fetches slot 0..127 and the user IRs its preset uses into the preset file the editor's
// EXPORT writes. The preset keeps the name the pedal holds (the EXPORT names it after the
// file instead). An IR that does not arrive fails it all: a file without the block would
// quietly lose the IR. Exit status; the reason on `err`.
int ReadSlotAsPresetFile(SessionDriver& driver, int slot, SlotAsFile& file, std::ostream& err);

// Writes the file through a temporary file and a rename, its folder created when missing.
// Exit status; the reason on `err`.
int WritePresetFileTo(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                      std::ostream& err);

// "Backups/QD3 preset 05 YYYY-MM-DD HHMMSS.q3p" below the base folder: put's copy of the
// slot it overwrites, named by the number the player gave.
std::filesystem::path SlotSafetyCopyPath(const std::filesystem::path& baseFolder,
                                         const std::string& shownSlot, const std::tm& localTime);

// The preset's name as the pedal shows it, safe for the terminal.
std::string ShownPresetName(const PresetRecord& record);

}  // namespace qd3::cli
