#pragma once

// The global-settings block (kBlockGlobalSettings, 256 data bytes d0..d255): the
// pedal's unit-wide settings, parameters 80..90 and 33..35, and its current preset.
//
//   d0        current preset 0..127
//   d1..d10   parameters 80..89 (d6, "EDIT POT DISPLAY MODE", travels as 0 or 2)
//   d11..d13  parameters 33..35 ("Soft Clipping", "AnalogSim Gain", "Anti-aliasing")
//   d14, d15  0
//   d16       parameter 90 ("CABINET BYPASS")
//   d17..d255 0

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "protocol/DeviceMessages.h"

namespace qd3 {

// Where one parameter of the block travels.
struct GlobalSettingsSlot {
  int param;             // catalogue index
  std::size_t dataByte;  // d-index within the 256 data bytes
};

inline constexpr std::size_t kGlobalCurrentPresetByte = 0;
inline constexpr std::size_t kGlobalEditPotDisplayByte = 6;
// The pedal keeps "Numerical Value (0-127)" as 2; the editor's parameter has 0 and 1.
inline constexpr uint8_t kEditPotNumericalOnWire = 2;
inline constexpr std::size_t kGlobalSettingsCount = 14;

inline constexpr std::array<GlobalSettingsSlot, kGlobalSettingsCount> kGlobalSettingsLayout{{
    {80, 1},
    {81, 2},
    {82, 3},
    {83, 4},
    {84, 5},
    {85, 6},
    {86, 7},
    {87, 8},
    {88, 9},
    {89, 10},
    {33, 11},
    {34, 12},
    {35, 13},
    {90, 16},
}};

// The raw value of a catalogue parameter.
using RawValueOf = std::function<int(int param)>;

// The 256 data bytes for the editor's settings and its current preset.
std::array<uint8_t, kRecordSize> EncodeGlobalSettings(int currentPreset, const RawValueOf& raw);
// The whole kCmdDataBlock type 0 message.
Bytes BuildGlobalSettingsBlock(int currentPreset, const RawValueOf& raw);

// A received block, as raw parameter values.
struct ReceivedGlobalSettings {
  int currentPreset = 0;
  struct Value {
    int param;
    int raw;
  };
  std::array<Value, kGlobalSettingsCount> values{};
};
// d6 above 0 reads as 1; the bytes outside the layout are ignored.
ReceivedGlobalSettings DecodeGlobalSettings(std::span<const uint8_t, kRecordSize> data);

}  // namespace qd3
