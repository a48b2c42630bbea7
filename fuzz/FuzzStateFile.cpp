// The simulator's state-file decoder on arbitrary bytes. Holds: no sanitizer report; a
// refused image leaves the state untouched; an accepted one encodes back to exactly the
// same bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzSupport.h"
#include "simulator/DefaultState.h"
#include "simulator/StateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qd3::sim::PedalState kDefault = qd3::sim::DefaultPedalState();
  static const qd3::Bytes kDefaultImage = qd3::sim::EncodeState(kDefault);
  qd3::sim::PedalState state = kDefault;
  const auto status = qd3::sim::DecodeState(std::span<const uint8_t>(data, size), state);
  if (status != qd3::sim::StateFileStatus::kOk) {
    FUZZ_CHECK(qd3::sim::EncodeState(state) == kDefaultImage);
    return 0;
  }
  const qd3::Bytes again = qd3::sim::EncodeState(state);
  FUZZ_CHECK(again.size() == size && std::equal(again.begin(), again.end(), data));
  return 0;
}
