#pragma once

// Builds the factory preset bank: 128 kCmdWriteFactoryPreset messages of 267 bytes, slot
// k in message k, each record format 1.0 with 32 spaces in the position-7 IR name and
// 32 zero bytes in the position-8 IR name, except the three presets that play IRs of
// the pedal's own factory bank in position 8 and carry those IRs' names there.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "presets/PresetRecord.h"
#include "protocol/DeviceMessages.h"

namespace qd3::factory_bank {

inline constexpr int kFactoryPresetCount = 128;
inline constexpr std::size_t kFactoryBankSize = kFactoryPresetCount * kRecordMessageSize;

// Slots whose position 8 plays an IR of the pedal's factory bank (numbers 256..287),
// with the IR number and the name the record carries for it.
struct FactoryBankIrUse {
  int slot;
  int irNumber;
  std::string_view irName;
};
inline constexpr std::array<FactoryBankIrUse, 3> kFactoryBankIrUses = {{
    {3, 256, "Factory Bank 1"},
    {4, 257, "Factory Bank 2"},
    {5, 258, "Factory Bank 3"},
}};

// Value of parameter 14 "IR" that selects cabinet position 1..8 exactly (no crossfade
// with its neighbour): the smallest a with floor(a / 127 * 80) = 10 * position.
constexpr int CabinetSelectorValue(int position) {
  return (127 * position + 7) / 8;
}

struct FactoryBank {
  Bytes messages;  // kFactoryBankSize bytes
  // One line per value the catalogue had to clamp: a mistake in the preset tables.
  std::vector<std::string> problems;
};

// The record of one slot; problems are appended to `problems`.
PresetRecord BuildFactoryRecord(int slot, std::vector<std::string>& problems);

FactoryBank BuildFactoryBank();

}  // namespace qd3::factory_bank
