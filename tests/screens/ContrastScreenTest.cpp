// Legibility measured on the rendered canvas: the texts of a knob cell (caption, value
// read-out, unit) stand at least 4.5:1 against what is behind them, at every scale.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <tuple>

#include "QD3ControlScreenNames.h"
#include "params/GroupNames.h"
#include "screens/ScreenStyles.h"
#include "tests/screens/ContrastMeasure.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

TEST(Contrast, AKnobsCaptionValueAndUnitReadAtLeast4Point5To1AtEveryScale) {
  // The drive page's first cell: its caption, its knob with the read-out and unit on it.
  constexpr float kLeft = 380.f;
  constexpr float kRight = kLeft + 200.f;
  struct Part {
    const char* what;
    IRECT rect;
  };
  const Part parts[] = {{"caption", IRECT(kLeft, 850.f, kRight, 880.f)},
                        {"value", IRECT(kLeft + 40.f, 965.f, kRight - 40.f, 1005.f)},
                        {"unit", IRECT(kLeft + 60.f, 1040.f, kRight - 60.f, 1074.f)}};
  for (const float scale : {0.5f, 1.f, 2.f}) {
    BuiltScreen s(scale);
    s.graphics.HideGroup(group::kIrPage, true);
    s.graphics.HideGroup(group::kDrive, false);
    for (const Part& part : parts) {
      EXPECT_GE(TextContrast(s, part.rect, scale), 4.5) << part.what << " at scale " << scale;
    }
  }
}

// The progress panel, opaque, with the longest heading a transfer gives it, its
// percentage and its Cancel; and "EDITED" beside the preset name.
TEST(Contrast, TheProgressPanelAndTheEditedMarkerReadAtLeast4Point5To1) {
  struct Part {
    const char* what;
    IRECT rect;
  };
  const Part parts[] = {{"heading", IRECT(860.f, 405.f, 1240.f, 465.f)},
                        {"percentage", IRECT(990.f, 570.f, 1110.f, 630.f)},
                        {"cancel", IRECT(1010.f, 726.f, 1090.f, 762.f)},
                        {"edited", IRECT(170.f, 98.f, 262.f, 118.f)}};
  for (const float scale : {0.5f, 1.f, 2.f}) {
    BuiltScreen s(scale);
    s.graphics.HideGroup(group::kProgress, false);
    s.Tagged(kTagProgressHeading).SetStr(kBackupBeforeFirmwareProgress.heading);
    s.Tagged(kTagEditedMarker).Hide(false);
    for (const Part& part : parts) {
      EXPECT_GE(TextContrast(s, part.rect, scale), 4.5) << part.what << " at scale " << scale;
    }
    // The heading is whole: no mark touches the panel's sides, where a cut text would end.
    const auto lit = [](const IColor& c) { return Brightness(c) > 300; };
    EXPECT_EQ(s.CountPixels(IRECT(850.f, 400.f, 856.f, 470.f), lit), 0) << scale;
    EXPECT_EQ(s.CountPixels(IRECT(1244.f, 400.f, 1250.f, 470.f), lit), 0) << scale;
    EXPECT_GT(s.CountPixels(IRECT(856.f, 400.f, 1244.f, 470.f), lit), 100) << scale;
  }
}

// A WAV load says on the IR page what it kept of the file, on one line that reads and
// stays inside its strip below the panels.
TEST(Contrast, TheWavSummaryIsShownOnTheIrPage) {
  BuiltScreen s;
  std::vector<int> values;
  for (int i = 0; i < 4000; ++i) values.push_back(static_cast<int>(9000.0 * std::exp(-i / 200.0)));
  WavLayout layout;
  layout.sampleRate = 48000;
  const Bytes wav = MakeWav(layout, Pcm16(values));
  const auto path = s.folder.Path() / "Room.wav";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
  ASSERT_TRUE(s.editor.LoadWavIntoIr(0, path.string()));
  s.host.Frame();

  IControl& summary = s.Tagged(kTagIrConversionSummary);
  EXPECT_FALSE(summary.IsHidden());
  EXPECT_EQ(summary.GetStr().find('\n'), std::string::npos) << "one line";
  EXPECT_NE(summary.GetStr().find("48000 Hz"), std::string::npos) << summary.GetStr();
  EXPECT_NE(summary.GetStr().find("kept:"), std::string::npos) << summary.GetStr();
  EXPECT_GE(TextContrast(s, IRECT(360.f, 1178.f, 900.f, 1198.f), 1.f), 4.5);
}

// The knob's pointer never crosses its read-out: at every position, with the number
// blanked, nothing of the pointer's grey lies where the number is drawn.
TEST(Contrast, AKnobsPointerStaysClearOfItsReadOut) {
  constexpr float kLeft = 380.f;  // the drive page's PRE-AMP cell, 200 units wide
  const IRECT number(kLeft + 45.f, 962.f, kLeft + 155.f, 1008.f);
  for (const float scale : {0.5f, 1.f, 2.f}) {
    BuiltScreen s(scale);
    s.graphics.HideGroup(group::kIrPage, true);
    s.graphics.HideGroup(group::kDrive, false);
    for (const double value : {0.0, 0.2, 0.5, 0.8, 1.0}) {
      s.editor.SetParameterValueFromUI(1, value);
      s.host.Frame();
      s.Tagged(47).SetStr("");
      const int pointer = s.CountPixels(number, [](const IColor& c) {
        return std::abs(c.R - palette::kKnobFrame.R) < 40 && std::abs(c.G - c.R) < 10;
      });
      EXPECT_EQ(pointer, 0) << "value " << value << " at scale " << scale;
    }
  }
}

}  // namespace
}  // namespace qd3::test
