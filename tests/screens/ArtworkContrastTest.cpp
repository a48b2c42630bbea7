// Legibility with the artwork in place: every text control of the main screen and of
// each detail page, sampled where it draws, against what lies behind it.
#include <gtest/gtest.h>

#include <string>

#include "params/PageNumbers.h"
#include "screens/ScreenStyles.h"
#include "tests/screens/ContrastMeasure.h"
#include "toolkit/controls/ITextControl.h"

namespace qd3::test {
namespace {

// Every text control of the main screen, each detail page and the overlays, sampled where
// it draws: its text against what lies behind it at 4.5:1 at least.
TEST(Contrast, EveryTextOfEveryScreenReadsAtLeast4Point5To1) {
  BuiltScreen s(1.f);
  // `only`: the controls of that group alone (an overlay covers the rest).
  const auto measureShown = [&](const std::string& where, const char* only = nullptr) {
    s.host.Frame();
    s.graphics.ForAllControls([&](IControl& c) {
      if (only && c.GetGroup() != only) return;
      auto* text = dynamic_cast<ITextControl*>(&c);
      // A disabled control (the pedal face before a pedal answers) is dimmed on purpose.
      if (!text || c.IsHidden() || c.IsDisabled() ||
          c.GetStr().find_first_not_of(' ') == std::string::npos) {
        return;
      }
      // The display's unlit segments are meant to be faint: they are no text.
      if (text->GetText().fgColor == palette::kGhostSegments) return;
      // Only a control nothing shown covers: the topmost at its centre.
      const IRECT r = c.GetRECT();
      if (r.W() < 4.f || r.H() < 4.f) return;
      const double contrast = TextContrast(s, r, 1.f);
      if (contrast == 0.0) return;  // drawn under something opaque
      EXPECT_GE(contrast, 4.5) << where << ": \"" << c.GetStr() << "\" at " << r.L << ", " << r.T;
    });
  };
  measureShown("main screen");
  for (const int page :
       {kPageDrive, kPageAmbience, kPageGate, kPageLevel, kPagePreamp, kPageAnalogSim,
        kPageLowFilter, kPageMidFilter, kPageHighFilter, kPageAutoFilter, kPageIr}) {
    s.editor.ShowPage(page);
    measureShown("page " + std::to_string(page));
  }
  // The overlays, each alone over the main screen.
  const auto overlay = [&](const char* group) {
    s.graphics.HideGroup(group, false);
    s.graphics.DisableGroup(group, false);
    measureShown(group, group);
    s.graphics.HideGroup(group, true);
  };
  for (const char* group : {group::kGlobalSettings, group::kMidiCc, group::kMidiProgram,
                            group::kProgress, group::kFactoryProgress, group::kAbout}) {
    overlay(group);
  }
}

// The pedal's display, dimmed while the sound is edited, still reads.
TEST(Contrast, TheEditedDisplayNumberReadsAtLeast4Point5To1) {
  BuiltScreen s(1.f);
  s.graphics.DisableGroup(group::kNeedsPedal, false);
  s.Tagged(kTagValueDisplay).SetTextColor(IColorFromArgb(kColorDisplayModified));
  EXPECT_GE(TextContrast(s, s.Tagged(kTagValueDisplay).GetRECT(), 1.f), 4.5);
}

}  // namespace
}  // namespace qd3::test
