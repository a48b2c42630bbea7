// Tooltips say what the screen says: the control's caption and the read-out's number with
// its unit, never the catalogue's name and a raw 0..127 value.
#include <gtest/gtest.h>

#include <string>

#include "params/ParamCatalogue.h"
#include "tests/screens/ScreenTestSupport.h"

namespace qd3::test {
namespace {

IControl* TooltipControlOf(BuiltScreen& s, int param) {
  IControl* found = nullptr;
  s.graphics.ForAllControls([&](IControl& c) {
    if (!found && c.GetParamIdx() == param && c.HasParamTooltip()) found = &c;
  });
  return found;
}

TEST(Tooltips, AKnobsTooltipIsItsCaptionAndItsReadOut) {
  struct Case {
    int param;
    int raw;
    int readoutTag;
    const char* caption;
    const char* unit;
  };
  const Case cases[] = {
      {1, 66, 47, "PRE-AMP", "%"},
      {36, 20, 50, "PARALLEL CLEAN", "%"},
      {42, 44, 27, "USER IR 7 GAIN", "dB"},  // the gain of user-IR position 7
  };
  BuiltScreen s;
  for (const Case& c : cases) {
    s.editor.SetParameterValueFromUI(c.param, s.editor.Params()[c.param].ToNormalized(c.raw));
    s.host.Frame();
    IControl* knob = TooltipControlOf(s, c.param);
    ASSERT_NE(knob, nullptr) << c.caption;
    const std::string readout = s.Tagged(c.readoutTag).GetStr();
    ASSERT_FALSE(readout.empty()) << c.caption;
    EXPECT_EQ(knob->GetTooltipText(), std::string(c.caption) + ": " + readout + " " + c.unit);
    EXPECT_EQ(knob->GetTooltipText().find(std::to_string(c.raw)), std::string::npos)
        << "no raw value: " << knob->GetTooltipText();
  }
}

TEST(Tooltips, TheListsScrollBarShowsNoNumber) {
  BuiltScreen s;
  int bars = 0;
  s.graphics.ForAllControls([&](IControl& c) {
    if (c.GetParamIdx() != kParamScroll) return;
    ++bars;
    EXPECT_EQ(c.GetTooltipText(), "");
  });
  EXPECT_GT(bars, 0);
}

}  // namespace
}  // namespace qd3::test
