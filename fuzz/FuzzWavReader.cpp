// The WAV reader on arbitrary bytes. Holds: a rejected file leaves the working buffer's
// samples and gain exactly as they were; an accepted one never changes the gain and
// keeps every sample finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "fuzz/FuzzSupport.h"
#include "ir/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qd3::IrWorkingBuffer buffer;
  for (std::size_t i = 0; i < buffer.samples.size(); ++i) {
    buffer.samples[i] = static_cast<double>(i % 7) * 0.125 - 0.25;
  }
  buffer.gain = 0.625;
  const qd3::IrWorkingBuffer before = buffer;

  const qd3::WavReadResult result = qd3::ReadWav(std::span<const uint8_t>(data, size), buffer);
  FUZZ_CHECK(buffer.gain == before.gain);
  if (!result.Ok()) {
    FUZZ_CHECK(std::memcmp(buffer.samples.data(), before.samples.data(), sizeof buffer.samples) ==
               0);
    FUZZ_CHECK(!result.reason.empty());
    return 0;
  }
  for (double sample : buffer.samples) FUZZ_CHECK(std::isfinite(sample));
  FUZZ_CHECK(result.summary.keptSamples >= 0 && result.summary.keptSamples <= 1200);
  return 0;
}
