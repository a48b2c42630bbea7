#pragma once

#include <array>

#include "params/ParamCatalogue.h"

namespace qd3 {

// Device parameter number carried by a live edit of sound parameter i:
// 0..15 keep their index, 16..63 move up by four (20..67), 64 is 16.
// 17, 18 and 19 belong to no parameter; 18 is the pedal's store command.
inline constexpr int kDeviceParamStore = 18;

inline constexpr std::array<int, kNumSoundParams> kDeviceParamNumber = [] {
  std::array<int, kNumSoundParams> numbers{};
  for (int i = 0; i < kNumSoundParams; ++i) {
    numbers[static_cast<size_t>(i)] = i <= 15 ? i : i <= 63 ? i + 4 : 16;
  }
  return numbers;
}();

}  // namespace qd3
