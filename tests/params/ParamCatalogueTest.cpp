#include <gtest/gtest.h>

#include "params/DeviceParamNumbers.h"
#include "params/ParamCatalogue.h"

namespace qd3 {
namespace {

struct Entry {
  int index;
  const char* name;
  ParamKind kind;
  double def, min, max;
  const char* label;
};

// A sample across every block of the table, including the repeated names.
const Entry kEntries[] = {
    {0, "Level", ParamKind::kInt, 64, 0, 127, ""},
    {8, "Reverb", ParamKind::kInt, 0, 0, 127, ""},
    {16, "Reverb Room Size", ParamKind::kInt, 64, 0, 127, "[Room...Arena]"},
    {18, "Reverb Diffusion", ParamKind::kInt, 100, 0, 127, ""},
    {19, "Reverb Extension Factor", ParamKind::kInt, 2, 2, 5, "[2...5 semitones]"},
    {21, "Reverb Fbk. Filter", ParamKind::kInt, 127, 0, 127, "[500...5000Hz]"},
    {25, "Compressor Ratio", ParamKind::kInt, 0, 0, 127, "[1:1...16:1]"},
    {31, "Expander Attack", ParamKind::kInt, 64, 0, 127, "[0.5ms...100ms]"},
    {37, "Compressor Ratio", ParamKind::kInt, 0, 0, 127, "[1:1...16:1]"},
    {40, "IR Mode", ParamKind::kInt, 0, 0, 1, ""},
    {41, "IR Mode", ParamKind::kInt, 0, 0, 1, ""},
    {42, "User IR Gain", ParamKind::kInt, 64, 0, 127, ""},
    {43, "User IR Gain", ParamKind::kInt, 64, 0, 127, ""},
    {50, "Auto Gain", ParamKind::kInt, 1, 0, 1, "On/Off"},
    {52, "Tuner", ParamKind::kInt, 0, 0, 2, "Off/Mute/Bypass"},
    {57, "Reverb Mode", ParamKind::kInt, 0, 0, 4, "[Room, Hall, Arena, Spring, Plate]"},
    {60, "AutoFiler Level", ParamKind::kInt, 0, 0, 1, ""},
    {61, "AutoFiler Level", ParamKind::kInt, 64, 0, 127, ""},
    {64, "Preset Level", ParamKind::kInt, 32, 0, 127, ""},
    {65, "", ParamKind::kUndeclared, 0, 0, 1, ""},
    {69, "Compression", ParamKind::kInt, 64, 64, 127, ""},
    {70, "Scroll", ParamKind::kInt, 109, 0, 109, ""},
    {71, "", ParamKind::kDouble, 0, 0, 19, ""},
    {72, "", ParamKind::kDouble, 0, 0, 9, ""},
    {73, "IR", ParamKind::kInt, 0, 0, 127, ""},
    {14, "IR", ParamKind::kInt, 0, 0, 127, ""},
    {74, "", ParamKind::kUndeclared, 0, 0, 1, ""},
    {77, "Custom IR Bank", ParamKind::kEnum, 0, 0, 8, ""},
    {79, "", ParamKind::kDouble, 0, 0, 16, ""},
    {82, "PATCH OFFSET", ParamKind::kEnum, 0, 0, 1, ""},
    {84, "MIDI CC CHANNEL", ParamKind::kEnum, 0, 0, 16, ""},
    {87, "TUNER FREQUENCY", ParamKind::kEnum, 12, 0, 24, ""},
    {90, "CABINET BYPASS", ParamKind::kEnum, 0, 0, 1, ""},
    {91, "", ParamKind::kInt, 0, 0, 127, ""},
    {98, "", ParamKind::kInt, 7, 0, 127, ""},
    {99, "Controller Program", ParamKind::kInt, 0, 0, 127, ""},
    {100, "QRB3 Program", ParamKind::kInt, 0, 0, 127, ""},
    {101, "JACK2 Mode", ParamKind::kEnum, 0, 0, 1, ""},
    {102, "JACK2 Mode", ParamKind::kEnum, 0, 0, 1, ""},
    {104, "JACK 1 Polarity", ParamKind::kEnum, 0, 0, 1, ""},
    {105, "PEDAL2 Midi Channel", ParamKind::kEnum, 0, 0, 15, ""},
    {111, "PEDAL2 Calibration High End", ParamKind::kInt, 0, 0, 127, ""},
    {114, "SWITCHA2 Function Mode", ParamKind::kEnum, 0, 0, 6, ""},
    {119, "SWITCHB2 Controller", ParamKind::kInt, 0, 0, 127, ""},
    {120, "SWITCH2 Special Ctrl Lower", ParamKind::kInt, 0, 0, 127, ""},
    {121, "SWITCH2 Special Ctrl Upper", ParamKind::kInt, 0, 0, 127, ""},
    {122, "PEDAL1 Midi Channel", ParamKind::kEnum, 0, 0, 15, ""},
    {123, "PEDAL1 Mode", ParamKind::kEnum, 0, 0, 2, ""},
    {129, "SWITCHA1 Midi Channel", ParamKind::kEnum, 0, 0, 15, ""},
    {134, "SWITCHB1 Operation", ParamKind::kEnum, 0, 0, 1, ""},
    {137, "SWITCH1 Special Ctrl Lower", ParamKind::kInt, 0, 0, 127, ""},
    {138, "SWITCH1 Special Ctrl Upper", ParamKind::kInt, 0, 0, 127, ""},
};

TEST(ParamCatalogue, EntriesHaveTheirNamesKindsDefaultsRangesAndLabels) {
  ParamCatalogue params;
  for (const Entry& e : kEntries) {
    SCOPED_TRACE(e.index);
    const ParamSpec& info = params[e.index].Info();
    EXPECT_EQ(info.name, e.name);
    EXPECT_EQ(info.kind, e.kind);
    EXPECT_EQ(info.defaultValue, e.def);
    EXPECT_EQ(info.min, e.min);
    EXPECT_EQ(info.max, e.max);
    EXPECT_EQ(info.label, e.label);
    EXPECT_EQ(params[e.index].Value(), e.def);
    EXPECT_EQ(info.stepped, e.kind == ParamKind::kInt || e.kind == ParamKind::kEnum);
  }
}

TEST(ParamCatalogue, HasExactly139EntriesAndEveryRangeHoldsAStep) {
  const auto specs = BuildParamSpecs();
  ASSERT_EQ(specs.size(), 139u);
  for (size_t i = 0; i < specs.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(specs[i].max, specs[i].min + specs[i].step);
    EXPECT_LE(specs[i].max, 127);
    EXPECT_LE(specs[i].name.size(), 31u);
    if (specs[i].kind == ParamKind::kEnum) {
      EXPECT_EQ(specs[i].displayTexts.size(), static_cast<size_t>(specs[i].max) + 1);
    }
  }
}

TEST(ParamCatalogue, SoundParametersAreAllIntAndKnobControllersCountUp) {
  ParamCatalogue params;
  for (int i = 0; i < kNumSoundParams; ++i) EXPECT_EQ(params[i].Info().kind, ParamKind::kInt) << i;
  for (int k = 0; k < 8; ++k) EXPECT_EQ(params[91 + k].Value(), k);
  for (int i : {65, 66, 67, 68, 74, 75, 76}) {
    EXPECT_EQ(params[i].Info().kind, ParamKind::kUndeclared) << i;
  }
}

struct TextCase {
  int index;
  double value;
  const char* text;
};

TEST(ParamCatalogue, EnumDisplayTexts) {
  const TextCase cases[] = {
      {84, 0, "OMNI"},
      {84, 1, "Channel 1"},
      {84, 16, "Channel 16"},
      {87, 0, "428Hz"},
      {87, 12, "440Hz"},
      {87, 24, "452Hz"},
      {77, 0, "Custom Bank 1"},
      {77, 7, "Custom Bank 8"},
      {77, 8, "Factory Bank"},
      {82, 1, "1-128"},
      {85, 1, "Numerical Value (0-127)"},
      {86, 1, "All pots disengaged"},
      {89, 2, "bb"},
      {105, 0, "1"},
      {105, 15, "16"},
      {106, 2, "Bend"},
      {114, 4, "Program Change"},
      {118, 6, "Pedal"},
      {135, 5, "Special Control"},
      {130, 1, "Latching"},
      {102, 1, "Ring"},
  };
  ParamCatalogue params;
  for (const auto& c : cases) {
    EXPECT_EQ(params[c.index].DisplayText(c.value), c.text) << c.index << " = " << c.value;
  }
}

TEST(DeviceParamNumber, MapsSoundParametersAroundTheStoreCommand) {
  const std::pair<int, int> cases[] = {{0, 0},   {1, 1},   {15, 15}, {16, 20},
                                       {20, 24}, {63, 67}, {64, 16}};
  for (const auto& [index, number] : cases) {
    EXPECT_EQ(kDeviceParamNumber[static_cast<size_t>(index)], number) << index;
  }
  for (int n : kDeviceParamNumber) {
    EXPECT_TRUE(n < 17 || n > 19) << "17..19 belong to no parameter, got " << n;
  }
}

}  // namespace
}  // namespace qd3
