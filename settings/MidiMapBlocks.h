#pragma once

// The pedal's two MIDI tables as data blocks of 256 bytes:
//   kBlockProgramMap (type 2):    d0..d127 the preset recalled for MIDI program 0..127,
//                                 d128..d255 0
//   kBlockControllerMap (type 1): d0..d7 the controller numbers of the knobs DRIVE, LOW,
//                                 MID, HIGH, REVERB, GATE, FILTER, LEVEL, d8..d255 0

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/DeviceMessages.h"

namespace qd3 {

inline constexpr std::size_t kProgramMapSize = 128;
inline constexpr std::size_t kKnobControllerCount = 8;

using ProgramMap = std::array<uint8_t, kProgramMapSize>;
using KnobControllers = std::array<int, kKnobControllerCount>;

// Entry p = p: every program recalls the preset of its own number.
ProgramMap IdentityProgramMap();

Bytes BuildProgramMapBlock(const ProgramMap& map);
ProgramMap DecodeProgramMap(std::span<const uint8_t, kRecordSize> data);

Bytes BuildControllerMapBlock(const KnobControllers& controllers);
// d8..d255 are not part of the map and are ignored.
KnobControllers DecodeControllerMap(std::span<const uint8_t, kRecordSize> data);

}  // namespace qd3
