#include "protocol/MessageFrame.h"

#include <algorithm>
#include <cassert>

#include "protocol/Checksum14.h"

namespace qd3::frame {

Bytes Make(uint8_t model, uint8_t command, std::size_t length) {
  assert(length >= kStatusMinSize);
  Bytes message(std::max(length, kStatusMinSize), 0);
  message[kStartOffset] = kSysExStart;
  std::copy(kManufacturerId.begin(), kManufacturerId.end(), message.begin() + kManufacturerOffset);
  message[kModelOffset] = model;
  message[kCommandOffset] = command & kDataMask;
  message.back() = kSysExEnd;
  return message;
}

Bytes MakeDevice(uint8_t command, std::size_t length) {
  // The shortest pedal message still has the version byte before the trailing F7.
  assert(length >= kNoPayloadSize);
  Bytes message = Make(kModelDevice, command, std::max(length, kNoPayloadSize));
  message[kVersionOffset] = kFormatVersion;
  return message;
}

uint8_t Field7(int value, int max) {
  assert(max <= kMax7);
  return static_cast<uint8_t>(FieldWide(value, max));
}

int FieldWide(int value, int max) {
  assert(value >= 0 && value <= max);
  return std::clamp(value, 0, max);
}

void CopyData(std::span<const uint8_t> src, std::size_t count, Bytes& message, std::size_t offset) {
  assert(src.size() == count);
  assert(offset + count <= message.size());
  const std::size_t n = std::min({src.size(), count, message.size() - offset});
  for (std::size_t i = 0; i < n; ++i) message[offset + i] = src[i] & kDataMask;
}

Bytes MakeRecordMessage(uint8_t command, uint8_t selector, std::span<const uint8_t> data256) {
  Bytes message = MakeDevice(command, kRecordMessageSize);
  message[kSelectorOffset] = selector;
  CopyData(data256, kRecordSize, message, kRecordOffset);
  const Checksum14Pair sum =
      Checksum14(std::span<const uint8_t>(message).subspan(kRecordOffset, kRecordSize));
  message[kChecksumHiOffset] = sum.hi;
  message[kChecksumLoOffset] = sum.lo;
  return message;
}

}  // namespace qd3::frame
