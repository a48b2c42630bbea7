#pragma once

// Collects an impulse-response transfer from the pedal: kCmdIrBegin, any number of
// kCmdIrData, then kCmdIrEnd. The groups are unpacked as they arrive into a 4096-byte
// buffer and summed for the checksum; whether the sums agree and what to do with the
// bytes is the caller's decision.

#include <cstdint>
#include <span>

#include "protocol/SevenBit.h"

namespace qd3 {

enum class IrReceiveStatus : uint8_t {
  kReceiving,   // chunk taken, more to come
  kComplete,    // end taken, Result() is ready
  kTooLarge,    // the begin announced more than 4096 bytes: transfer refused
  kMalformed,   // not the expected message or of the wrong length: dropped, state unchanged
  kNotStarted,  // data or end with no accepted begin: dropped
};

struct IrReceiveResult {
  int irNumber = 0;
  std::span<const uint8_t> bytes;  // floor(7G / 8) bytes, valid until the next Begin
  int computedChecksum = 0;        // sum of all received groups modulo 16384
  int receivedChecksum = 0;        // the sender's, hi * 128 + lo

  bool ChecksumMatches() const { return computedChecksum == receivedChecksum; }
};

class IrReceiveState {
 public:
  // Starts a new transfer, dropping any under way.
  IrReceiveStatus Begin(std::span<const uint8_t> message);
  IrReceiveStatus Data(std::span<const uint8_t> message);
  // Takes the last groups, flushes the unpacker and reads the sender's checksum.
  IrReceiveStatus End(std::span<const uint8_t> message);

  bool Receiving() const { return mReceiving; }
  int IrNumber() const { return mIrNumber; }
  int GroupCount() const { return mGroupCount; }
  int ExpectedBytes() const { return mExpectedBytes; }
  int ProducedBytes() const { return static_cast<int>(mUnpacker.Output().size()); }
  // Every chunk the begin's group count calls for arrived: G groups in all (the begin's
  // 256 when G is smaller, the rest of its chunk then being padding).
  bool AllGroupsReceived() const;
  // The finished transfer; meaningful after End returned kComplete.
  IrReceiveResult Result() const;

 private:
  void TakeGroups(std::span<const uint8_t> groups);

  SevenBitUnpacker mUnpacker{kIrReceiveBufferSize};
  bool mReceiving = false;
  int mIrNumber = 0;
  int mGroupCount = 0;     // G from the begin
  int mExpectedBytes = 0;  // N = floor(7G / 8)
  int mGroupsReceived = 0;
  uint32_t mRunningSum = 0;
  int mReceivedChecksum = 0;
};

}  // namespace qd3
