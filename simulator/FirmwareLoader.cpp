#include "simulator/FirmwareLoader.h"

#include <algorithm>

#include "protocol/Checksum14.h"
#include "protocol/MessageMatch.h"
#include "protocol/SevenBit.h"

namespace qd3::sim {

FirmwareLoader::Verdict FirmwareLoader::Receive(std::span<const uint8_t> message, bool failCheck) {
  const auto command = MatchLoaderToDevice(message);
  if (!command) return Verdict::kNone;
  if (*command == kLoaderEnter) {
    mActive = true;
    mBegun = false;
    mGroups.clear();
    mSum = 0;
    return Verdict::kReady;
  }
  if (!mActive) return Verdict::kNone;
  if (*command == kLoaderBegin) return Begin(message);
  if (*command == kLoaderData) return Data(message, failCheck);
  return Verdict::kNone;
}

FirmwareLoader::Verdict FirmwareLoader::Begin(std::span<const uint8_t> message) {
  const int count = Read21(message, kLoaderGroupCountOffset).value_or(0);
  if (count <= 0) return Fail();
  mTotal = static_cast<std::size_t>(count);
  mGroups.clear();
  mGroups.reserve(mTotal);
  mSum = 0;
  mBegun = true;
  // The first chunk is always a whole chunk; beyond G it holds only padding.
  Take(message.subspan(kLoaderBeginGroupsOffset, std::min(mTotal, kLoaderChunkGroups)));
  return Verdict::kNone;
}

FirmwareLoader::Verdict FirmwareLoader::Data(std::span<const uint8_t> message, bool failCheck) {
  if (!mBegun) return Fail();
  const std::size_t remaining = mTotal - mGroups.size();
  if (remaining > kLoaderChunkGroups) {
    if (message.size() != kLoaderDataSize) return Fail();
    Take(message.subspan(kLoaderDataGroupsOffset, kLoaderChunkGroups));
    return Verdict::kNone;
  }
  if (message.size() != remaining + kLoaderLastOverhead) return Fail();
  Take(message.subspan(kLoaderDataGroupsOffset, remaining));
  const int received = Read14(message, kLoaderDataGroupsOffset + remaining).value_or(-1);
  if (failCheck || received != Checksum14FromSum(mSum).Value()) return Fail();
  mLastImage = Unpack7Bit(mGroups);
  mActive = false;
  mBegun = false;
  mGroups.clear();
  return Verdict::kDone;
}

FirmwareLoader::Verdict FirmwareLoader::Fail() {
  mActive = false;
  mBegun = false;
  mGroups.clear();
  mSum = 0;
  return Verdict::kFailed;
}

void FirmwareLoader::Take(std::span<const uint8_t> groups) {
  for (const uint8_t group : groups) {
    mGroups.push_back(group & kDataMask);
    mSum += group & kDataMask;
  }
}

}  // namespace qd3::sim
