// The 7-bit unpacker and the IR receive state on arbitrary input.
//
// Input: byte 0 picks the unpacker's expected byte count (in 16-byte steps, past the
// 4096-byte buffer too); the rest is split at every 0xF7 into messages handed to an
// IrReceiveState as begin, data or end by their command byte, and fed as groups to the
// unpacker. Holds: nothing is written past either buffer (the sanitizers watch), the
// unpacker never produces more than it was told, and a refused message changes nothing.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/FuzzSupport.h"
#include "protocol/IrReceiveState.h"
#include "protocol/SevenBit.h"

using qd3::IrReceiveStatus;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::span<const uint8_t> input(data, size);
  const std::size_t expected = static_cast<std::size_t>(input[0]) * 16 + 16;

  qd3::SevenBitUnpacker unpacker;
  const bool accepted = unpacker.Reset(expected);
  FUZZ_CHECK(accepted == (expected <= unpacker.Capacity()));
  for (uint8_t group : input.subspan(1)) unpacker.Feed(group);
  unpacker.Flush();
  FUZZ_CHECK(unpacker.Output().size() <= (accepted ? expected : 0));
  const qd3::Bytes whole = qd3::Unpack7Bit(input.subspan(1));
  FUZZ_CHECK(whole.size() == qd3::UnpackedByteCount(input.size() - 1));

  qd3::IrReceiveState state;
  for (const auto message : qd3::fuzz::SplitAtEndBytes(input.subspan(1))) {
    const bool wasReceiving = state.Receiving();
    const int producedBefore = state.ProducedBytes();
    IrReceiveStatus status = IrReceiveStatus::kMalformed;
    const uint8_t command = message.size() > 5 ? message[5] : 0;
    if (command == qd3::kCmdIrBegin) {
      status = state.Begin(message);
    } else if (command == qd3::kCmdIrData) {
      status = state.Data(message);
    } else {
      status = state.End(message);
    }
    if (status == IrReceiveStatus::kMalformed || status == IrReceiveStatus::kNotStarted) {
      FUZZ_CHECK(state.Receiving() == wasReceiving);
      FUZZ_CHECK(state.ProducedBytes() == producedBefore);
    }
    FUZZ_CHECK(state.ProducedBytes() <= state.ExpectedBytes() || !state.Receiving());
    if (status == IrReceiveStatus::kComplete) {
      const auto result = state.Result();
      FUZZ_CHECK(result.bytes.size() <= qd3::kIrReceiveBufferSize);
      FUZZ_CHECK(result.computedChecksum >= 0 && result.computedChecksum < 16384);
    }
  }
  return 0;
}
