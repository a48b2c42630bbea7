#pragma once

// Helpers for talking to the simulated pedal in tests: hand-written hex, a model with a
// log, and the pieces of editor-side transfers (IR upload, firmware) built from the codec.

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"
#include "protocol/MessageBuilders.h"
#include "protocol/TransferBuffer.h"
#include "simulator/PedalModel.h"
#include "tests/support/IrTransferMessages.h"
#include "tests/support/TestBytes.h"

namespace qd3::sim::test {

using qd3::test::Hex;

// The 256 data bytes of a 267-byte message.
inline Bytes DataOf(const Bytes& message) {
  if (message.size() != kRecordMessageSize) return {};
  return Bytes(message.begin() + kRecordOffset, message.begin() + kRecordOffset + kRecordSize);
}

// Checks the frame of a 267-byte reply: envelope, command, selector, checksum, F7.
inline void ExpectRecordMessage(const Bytes& message, uint8_t command, uint8_t selector,
                                uint8_t versionByte = kFormatVersion) {
  ASSERT_EQ(message.size(), kRecordMessageSize);
  const Bytes head = {0xF0, 0x00, 0x3F, 0x6B, 0x03, command, versionByte, selector};
  EXPECT_EQ(Bytes(message.begin(), message.begin() + 8), head);
  uint32_t sum = 0;
  for (std::size_t i = kRecordOffset; i < kRecordOffset + kRecordSize; ++i) {
    EXPECT_LE(message[i], 0x7F) << "data byte " << i;
    sum += message[i];
  }
  EXPECT_EQ(message[kChecksumHiOffset], (sum >> 7) & 0x7F);
  EXPECT_EQ(message[kChecksumLoOffset], sum & 0x7F);
  EXPECT_EQ(message.back(), 0xF7);
}

// The messages the editor sends to upload `image` as IR `number`.
inline std::vector<Bytes> IrUploadMessages(std::span<const uint8_t> image, int number) {
  return qd3::test::IrTransferMessages(image, number);
}

// The loader messages (begin, data...) that carry `image`, checksum in the last.
inline std::vector<Bytes> FirmwareMessages(std::span<const uint8_t> image) {
  TransferBuffer transfer;
  transfer.Pack(image);
  std::vector<Bytes> messages;
  for (auto chunk = transfer.TakeNextLoaderChunk(); chunk.kind != ChunkKind::kNone;
       chunk = transfer.TakeNextLoaderChunk()) {
    messages.push_back(chunk.message);
  }
  return messages;
}

// A model that records its traffic log, for failure messages.
class PedalTest : public ::testing::Test {
 protected:
  PedalTest() {
    mPedal.SetLogSink([this](const std::string& line) { mLog += line + "\n"; });
  }

  Replies Send(const Bytes& message) { return mPedal.Receive(message); }
  Replies Send(std::string_view hex) { return mPedal.Receive(Hex(hex)); }

  // Sends every message and gathers all answers.
  Replies SendAll(const std::vector<Bytes>& messages) {
    Replies all;
    for (const Bytes& message : messages) {
      for (Bytes& reply : mPedal.Receive(message)) all.push_back(std::move(reply));
    }
    return all;
  }

  PedalModel mPedal;
  std::string mLog;
};

}  // namespace qd3::sim::test
