#pragma once

// Impulse-response numbers, 14-bit, sent as two 7-bit bytes (number >> 7, number & 0x7F):
//
//   0..255    user IRs, 8 banks of 32 ("Custom Bank 1".."Custom Bank 8")
//   256..287  the pedal's factory bank ("Factory Bank"), read-only
//   384..391  the eight factory cabinet IRs of cabinet positions 1..8
//
// Preset slot n owns user IR n (cabinet position 7) and 128 + n (position 8). Parameter 14
// "IR" (0..127) picks one of the cabinet positions 0..8, 0 being the flat response.

#include <cmath>
#include <string>

namespace qd3 {

inline constexpr int kUserIrFirst = 0;
inline constexpr int kUserIrTotal = 256;
inline constexpr int kIrBankSize = 32;
inline constexpr int kUserIrBankCount = 8;
inline constexpr int kFactoryBankIrFirst = 256;
inline constexpr int kFactoryBankIrTotal = 32;
inline constexpr int kFactoryBankIndex = 8;  // the factory bank follows the eight custom banks
inline constexpr int kCabinetIrFirst = 384;
inline constexpr int kCabinetIrTotal = 8;
inline constexpr int kPositionBUserIrOffset = 128;  // slot n's position-8 IR is 128 + n
inline constexpr int kIrNumberLowBits = 7;
inline constexpr int kIrNumberLowMask = 0x7F;

inline constexpr int kCabinetPositionFlat = 0;
inline constexpr int kCabinetPositionUserA = 7;  // may use user IR `userIrA`
inline constexpr int kCabinetPositionUserB = 8;  // may use user IR `userIrB`
inline constexpr int kCabinetPositionCount = 9;
inline constexpr int kIrParamMax = 127;  // parameter 14's raw range is 0..127

constexpr bool IsUserIr(int n) {
  return n >= kUserIrFirst && n < kUserIrFirst + kUserIrTotal;
}
constexpr bool IsFactoryBankIr(int n) {
  return n >= kFactoryBankIrFirst && n < kFactoryBankIrFirst + kFactoryBankIrTotal;
}
constexpr bool IsCabinetIr(int n) {
  return n >= kCabinetIrFirst && n < kCabinetIrFirst + kCabinetIrTotal;
}
// A WAV can be loaded into user IRs and the cabinet IRs; the factory bank is read-only.
constexpr bool IsWavTarget(int n) {
  return IsUserIr(n) || IsCabinetIr(n);
}

// Bank 0..7 of a user IR, 8 for the factory bank, -1 for anything else.
constexpr int IrBankOf(int n) {
  if (IsUserIr(n)) return n / kIrBankSize;
  if (IsFactoryBankIr(n)) return kFactoryBankIndex;
  return -1;
}
// "Custom Bank %d" of bank + 1 for banks 0..7, "Factory Bank" for bank 8.
inline std::string IrBankName(int bank) {
  if (bank == kFactoryBankIndex) return "Factory Bank";
  return "Custom Bank " + std::to_string(bank + 1);
}

// The two user IRs of preset slot 0..127.
constexpr int UserIrOfPositionA(int slot) {
  return slot;
}
constexpr int UserIrOfPositionB(int slot) {
  return kPositionBUserIrOffset + slot;
}

// The halves of a 14-bit number as sent: 300 -> high 2, low 44.
constexpr int IrNumberHigh(int n) {
  return (n >> kIrNumberLowBits) & kIrNumberLowMask;
}
constexpr int IrNumberLow(int n) {
  return n & kIrNumberLowMask;
}
constexpr int IrNumberFromHalves(int high, int low) {
  return ((high & kIrNumberLowMask) << kIrNumberLowBits) | (low & kIrNumberLowMask);
}

// Factory cabinet IR number of position 1..8.
constexpr int CabinetIrOfPosition(int position) {
  return kCabinetIrFirst + position - 1;
}

// Where parameter 14's value a stands between the cabinet positions, computed in single
// precision as the display and the pedal's blend do: p = floor(a / 127 * 80), e = p / 10
// (0.0 .. 8.0), between positions lo = floor(e) and hi = ceil(e).
struct CabinetBlend {
  float e = 0.0F;
  int lo = 0;
  int hi = 0;
};

inline CabinetBlend CabinetBlendOf(int a) {
  constexpr float kSteps = 80.0F;  // tenths of a position over the parameter's range
  constexpr float kStepsPerPosition = 10.0F;
  const float p = std::floor(static_cast<float>(a) / static_cast<float>(kIrParamMax) * kSteps);
  const float e = p / kStepsPerPosition;
  return {e, static_cast<int>(std::floor(e)), static_cast<int>(std::ceil(e))};
}

// The cabinet position 0..8 of parameter 14's value: the lower neighbour of its blend.
inline int CabinetPositionOf(int a) {
  return CabinetBlendOf(a).lo;
}

// Whether the selector stands beyond position 6 (a / 127 * 8 > 6), where the IR modes of
// positions 7 and 8 change what the display shows.
constexpr bool IsBeyondPositionSix(int a) {
  return a * (kCabinetPositionCount - 1) > 6 * kIrParamMax;
}

}  // namespace qd3
