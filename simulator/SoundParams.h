#pragma once

// What the pedal knows about the values it stores: the 65 sound parameters of a preset
// (their start values and ranges), the numbering used by kCmdParamChange, and the fields
// of the global-settings block. The editor's catalogue index is the identity here too:
// sound parameter i sits at byte 34 + i of a preset record.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace qd3::sim {

inline constexpr int kSoundParamCount = 65;

struct ParamRange {
  uint8_t start = 0;  // the value a fresh preset holds
  uint8_t min = 0;
  uint8_t max = 127;
};

// Indexed by catalogue index 0..64.
extern const std::array<ParamRange, kSoundParamCount> kSoundParams;

// `raw` limited to the range of sound parameter `index` (0..64).
uint8_t ClampSoundValue(int index, int raw);

// ---- kCmdParamChange numbering ---------------------------------------------------------------
// Device numbers 0..15 are indices 0..15, 20..67 are indices 16..63 and 16 is index 64.
// 17 and 19 mean nothing; 18 stores the edit buffer into the slot given as value.

inline constexpr int kDeviceParamStore = 18;
// Device numbers of the two halves of both user-IR numbers (indices 53..56); the pedal
// acknowledges each of them with kCmdAck.
inline constexpr int kDeviceParamIrFirst = 57;
inline constexpr int kDeviceParamIrLast = 60;

// The catalogue index a device parameter number edits, or nothing.
std::optional<int> SoundIndexOfDeviceParam(int deviceParam);

// ---- Global-settings block (kBlockGlobalSettings, data bytes d0..d255) ------------------------

inline constexpr std::size_t kGlobalCurrentPreset = 0;  // d0: the current preset, filled live
// d11..d13 carry sound parameters 33..35 of the edit buffer.
inline constexpr std::size_t kGlobalMirrorFirst = 11;
inline constexpr int kGlobalMirrorIndexFirst = 33;
inline constexpr int kGlobalMirrorCount = 3;
// d6 ("edit pot display mode") travels as 0 or 2.
inline constexpr std::size_t kGlobalPotDisplay = 6;
inline constexpr uint8_t kPotDisplayNumeric = 2;
inline constexpr std::size_t kGlobalProtection = 9;  // d9: preset protection on (1) or off (0)

// One stored setting: catalogue index 80..90, its data byte, its start value and maximum.
struct GlobalField {
  int index = 0;
  std::size_t dataByte = 0;
  uint8_t start = 0;
  uint8_t max = 1;
};
inline constexpr int kGlobalFieldCount = 11;
extern const std::array<GlobalField, kGlobalFieldCount> kGlobalFields;

// The field of catalogue index 80..90, or null.
const GlobalField* FindGlobalField(int index);

// ---- Knob controller map (kBlockControllerMap) and program map --------------------------------

inline constexpr int kControllerCount = 8;  // DRIVE, LOW, MID, HIGH, REVERB, GATE, FILTER, LEVEL
inline constexpr int kControllerIndexFirst = 91;  // catalogue indices 91..98
inline constexpr uint8_t kControllerStart = 16;   // knob k answers MIDI controller 16 + k

}  // namespace qd3::sim
