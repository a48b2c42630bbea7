#pragma once

// The 256-byte preset record: what travels in the pedal's store and dump messages, what a
// preset cache file holds and what preset files carry. Every byte is a 7-bit value and no
// field has a terminator.
//
//   0        format major, always 1
//   1        format minor, always 0
//   2..33    preset name, ASCII, space padded on the right
//   34..98   parameter bytes: byte 34 + i is the raw value of sound parameter i (0..64)
//   99..191  unused, written as 0
//   192..223 name of the user IR in cabinet position 7, 32 spaces when none
//   224..255 name of the user IR in cabinet position 8, 32 spaces when none (records
//            made by the factory carry 32 zero bytes here instead)

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

inline constexpr std::size_t kPresetRecordSize = kRecordSize;

inline constexpr std::size_t kFormatMajorOffset = 0;
inline constexpr std::size_t kFormatMinorOffset = 1;
inline constexpr uint8_t kPresetFormatMajor = 1;
inline constexpr uint8_t kPresetFormatMinor = 0;

inline constexpr std::size_t kPresetNameOffset = 2;
inline constexpr std::size_t kPresetNameSize = kNameSize;

inline constexpr std::size_t kParamBytesOffset = 34;
inline constexpr int kRecordParamCount = 65;  // sound parameters 0..64 of the catalogue

inline constexpr std::size_t kUnusedOffset = 99;
inline constexpr std::size_t kUnusedSize = 93;

inline constexpr std::size_t kUserIrName7Offset = 192;
inline constexpr std::size_t kUserIrName8Offset = 224;

// Sound parameters whose bytes the record's own accessors interpret.
inline constexpr int kParamIrMode7 = 40;      // position 7 uses a user IR (0/1)
inline constexpr int kParamIrMode8 = 41;      // position 8 uses a user IR (0/1)
inline constexpr int kParamUserIr7High = 53;  // user-IR number of position 7, high 7 bits
inline constexpr int kParamUserIr7Low = 54;
inline constexpr int kParamUserIr8High = 55;  // user-IR number of position 8, high 7 bits
inline constexpr int kParamUserIr8Low = 56;

static_assert(kPresetNameOffset == kFormatMinorOffset + 1);
static_assert(kParamBytesOffset == kPresetNameOffset + kPresetNameSize);
static_assert(kUnusedOffset == kParamBytesOffset + kRecordParamCount);
static_assert(kUserIrName7Offset == kUnusedOffset + kUnusedSize);
static_assert(kUserIrName8Offset == kUserIrName7Offset + kNameSize);
static_assert(kPresetRecordSize == kUserIrName8Offset + kNameSize);

// The two cabinet positions that can use a user IR.
enum class UserIrPosition { kPosition7, kPosition8 };

class PresetRecord {
 public:
  using Storage = std::array<uint8_t, kPresetRecordSize>;

  // All 256 bytes zero.
  PresetRecord() = default;
  explicit PresetRecord(const Storage& bytes) : mBytes(bytes) {}

  // The first 256 bytes of `bytes`; a shorter span leaves the rest zero.
  static PresetRecord FromPrefix(std::span<const uint8_t> bytes);

  const Storage& Bytes() const { return mBytes; }
  Storage& Bytes() { return mBytes; }

  uint8_t FormatMajor() const { return mBytes[kFormatMajorOffset]; }
  uint8_t FormatMinor() const { return mBytes[kFormatMinorOffset]; }

  // Bytes 2..33 as stored, padding included.
  std::span<const uint8_t, kPresetNameSize> NameField() const;
  std::span<uint8_t, kPresetNameSize> NameField();
  // The 32 name characters as stored, trailing spaces kept (what the name entry shows).
  std::string NameAsStored() const;
  // The name up to its first NUL byte, at most 32 characters (what list labels show).
  std::string NameUpToNul() const;

  // Raw value of sound parameter i, 0 <= i < 65.
  uint8_t Param(int i) const;
  void SetParam(int i, uint8_t value);

  // Bytes 192..223 (position 7) or 224..255 (position 8) as stored.
  std::span<const uint8_t, kNameSize> UserIrNameField(UserIrPosition position) const;
  std::span<uint8_t, kNameSize> UserIrNameField(UserIrPosition position);
  // The user-IR name with trailing spaces removed; see TrimName32.
  std::string TrimmedUserIrName(UserIrPosition position) const;

  // Whether the position's "IR Mode" byte selects a user IR (byte > 0).
  bool UsesUserIr(UserIrPosition position) const;
  // The 14-bit user-IR number of the position: bytes 87 * 128 + 88 for position 7,
  // bytes 89 * 128 + 90 for position 8.
  int UserIrNumber(UserIrPosition position) const;

  // The record checksum, as the store and dump messages carry it.
  Checksum14Pair Checksum() const;

  friend bool operator==(const PresetRecord&, const PresetRecord&) = default;

 private:
  Storage mBytes{};
};

}  // namespace qd3
