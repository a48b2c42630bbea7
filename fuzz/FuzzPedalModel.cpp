// The simulated pedal's message handler fed a sequence of messages split from the input
// at every 0xF7. Holds: no sanitizer report, and every reply the pedal gives is a message
// the editor's codec recognises (a pedal reply the editor cannot read is a simulator bug).
//
// Every input starts from the same pedal: one model is kept for the process and
// copy-assigned from a pristine one first. The assignment reuses the state's storage
// (about 790 kB of presets and IRs), where a fresh model per input would map and fault
// in new pages each time.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzSupport.h"
#include "protocol/MessageMatch.h"
#include "simulator/DefaultState.h"
#include "simulator/PedalModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qd3::sim::PedalModel kPristine(qd3::sim::DefaultPedalState());
  static qd3::sim::PedalModel pedal = kPristine;
  pedal = kPristine;
  for (const auto message : qd3::fuzz::SplitAtEndBytes(std::span<const uint8_t>(data, size))) {
    for (const auto& reply : pedal.Receive(message)) {
      const std::span<const uint8_t> bytes(reply);
      FUZZ_CHECK(qd3::MatchFromDevice(bytes).has_value() ||
                 qd3::MatchLoaderFromDevice(bytes).has_value());
    }
  }
  return 0;
}
