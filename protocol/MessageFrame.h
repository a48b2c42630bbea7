#pragma once

// Building blocks shared by the message builders: the envelope, range-checked fields and
// payload copies. Out-of-range numbers and wrongly sized spans are programmer errors and
// assert; a release build clamps numbers to their field and copies what fits (the rest
// zero), so every message still has its exact length and only 7-bit data bytes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/DeviceMessages.h"

namespace qd3::frame {

// A message of `length` bytes: F0, manufacturer, model, command, zeros, F7.
Bytes Make(uint8_t model, uint8_t command, std::size_t length);
// As Make for the running pedal, with the format version in byte 6.
Bytes MakeDevice(uint8_t command, std::size_t length);

// `value` as one data byte; asserts 0 <= value <= max (max at most 127).
uint8_t Field7(int value, int max = kMax7);
// `value` clamped to 0..max after asserting it lies there (for 14- and 21-bit fields).
int FieldWide(int value, int max);

// Copies `count` data bytes from `src` into message[offset..], each masked to 7 bits.
// Asserts that `src` has exactly `count` bytes.
void CopyData(std::span<const uint8_t> src, std::size_t count, Bytes& message, std::size_t offset);

// The 267-byte layout: selector byte 7, 256 data bytes, checksum of them in 264/265.
Bytes MakeRecordMessage(uint8_t command, uint8_t selector, std::span<const uint8_t> data256);

}  // namespace qd3::frame
