// The firmware image check and its streaming on arbitrary images. Holds: files of
// 65,536 bytes or more, images over 57,343 bytes and empty files send nothing; any other image
// starts with kLoaderEnter and, once the loader is ready, goes out in loader chunks
// the pedal's loader recognises, whose groups unpack to the image again.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "protocol/FirmwareStream.h"
#include "protocol/MessageMatch.h"
#include "protocol/SevenBit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> image(data, size);
  qd3::DeviceSession session;
  session.connected = true;
  qd3::TransferBuffer buffer;
  qd3::FirmwareStream stream(session, buffer);

  const qd3::TransferStep start = stream.Start(image);
  if (size == 0 || size > qd3::kFirmwareImageMaxSize) {
    FUZZ_CHECK(start.messages.empty());
    FUZZ_CHECK(start.end == qd3::TransferEnd::kFailed);
    return 0;
  }
  FUZZ_CHECK(start.messages.size() == 1);
  FUZZ_CHECK(qd3::MatchLoaderToDevice(start.messages[0]) == qd3::kLoaderEnter);
  FUZZ_CHECK(static_cast<std::size_t>(buffer.Total()) == qd3::PackedGroupCount(size));
  const std::vector<uint8_t> groups(buffer.Groups().begin(), buffer.Groups().end());
  const qd3::Bytes unpacked = qd3::Unpack7Bit(groups);
  FUZZ_CHECK(unpacked.size() == size && std::equal(unpacked.begin(), unpacked.end(), data));

  (void)stream.OnLoaderReady();
  FUZZ_CHECK(session.firmwareMode);
  // 57,343 bytes are 274 chunks of 240 groups; a few ticks more must change nothing.
  constexpr int kTickLimit = 300;
  int chunks = 0;
  for (int tick = 0; tick < kTickLimit; ++tick) {
    const qd3::TransferStep step = stream.OnTick();
    for (const qd3::Bytes& m : step.messages) {
      FUZZ_CHECK(qd3::MatchLoaderToDevice(m).has_value());
      ++chunks;
    }
  }
  FUZZ_CHECK(chunks >= 2);
  FUZZ_CHECK(!buffer.HasNextChunk());
  return 0;
}
