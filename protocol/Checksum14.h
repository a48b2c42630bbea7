#pragma once

// The pedal's 14-bit checksum: the plain sum of the covered 7-bit data bytes modulo
// 16384, sent as two data bytes, high 7 bits first.

#include <cstdint>
#include <span>

namespace qd3 {

struct Checksum14Pair {
  uint8_t hi = 0;
  uint8_t lo = 0;

  // The 14-bit value hi * 128 + lo.
  int Value() const { return (hi << 7) | lo; }

  friend bool operator==(const Checksum14Pair&, const Checksum14Pair&) = default;
};

// Splits a running sum of any size into the two bytes of its low 14 bits.
Checksum14Pair Checksum14FromSum(uint32_t sum);

// Sum of the bytes, taken as unsigned values, modulo 16384.
Checksum14Pair Checksum14(std::span<const uint8_t> bytes);

// True when bytes 264 (hi) and 265 (lo) of a 267-byte record message hold the checksum
// of its bytes 8..263. False for anything shorter than 267 bytes.
bool VerifyRecordChecksum(std::span<const uint8_t> message267);

}  // namespace qd3
