// What the screen shows after a run of changes painted one repaint at a time must be what a
// full redraw paints: every control's repaint covers all it drew before. Renaming, long
// names cleared from the list, page switches, a blinking display and a dimmed number, at
// three scales, compared pixel for pixel.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "QD3ControlScreenNames.h"
#include "params/PageNumbers.h"
#include "presets/StoreRecord.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace qd3::test {
namespace {

std::vector<IColor> Pixels(const BuiltScreen& s) {
  std::vector<IColor> out;
  const int w = s.graphics.WindowWidth();
  const int h = s.graphics.WindowHeight();
  out.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) out.push_back(s.graphics.GetPixel(x, y));
  }
  return out;
}

class Repaint : public ::testing::TestWithParam<float> {};

TEST_P(Repaint, ChangesPaintedOneByOneEqualAFullRedraw) {
  BuiltScreen s(GetParam());
  ScriptedPlatformServices platform;
  s.editor.SetPlatformServices(&platform);
  s.graphics.SetPlatformServices(&platform);
  const auto step = [&] {
    s.host.Frame();
    s.host.Advance(0.05);
  };

  // Long names in the list, from the cache.
  std::array<int, kRecordParamCount> values{};
  for (int slot = 0; slot < 12; ++slot) {
    const std::string name = slot % 2 ? "Liverpool Push Echoverb Deluxe" : "Rhythm Crunch";
    const PresetRecord record = BuildStoreRecord(name, values, "", "");
    ASSERT_TRUE(Succeeded(s.editor.Cache()->WritePreset(slot, record.Bytes())));
  }
  s.editor.LoadCacheState();
  step();
  // A long name typed, then a short one.
  s.Tagged(kTagPresetName).SetStr("Liverpool Push Echoverb Deluxe");
  step();
  s.Tagged(kTagPresetName).SetStr("Rhythm");
  step();
  // The list back to bare numbers.
  s.editor.ClearCacheData();
  step();
  // Pages one after the other.
  for (const int page : {kPageDrive, kPageAmbience, kPageGate, kPageIr, kPagePreamp, kPageIr}) {
    s.editor.ShowPage(page);
    step();
  }
  // A value on the display, dimmed as edited, then the blinking of an armed store.
  s.editor.SetParameterValueFromUI(1, 0.3);
  step();
  s.editor.OnSaveButton();
  s.editor.OnSaveButton();
  for (int i = 0; i < 13; ++i) {
    s.editor.OnIdleTick();
    step();
  }
  const std::vector<IColor> stepwise = Pixels(s);

  s.graphics.SetAllDirty();
  s.host.Frame();
  const std::vector<IColor> full = Pixels(s);
  ASSERT_EQ(stepwise.size(), full.size());
  size_t differing = 0;
  size_t first = 0;
  for (size_t i = 0; i < full.size(); ++i) {
    const IColor& a = stepwise[i];
    const IColor& b = full[i];
    if (std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B) > 6) {
      if (differing++ == 0) first = i;
    }
  }
  const int w = s.graphics.WindowWidth();
  const float k = s.graphics.GetDrawScale();
  EXPECT_EQ(differing, 0u) << "first at design (" << static_cast<float>(first % w) / k << ", "
                           << static_cast<float>(first / w) / k << ")";
}

INSTANTIATE_TEST_SUITE_P(Scales, Repaint, ::testing::Values(0.5f, 1.0f, 2.0f));

}  // namespace
}  // namespace qd3::test
