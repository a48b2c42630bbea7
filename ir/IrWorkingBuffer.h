#pragma once

// The editor's working impulse response: what the IR display draws and, in its first 1200
// samples, what an upload sends. 4096 samples at 44100 Hz, full scale +-1.0, plus the IR
// gain (linear, 1.0 at start).

#include <array>
#include <cstddef>

namespace qd3 {

inline constexpr std::size_t kIrWorkingSamples = 4096;
inline constexpr double kDeviceIrSampleRate = 44100.0;

struct IrWorkingBuffer {
  std::array<double, kIrWorkingSamples> samples{};
  double gain = 1.0;
};

}  // namespace qd3
