#pragma once

// Small helpers for writing expected messages by hand in the tests.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "protocol/DeviceMessages.h"

namespace qd3::test {

// "F0 00 3F" -> {0xF0, 0x00, 0x3F}; pairs of hex digits separated by spaces.
inline Bytes Hex(std::string_view text) {
  auto digit = [](char c) {
    return static_cast<uint8_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
  };
  Bytes out;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == ' ') continue;
    out.push_back(static_cast<uint8_t>(digit(text[i]) << 4 | digit(text[i + 1])));
    ++i;
  }
  return out;
}

inline Bytes Text(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

inline Bytes Repeat(std::size_t count, uint8_t value) {
  return Bytes(count, value);
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// Deterministic 8-bit noise, so round trips see every bit pattern.
inline Bytes Noise(std::size_t count, uint32_t seed = 1) {
  Bytes out(count);
  for (uint8_t& b : out) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return out;
}

// Values 0..127 counting up, as a chunk of groups.
inline Bytes Ramp(std::size_t count) {
  Bytes out(count);
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(i & kDataMask);
  return out;
}

}  // namespace qd3::test
