#pragma once

// The pedal's firmware loader (model byte 0x02). kLoaderEnter wakes it; it then takes a
// kLoaderBegin with the group count G and the first 240 groups, middle kLoaderData chunks
// of 240 groups while more than 240 remain, and a last kLoaderData with the remaining
// groups and the 14-bit sum of all G groups. Only the count received so far tells a
// middle chunk (247 bytes) from a last one (k + 9 bytes), so a chunk of any other length
// than the count predicts ends the update as failed.

#include <cstdint>
#include <optional>
#include <span>

#include "protocol/DeviceMessages.h"

namespace qd3::sim {

class FirmwareLoader {
 public:
  enum class Verdict : uint8_t {
    kNone,    // nothing to answer
    kReady,   // entered: answer kLoaderReady
    kDone,    // image complete and checksum right: answer kLoaderDone
    kFailed,  // answer kLoaderFailed
  };

  // One loader message (model 0x02). `failCheck` makes the final check fail regardless.
  Verdict Receive(std::span<const uint8_t> message, bool failCheck);

  // Between kLoaderEnter and the verdict the running pedal is away.
  bool Active() const { return mActive; }
  // The image of the last accepted update, unpacked from its groups.
  const Bytes& LastImage() const { return mLastImage; }

 private:
  Verdict Begin(std::span<const uint8_t> message);
  Verdict Data(std::span<const uint8_t> message, bool failCheck);
  Verdict Fail();
  void Take(std::span<const uint8_t> groups);

  bool mActive = false;
  bool mBegun = false;
  std::size_t mTotal = 0;  // G
  Bytes mGroups;           // received so far, at most G
  uint32_t mSum = 0;       // of the received groups
  Bytes mLastImage;
};

}  // namespace qd3::sim
