#pragma once

// The pedal's memory on disk, so that the demo pedal keeps its presets between runs.
//
// Binary, little-endian, format 1:
//   0   8  magic "QD3SIMST"
//   8   4  format version (1)
//   12  4  payload length P
//   16  P  payload, in this order:
//          firmware version (1), current preset (1), serial length (1), serial (32),
//          128 preset records, 128 factory-bank records, edit buffer (256 bytes each),
//          global-settings data bytes (256), controller map (8), program map (128),
//          256 user IRs, 32 factory-bank IRs, 8 cabinet IRs (2436 bytes each)
//   16+P 4 CRC-32 of the payload
// Loading checks all of it and changes nothing unless the whole file is good. Saving
// writes a temporary file beside the target and renames it over the target.

#include <cstdint>
#include <filesystem>
#include <span>

#include "protocol/DeviceMessages.h"
#include "simulator/PedalState.h"

namespace qd3::sim {

enum class StateFileStatus : uint8_t {
  kOk,
  kCannotOpen,
  kWrongSize,  // short, long or truncated
  kBadMagic,
  kNewerFormat,    // written by a later version of the simulator
  kUnknownFormat,  // a format number below the first one, which nothing writes
  kBadCrc,
  kBadContent,  // a value out of its range (8-bit data in a record, preset 200, ...)
  kWriteFailed,
};

const char* DescribeStateFileStatus(StateFileStatus status);

Bytes EncodeState(const PedalState& state);
// Fills `out` only when the whole image is good.
StateFileStatus DecodeState(std::span<const uint8_t> image, PedalState& out);

StateFileStatus SaveStateFile(const PedalState& state, const std::filesystem::path& path);
// Checks the file's size before reading any of it: a file of the wrong size (a 2 GiB
// file, say) is kWrongSize without being read.
StateFileStatus LoadStateFile(const std::filesystem::path& path, PedalState& out);

// Loading at start-up, where the state is saved again at exit:
// - temporaries "<name>.tmp.<pid>" left beside the file by a process that no longer
//   runs are removed;
// - a file that exists but is not good is renamed to "<name>.bad" (replacing an older
//   one), so that the save at exit does not wipe out the only trace of the damage.
struct StartLoad {
  StateFileStatus status = StateFileStatus::kCannotOpen;  // kCannotOpen also when missing
  std::filesystem::path setAside;                         // the ".bad" file, when one was made
  int removedTemporaries = 0;
};
StartLoad LoadStateFileAtStart(const std::filesystem::path& path, PedalState& out);

// CRC-32 (IEEE 802.3, reflected, as zlib computes it).
uint32_t Crc32(std::span<const uint8_t> bytes);

}  // namespace qd3::sim
