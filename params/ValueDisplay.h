#pragma once

#include <optional>
#include <string>

namespace qd3 {

// The number a parameter is shown as, in the player's unit, as the screens and
// the command-line inspector print it. "Dynamics" (10) and "AnalogSim" (15)
// also name the state the value selects in `title`; for every other parameter
// it is empty.
struct ValueText {
  std::string value;
  std::string title;
  bool operator==(const ValueText&) const = default;
};

// The value text of parameter index at raw value `raw`, or nullopt when the
// parameter has no number text. The raw value is first held to the parameter's
// range, as the catalogue would store it. No text depends on another
// parameter's value. Formulas run in single precision on S = raw / 127 and are
// printed with the C library's rounding (exact binary value, halves to even).
std::optional<ValueText> ParamValueText(int index, int raw);

// The control tags that receive a parameter's value text (and title).
struct ValueTextTags {
  int value = 0;
  int title = 0;  // 0: no title
};
std::optional<ValueTextTags> ValueTextTagsFor(int index);

// The three states of "Dynamics": 64 off, 65..127 compressor, 0..63 expander,
// with the threshold in dB that the dynamics graph draws.
enum class DynamicsState { kOff, kCompressor, kExpander };
struct DynamicsSetting {
  DynamicsState state = DynamicsState::kOff;
  float thresholdDb = 0.0f;
};
DynamicsSetting DynamicsFromRaw(int raw);

// "Gate" threshold in dB: (S - 1) * 70 - 30, -100 .. -30 (raw 0 is bypass).
float GateThresholdDb(int raw);

}  // namespace qd3
