#pragma once

// 7-bit numbers and the bit-stream packing of 8-bit images into 7-bit groups.
//
// Packing reads the image as one bit stream, each byte most significant bit first,
// and cuts it into 7-bit groups, each sent as one data byte 0..127. The last group is
// padded with zero bits and the sender always adds one group more than floor(8N / 7),
// so a multiple of 7 bits ends with a whole zero group (7 bytes -> 9 groups). The
// receiver expects floor(7G / 8) bytes from G groups and drops the padding.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

// ---- One data byte ---------------------------------------------------------------------------

// A value sent as one data byte: held to 0..127, never wrapped (200 goes out as 127, not
// as 72).
inline uint8_t Clamp7(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, static_cast<int>(kDataMask)));
}

// ---- Numbers wider than 7 bits, most significant byte first ----------------------------------

// Only the low 14 (21) bits of n are sent; callers keep n in range.
std::array<uint8_t, 2> Split14(int n);
std::array<uint8_t, 3> Split21(int n);

// hi * 128 + lo read at bytes[offset], bytes[offset + 1]; each byte is taken as 7 bits so
// a garbled byte cannot push the value out of range. Empty when the bytes are not there.
std::optional<int> Read14(std::span<const uint8_t> bytes, std::size_t offset);
// (b0 * 128 + b1) * 128 + b2 from three bytes at offset, each taken as 7 bits.
std::optional<int> Read21(std::span<const uint8_t> bytes, std::size_t offset);

// ---- Packing ---------------------------------------------------------------------------------

// G = floor(8N / 7) + 1 groups for N image bytes.
std::size_t PackedGroupCount(std::size_t byteCount);
// N = floor(7G / 8) image bytes from G groups.
std::size_t UnpackedByteCount(std::size_t groupCount);

struct PackResult {
  std::size_t groupCount = 0;  // G, padding group included
  Checksum14Pair checksum;     // over all G groups
};

// Packs the image into the first G entries of `groups`. Empty, with nothing written, when
// `groups` holds fewer than G entries.
std::optional<PackResult> Pack7Bit(std::span<const uint8_t> bytes, std::span<uint8_t> groups);
// Convenience: the G groups as a new vector.
Bytes Pack7Bit(std::span<const uint8_t> bytes);

// ---- Unpacking -------------------------------------------------------------------------------

// Turns a stream of 7-bit groups, fed one per call, back into bytes. After Reset(N) it
// produces exactly N bytes into its own buffer and ignores every later bit, so surplus
// or garbled groups can never write past the buffer.
class SevenBitUnpacker {
 public:
  explicit SevenBitUnpacker(std::size_t capacity = kIrReceiveBufferSize);

  // Expects `byteCount` bytes. Returns false, expecting nothing, when they exceed the
  // capacity. Clears the output either way.
  bool Reset(std::size_t byteCount);

  // Takes the 7 low bits of `group`, most significant first.
  void Feed(uint8_t group);
  // Feeds one zero group, completing a byte whose last bits the sender left out.
  void Flush() { Feed(0); }

  std::span<const uint8_t> Output() const { return {mBuffer.data(), mFill}; }
  std::size_t Capacity() const { return mBuffer.size(); }
  bool Complete() const { return mBitsToProduce == 0; }

 private:
  Bytes mBuffer;                   // allocated once, `capacity` bytes
  std::size_t mFill = 0;           // bytes produced so far
  std::size_t mBitsToProduce = 0;  // starts at 8N, counts down to 0
  int mBitsLeftInGroup = 0;        // unread bits of the current group
  uint32_t mGroup = 0;             // the current group, shifted left as bits are read
  uint32_t mAssembling = 0;        // bits of the byte being assembled, right aligned
};

// Convenience: unpacks all groups, then flushes; returns floor(7G / 8) bytes.
Bytes Unpack7Bit(std::span<const uint8_t> groups);

}  // namespace qd3
