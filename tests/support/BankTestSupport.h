#pragma once

// Bank files built from the codec, for the bank file and transfer tests.

#include <cstdint>
#include <vector>

#include "protocol/DeviceMessages.h"
#include "protocol/MessageBuilders.h"
#include "protocol/TransferBuffer.h"
#include "tests/support/IrTransferMessages.h"

namespace qd3::test {

// A pedal's kCmdPresetDump of `slot` with a record whose bytes depend on `seed`.
inline Bytes PresetDump(int slot, uint8_t seed = 1) {
  std::vector<uint8_t> record(kRecordSize);
  for (std::size_t i = 0; i < record.size(); ++i)
    record[i] = static_cast<uint8_t>((i + seed) & 0x7F);
  record[0] = 1;
  record[1] = 0;
  Bytes m = BuildRestorePreset(slot, record);
  m[kCommandOffset] = kCmdPresetDump;
  return m;
}

// The IR transfer (begin, data..., end) of an image of `imageBytes` bytes, as the pedal
// sends it for IR `number`.
inline std::vector<Bytes> IrTransfer(int number, std::size_t imageBytes, uint8_t seed = 3) {
  std::vector<uint8_t> image(imageBytes);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 31 + seed);
  return test::IrTransferMessages(image, number);
}

inline Bytes Concat(const std::vector<Bytes>& messages) {
  Bytes out;
  for (const Bytes& m : messages) out.insert(out.end(), m.begin(), m.end());
  return out;
}

// The 7-byte status reply with command `command`.
inline Bytes Status(uint8_t command) {
  return Bytes{0xF0, 0x00, 0x3F, 0x6B, 0x03, command, 0xF7};
}

}  // namespace qd3::test
