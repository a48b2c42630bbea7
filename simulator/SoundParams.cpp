#include "simulator/SoundParams.h"

#include <algorithm>

namespace qd3::sim {
namespace {

constexpr ParamRange Full(uint8_t start) {
  return {start, 0, 127};
}
constexpr ParamRange Small(uint8_t start, uint8_t min, uint8_t max) {
  return {start, min, max};
}

constexpr int kDeviceParamsDirectLast = 15;  // 0..15 map to themselves
constexpr int kDeviceParamPresetLevel = 16;  // carries index 64
constexpr int kPresetLevelIndex = 64;
constexpr int kDeviceParamShiftedFirst = 20;  // 20..67 carry indices 16..63
constexpr int kDeviceParamShiftedLast = 67;
constexpr int kDeviceParamShift = 4;

}  // namespace

const std::array<ParamRange, kSoundParamCount> kSoundParams = {{
    Full(64),        // 0 Level
    Full(64),        // 1 Gain
    Full(64),        // 2 Buzz
    Full(64),        // 3 Punch
    Full(64),        // 4 Crunch
    Full(64),        // 5 Drive
    Full(64),        // 6 Low
    Full(64),        // 7 High
    Full(0),         // 8 Reverb
    Full(0),         // 9 Gate
    Full(64),        // 10 Dynamics
    Full(64),        // 11 Punch Freq
    Full(64),        // 12 Mid
    Full(64),        // 13 Mid Shift
    Full(0),         // 14 IR (cabinet selector)
    Full(64),        // 15 AnalogSim
    Full(64),        // 16 Reverb Room Size
    Full(64),        // 17 Reverb Decay Time
    Full(100),       // 18 Reverb Diffusion
    Small(2, 2, 5),  // 19 Reverb Extension Factor
    Full(64),        // 20 Reverb Fbk. Delay Size
    Full(127),       // 21 Reverb Fbk. Filter
    Full(0),         // 22 Reverb Fbk. Damper Factor
    Full(127),       // 23 Reverb LP Filter
    Full(0),         // 24 Reverb HP Filter
    Full(0),         // 25 Compressor Ratio
    Full(64),        // 26 Compressor Output Gain
    Full(64),        // 27 Compressor Attack
    Full(64),        // 28 Compressor Release
    Full(0),         // 29 Expander Ratio
    Full(64),        // 30 Expander Output Gain
    Full(64),        // 31 Expander Attack
    Full(64),        // 32 Expander Release
    Full(127),       // 33 Soft Clipping
    Full(127),       // 34 AnalogSim Gain
    Full(127),       // 35 Anti-aliasing Filter
    Full(127),       // 36 Clean Input Level
    Full(0),         // 37 gate Compressor Ratio
    Full(0),         // 38 Gate Attack
    Full(64),        // 39 Gate Release
    Small(0, 0, 1),  // 40 IR Mode, position 7
    Small(0, 0, 1),  // 41 IR Mode, position 8
    Full(64),        // 42 User IR Gain, position 7
    Full(64),        // 43 User IR Gain, position 8
    Full(64),        // 44 Buzz Q
    Full(64),        // 45 Punch Q
    Full(64),        // 46 Crunch Q
    Full(64),        // 47 Mid Q
    Full(64),        // 48 Low Q
    Full(64),        // 49 High Q
    Small(1, 0, 1),  // 50 Auto Gain
    Small(0, 0, 1),  // 51 Lookahead
    Small(0, 0, 2),  // 52 Tuner
    Full(0),         // 53 User IR7 Preset MSB
    Full(0),         // 54 User IR7 Preset
    Full(0),         // 55 User IR8 Preset MSB
    Full(0),         // 56 User IR8 Preset
    Small(0, 0, 4),  // 57 Reverb Mode
    Full(0),         // 58 Reverb Modulation Depth
    Full(0),         // 59 Reverb Modulation Rate
    Small(0, 0, 1),  // 60 auto filter on/off
    Full(64),        // 61 auto filter level
    Full(64),        // 62 AF. Attack
    Full(64),        // 63 AF. Release
    Full(32),        // 64 Preset Level
}};

const std::array<GlobalField, kGlobalFieldCount> kGlobalFields = {{
    {80, 1, 0, 1},    // DEFINE MIDI MAPPING
    {81, 2, 0, 1},    // MIDI THRU MODE
    {82, 3, 0, 1},    // PATCH OFFSET
    {83, 4, 0, 1},    // MIDI CC MODE
    {84, 5, 0, 16},   // MIDI CC CHANNEL (0 = omni)
    {85, 6, 0, 1},    // EDIT POT DISPLAY MODE, stored as 0 or 2
    {86, 7, 0, 1},    // DISENGAGE ALL POTS
    {87, 8, 12, 24},  // TUNER FREQUENCY, 428 Hz + value
    {88, 9, 0, 1},    // PRESET PROTECTION WRITER
    {89, 10, 0, 2},   // TUNER DETUNE
    {90, 16, 0, 1},   // CABINET BYPASS
}};

uint8_t ClampSoundValue(int index, int raw) {
  const ParamRange& range = kSoundParams.at(static_cast<std::size_t>(index));
  return static_cast<uint8_t>(
      std::clamp(raw, static_cast<int>(range.min), static_cast<int>(range.max)));
}

std::optional<int> SoundIndexOfDeviceParam(int deviceParam) {
  if (deviceParam >= 0 && deviceParam <= kDeviceParamsDirectLast) return deviceParam;
  if (deviceParam == kDeviceParamPresetLevel) return kPresetLevelIndex;
  if (deviceParam >= kDeviceParamShiftedFirst && deviceParam <= kDeviceParamShiftedLast) {
    return deviceParam - kDeviceParamShift;
  }
  return std::nullopt;
}

const GlobalField* FindGlobalField(int index) {
  const auto it = std::find_if(kGlobalFields.begin(), kGlobalFields.end(),
                               [&](const GlobalField& field) { return field.index == index; });
  return it == kGlobalFields.end() ? nullptr : &*it;
}

}  // namespace qd3::sim
