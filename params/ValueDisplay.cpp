// Value texts in the player's units. The formulas are defined on single
// precision (S = raw / 127 as a float); over the raw values 0..127 no text comes
// out different in double, but the arithmetic is kept as defined so that it
// stays exact. Where a double constant appears ("Mid Shift", "Reverb Room
// Size") the rest of that formula is double.
#include "params/ValueDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "params/ParamCatalogue.h"

namespace qd3 {
namespace {

constexpr int kRawMax = 127;
constexpr int kRawCentre = 64;  // the neutral position of the bipolar knobs

__attribute__((format(printf, 1, 2))) std::string Printf(const char* format, ...) {
  char text[64];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

float Scaled(int raw) {
  return static_cast<float>(raw) / static_cast<float>(kRawMax);
}

std::string Percent(float s) {
  return Printf("%.0f", s * 100.0f);
}

// Low, Mid and High: -12 .. +12 dB, exactly 0 at the centre.
std::string EqGain(int raw, float s) {
  return Printf("%.1f", raw == kRawCentre ? 0.0f : s * 24.0f - 12.0f);
}

std::string DynamicsNumber(int raw, const DynamicsSetting& d) {
  if (d.state == DynamicsState::kOff) return "Bypass";
  if (raw == 0) return "-inf.";
  return Printf("%.2f", d.thresholdDb);
}

const char* DynamicsTitle(DynamicsState state) {
  switch (state) {
    case DynamicsState::kOff:
      return "DYNAMICS";
    case DynamicsState::kCompressor:
      return "COMPRESSOR";
    case DynamicsState::kExpander:
      return "EXPANDER";
  }
  return "";
}

// Below the centre the digital smoothing grows to 100 at raw 0, above it the
// analogue smoothing grows to 100 at raw 127.
ValueText AnalogSimText(int raw) {
  if (raw < kRawCentre) {
    return {Printf("%.0f", static_cast<float>(kRawCentre - raw) * 0.015625f * 100.0f),
            "DIGITAL SMOOTH"};
  }
  if (raw == kRawCentre) return {"Bypass", "SMOOTHING"};
  return {Printf("%.0f", static_cast<float>(raw - kRawCentre) / 63.0f * 100.0f), "ANALOG SMOOTH"};
}

int HoldToRange(int index, int raw) {
  static const std::vector<ParamSpec> specs = BuildParamSpecs();
  const ParamSpec& range = specs[static_cast<size_t>(index)];
  return std::clamp(raw, static_cast<int>(range.min), static_cast<int>(range.max));
}

}  // namespace

DynamicsSetting DynamicsFromRaw(int raw) {
  if (raw == kRawCentre) return {DynamicsState::kOff, 0.0f};
  if (raw > kRawCentre) {
    return {DynamicsState::kCompressor, static_cast<float>(raw - 65) / 62.0f * -60.0f};
  }
  if (raw <= 0) return {DynamicsState::kExpander, -60.0f};
  return {DynamicsState::kExpander, (static_cast<float>(raw) / 63.0f - 1.0f) * 60.0f};
}

float GateThresholdDb(int raw) {
  return (Scaled(raw) - 1.0f) * 70.0f - 30.0f;
}

std::optional<ValueText> ParamValueText(int index, int raw) {
  if (index < 0 || index >= kNumParams) return std::nullopt;
  const int v = HoldToRange(index, raw);
  const float s = Scaled(v);
  switch (index) {
    case 0:   // "Level"
    case 4:   // "Crunch" (presence)
    case 8:   // "Reverb"
    case 17:  // "Reverb Decay Time"
    case 36:  // "Clean Input Level"
    case 61:  // "AutoFiler Level"
      return ValueText{Percent(s), {}};
    case 1:  // "Gain": never below 1
      return ValueText{Printf("%.0f", std::max(1.0f, s * 100.0f)), {}};
    case 6:   // "Low"
    case 7:   // "High"
    case 12:  // "Mid"
      return ValueText{EqGain(v, s), {}};
    case 9:  // "Gate"
      if (v == 0) return ValueText{"Bypass", {}};
      return ValueText{Printf("%.2f", GateThresholdDb(v)), {}};
    case kParamDynamics: {
      const DynamicsSetting d = DynamicsFromRaw(v);
      return ValueText{DynamicsNumber(v, d), DynamicsTitle(d.state)};
    }
    case 13:  // "Mid Shift": 100 .. 1900 Hz, exactly 1000 at the centre
      return ValueText{
          Printf("%.0f", v == kRawCentre ? 1000.0 : static_cast<double>(s) * 1800.0 + 100.0), {}};
    case kParamIr:  // cabinet position on the two-digit display
      return ValueText{Printf("%02d", static_cast<int>(s * 80.5f)), {}};
    case 15:  // "AnalogSim"
      return AnalogSimText(v);
    case 16:  // "Reverb Room Size": 100 .. 600 ms
      return ValueText{
          Printf("%.0f", std::pow(static_cast<double>(s), 1.7543859869269236) * 500.0 + 100.0), {}};
    case 25:  // "Compressor Ratio"
      return ValueText{Printf("%.1f:1", s * 19.0f + 1.0f), {}};
    case 29:  // "Expander Ratio"
      return ValueText{Printf("1:%.1f", s * 11.0f + 1.0f), {}};
    case 37:  // "Compressor Ratio" of the gate
      return ValueText{Printf("%.1f:1", s * 9.0f + 1.0f), {}};
    case 39:  // "Gate Release": 10 .. 1000 ms
      return ValueText{Printf("%.1f", s * s * 990.0f + 10.0f), {}};
    case 42:  // "User IR Gain", both positions: -12 .. +12 dB
    case 43:
      return ValueText{Printf("%.2f", v == kRawCentre ? 0.0f : (s - 1.0f) * 24.0f + 12.0f), {}};
    case 47:  // "Mid Q", "Low Q", "High Q": 0.5 .. 2
    case 48:
    case 49: {
      const float exponent = v == kRawCentre ? 0.0f : 2.0f * s - 1.0f;
      return ValueText{Printf("%.1f", std::pow(2.0f, exponent)), {}};
    }
    case kParamCompression:  // 64..127 shown as 0..100
      return ValueText{Printf("%.0f", static_cast<float>(v - kRawCentre) / 63.0f * 100.0f), {}};
    default:
      return std::nullopt;
  }
}

std::optional<ValueTextTags> ValueTextTagsFor(int index) {
  struct Row {
    int index;
    ValueTextTags tags;
  };
  static constexpr Row kRows[] = {
      {0, {48, 0}},  {1, {47, 0}},  {4, {34, 0}},  {6, {36, 0}},  {7, {41, 0}},  {12, {38, 0}},
      {8, {43, 0}},  {9, {20, 0}},  {10, {8, 6}},  {13, {40, 0}}, {14, {1, 0}},  {15, {21, 22}},
      {16, {45, 0}}, {17, {44, 0}}, {25, {9, 0}},  {29, {13, 0}}, {36, {50, 0}}, {37, {17, 0}},
      {39, {19, 0}}, {42, {27, 0}}, {43, {28, 0}}, {47, {39, 0}}, {48, {37, 0}}, {49, {42, 0}},
      {61, {49, 0}}, {69, {92, 0}},
  };
  for (const Row& row : kRows) {
    if (row.index == index) return row.tags;
  }
  return std::nullopt;
}

}  // namespace qd3
