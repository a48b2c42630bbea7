#pragma once

// Everything the simulated pedal remembers: its 128 preset slots and the factory bank a
// reset restores them from, the current preset and its edit buffer, the global settings,
// both MIDI maps, every impulse response it holds, its serial number and firmware version.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"
#include "simulator/SoundParams.h"

namespace qd3::sim {

// ---- Preset record: 256 bytes, all 7-bit -------------------------------------------------------

using Record = std::array<uint8_t, kRecordSize>;

inline constexpr std::size_t kRecordFormatMajorOffset = 0;
inline constexpr std::size_t kRecordFormatMinorOffset = 1;
inline constexpr uint8_t kRecordFormatMajor = 1;
inline constexpr uint8_t kRecordFormatMinor = 0;
inline constexpr std::size_t kRecordNameOffset = 2;       // 32 characters, space padded
inline constexpr std::size_t kRecordParamsOffset = 34;    // sound parameter i at 34 + i
inline constexpr std::size_t kRecordIrNameAOffset = 192;  // user IR of cabinet position 7
inline constexpr std::size_t kRecordIrNameBOffset = 224;  // user IR of cabinet position 8

// Sound parameter indices with a meaning of their own to the pedal.
inline constexpr int kParamIrModeA = 40;  // position 7 uses a user IR
inline constexpr int kParamIrModeB = 41;  // position 8 uses a user IR
inline constexpr int kParamIrAHigh = 53;  // position 7 IR number = 128 * p53 + p54
inline constexpr int kParamIrALow = 54;
inline constexpr int kParamIrBHigh = 55;  // position 8 IR number = 128 * p55 + p56
inline constexpr int kParamIrBLow = 56;

uint8_t& RecordParam(Record& record, int index);
uint8_t RecordParam(const Record& record, int index);
std::span<uint8_t, kNameSize> RecordName(Record& record);
// True when the record is 7-bit clean and says format 1.0.
bool IsValidRecord(std::span<const uint8_t> record);
Checksum14Pair RecordChecksum(const Record& record);

// ---- Impulse-response image: 2436 bytes, little-endian ---------------------------------------

inline constexpr std::size_t kIrImageSize = 2436;
using IrImage = std::array<uint8_t, kIrImageSize>;

inline constexpr std::size_t kIrFormatOffset = 0;  // 16-bit, always 1
inline constexpr std::size_t kIrGainOffset = 2;    // 16-bit Q15
inline constexpr std::size_t kIrNameOffset32 = 4;  // 32 characters, space padded
inline constexpr std::size_t kIrSamplesOffset = 36;
inline constexpr std::size_t kIrSampleCount = 1200;  // 16-bit Q15 at 44.1 kHz
inline constexpr int kIrImageGroups = 2785;          // the image packed into 7-bit groups

std::span<const uint8_t, kNameSize> IrName(const IrImage& image);

// IR numbers: 0..255 user slots, 256..287 the pedal's own factory bank (read-only),
// 384..391 the cabinets of positions 1..8.
inline constexpr int kUserIrCount = 256;
inline constexpr int kFactoryBankFirst = 256;
inline constexpr int kFactoryBankCount = 32;
inline constexpr int kCabinetFirst = 384;
inline constexpr int kCabinetCount = 8;
// kCmdRequestIrNames groups: g = 4 * bank + k for banks 0..8, eight names each, so group
// g names IRs 8g .. 8g + 7.
inline constexpr int kIrNameGroupCount = 36;

// May the editor write IR `number`? User slots and cabinets yes, the factory bank no.
bool IsWritableIr(int number);

// ---- The whole state -------------------------------------------------------------------------

inline constexpr int kDefaultFirmwareVersion = 11;  // read as 1.1

struct PedalState {
  std::vector<Record> presets;         // kPresetCount slots
  std::vector<Record> factoryPresets;  // what a preset reset copies into the slots
  Record editBuffer{};
  int currentPreset = 0;

  // The data bytes of kBlockGlobalSettings as stored. d0 and d11..d13 are not kept here:
  // they are filled from the current preset and the edit buffer when the block is sent.
  std::array<uint8_t, kRecordSize> globals{};
  std::array<uint8_t, kControllerCount> controllerMap{};
  std::array<uint8_t, kPresetCount> programMap{};

  std::vector<IrImage> userIrs;         // kUserIrCount
  std::vector<IrImage> factoryBankIrs;  // kFactoryBankCount
  std::vector<IrImage> cabinetIrs;      // kCabinetCount

  std::string serial;  // at most 32 ASCII characters
  int firmwareVersion = kDefaultFirmwareVersion;

  friend bool operator==(const PedalState&, const PedalState&) = default;
};

// The image of IR `number`, or null for a number the pedal does not have.
const IrImage* FindIr(const PedalState& state, int number);
IrImage* FindIr(PedalState& state, int number);

bool PresetProtectionOn(const PedalState& state);

// The 256 data bytes of each block as the pedal sends them.
std::array<uint8_t, kRecordSize> GlobalSettingsData(const PedalState& state);
std::array<uint8_t, kRecordSize> ControllerMapData(const PedalState& state);
std::array<uint8_t, kRecordSize> ProgramMapData(const PedalState& state);
std::array<uint8_t, kRecordSize> PresetChecksumData(const PedalState& state);

// Takes a received block's data bytes into the state, each value limited to its range.
void ApplyGlobalSettings(PedalState& state, std::span<const uint8_t, kRecordSize> data);
void ApplyControllerMap(PedalState& state, std::span<const uint8_t, kRecordSize> data);
void ApplyProgramMap(PedalState& state, std::span<const uint8_t, kRecordSize> data);

}  // namespace qd3::sim
