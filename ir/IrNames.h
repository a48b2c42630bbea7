#pragma once

// The names the editor keeps for impulse responses:
//   - the nine cabinet position names of the selector list, positions 1..8 overridden by
//     the names in the factory IR cache files;
//   - `UserIrNames`: user IRs 0..287 by number from the cache, and at 288 / 289 the names
//     of the current preset's two user-IR positions;
//   - `irListRows`: the 32 rows of the user-IR list, filled from the pedal's kCmdIrNames.
// Missing cache files are not errors: they give the initial texts.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ir/IrNumbers.h"
#include "presets/PresetCache.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

// "Empty Slot %d" of `oneBased`.
std::string EmptySlotName(int oneBased);

// ---- cabinet positions --------------------------------------------------------------------------

inline constexpr std::array<std::string_view, kCabinetPositionCount> kInitialPositionNames = {
    "FLAT RESPONSE", "TOLVANE",   "BLONDE 2x12", "TWEED 4x10",   "CALI 1x12",
    "CALI 4x12",     "BLUE 2x12", "BRIT 2x12",   "BOUTIQUE 4x12"};

class CabinetPositionNames {
 public:
  CabinetPositionNames();

  // Position 0..8; "" outside.
  const std::string& Name(int position) const;

  // Start-up: every position 1..8 whose factory IR cache file opens takes its name.
  void LoadFromCache(const PresetCache& cache);
  // After the factory IR cache file of `position` (1..8) was written. A position whose
  // file does not open keeps the name it has.
  void ReloadPosition(const PresetCache& cache, int position);

 private:
  std::array<std::string, kCabinetPositionCount> mNames;
};

// ---- user IR names ------------------------------------------------------------------------------

inline constexpr int kUserIrNameCount = 290;
inline constexpr int kCachedUserIrNames = 288;  // entries 0..287 are IR numbers
inline constexpr int kUserIrNamePositionA = 288;
inline constexpr int kUserIrNamePositionB = 289;

class UserIrNames {
 public:
  UserIrNames();

  // Entry 0..289; "" outside.
  const std::string& Name(int entry) const;
  // Sets an entry, cut to 32 characters; entries outside 0..289 are ignored.
  void Set(int entry, std::string_view name);

  // Start-up: entry m (0..287) = the trimmed name in the cache file of user IR m, or
  // "Empty Slot %d" of (m mod 32) + 1 when it does not open.
  void LoadFromCache(const PresetCache& cache);
  // The same for one IR number 0..287; others are ignored.
  void Reload(const PresetCache& cache, int irNumber);

 private:
  std::array<std::string, kUserIrNameCount> mNames;
};

// ---- the user-IR list -------------------------------------------------------------------------

struct IrListRowUpdate {
  int row = 0;  // 0..31
  std::string text;
};

struct IrNamesUpdate {
  int group = 0;  // byte 7 of the message
  std::array<IrListRowUpdate, kIrNamesPerGroup> rows;
  std::optional<Bytes> nextRequest;  // kCmdRequestIrNames for the next group of the bank
};

// A verified kCmdIrNames (267 bytes, byte 6 0x0B, good checksum) as list rows: name k of
// group g goes to row 8 (g & 3) + k, a blank name becoming "Empty Slot %d" of that row + 1;
// the next group is requested while (g + 1) & 3 is not 0, so a request for the bank's first
// group walks through all four. Anything else gives nothing.
std::optional<IrNamesUpdate> ReadIrNames(std::span<const uint8_t> message);

class IrListRows {
 public:
  static constexpr int kRowCount = kIrBankSize;

  IrListRows();  // "Empty Slot 1" .. "Empty Slot 32"

  const std::string& Row(int row) const;  // "" outside 0..31
  void Set(int row, std::string_view text);
  void Apply(const IrNamesUpdate& update);

 private:
  std::array<std::string, kRowCount> mRows;
};

}  // namespace qd3
