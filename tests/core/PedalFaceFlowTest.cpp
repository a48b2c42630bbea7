// The pedal face and the voicing buttons against the simulated pedal: what a store
// leaves in the pedal and in the cache, and how a stored template comes back lit.
#include "tests/support/CoreHarness.h"

namespace qd3::test {
namespace {

constexpr int kGain = 1;
constexpr int kSlotBelowEnd = 126;

int PedalParam(CoreHarness& h, int slot, int index) {
  return h.link.Pedal().Inspect([&](const sim::PedalModel& m) {
    return static_cast<int>(sim::RecordParam(m.State().presets[static_cast<size_t>(slot)], index));
  });
}

TEST(PedalFaceFlow, SaveRightSaveStoresTheEditBufferIntoTheNextSlotAndEndsTheArmedState) {
  CoreHarness h;
  h.OpenWindow({1, 55, 56, 57, 58, 59, 70, 71, 138});
  ASSERT_TRUE(h.ConnectAndSettle());
  const int start = h.editor.session.currentPreset;
  ASSERT_LT(start, kSlotBelowEnd);
  const int gain = h.editor.Params()[kGain].Raw() == 90 ? 91 : 90;
  h.editor.SetParameterValue(kGain, h.editor.Params()[kGain].ToNormalized(gain));
  h.RunFor(100ms);

  for (int click = 0; click < 2; ++click) h.editor.OnSaveButton();
  for (int click = 0; click < 2; ++click) h.editor.OnNextSwitch();
  for (int click = 0; click < 2; ++click) h.editor.OnSaveButton();
  ASSERT_TRUE(h.RunUntil([&] { return !h.editor.session.saveArmed; }, 2s));

  EXPECT_EQ(h.editor.session.currentPreset, start + 1);
  EXPECT_FALSE(h.editor.session.saveAwaiting);
  EXPECT_EQ(PedalParam(h, start + 1, kGain), gain);
  const auto cached = h.editor.Cache()->ReadPreset(start + 1);
  ASSERT_TRUE(cached.has_value());
  EXPECT_EQ(cached->Param(kGain), gain);
}

TEST(PedalFaceFlow, StoredDriveTemplateComesBackLitWithTheSlot) {
  CoreHarness h;
  h.OpenWindow({1, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91, 138});
  ASSERT_TRUE(h.ConnectAndSettle());
  const int slot = h.editor.session.currentPreset;
  h.editor.OnDriveTemplateButton(4, 0.0);  // "amp-boutiquea.png"
  h.RunFor(200ms);
  EXPECT_EQ(PedalParam(h, slot, 11), 94);  // its Punch Freq
  EXPECT_EQ(PedalParam(h, slot, 3), 98);   // its Punch

  // Away and back: the slot's dump lights the button again, and nothing else.
  h.screen.At(86).value = 0.0;
  EXPECT_TRUE(h.editor.OnEditorKey(QD3Control::EditorKey::kNextPreset));
  h.RunFor(200ms);
  EXPECT_TRUE(h.editor.OnEditorKey(QD3Control::EditorKey::kPreviousPreset));
  const size_t before = h.received.size();
  ASSERT_TRUE(h.RunUntil([&] { return h.received.size() > before; }, 1s));
  EXPECT_EQ(h.editor.session.currentPreset, slot);
  for (int tag = 82; tag <= 91; ++tag) {
    EXPECT_EQ(h.screen.At(tag).value, tag == 86 ? 1.0 : 0.0) << "button " << tag;
  }
}

}  // namespace
}  // namespace qd3::test
