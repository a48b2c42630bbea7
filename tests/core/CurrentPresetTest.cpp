// A dump of the current preset: what it changes with a good and with a bad checksum.
#include "CoreHarness.h"
#include "protocol/MessageBuilders.h"

namespace qd3::test {
namespace {

class CurrentPreset : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& row : rows) rowHandles[&row - rows.data()] = &row;
    h.OpenWindow({1, 70, 71, 138});
    h.editor.AttachPresetRows(rowHandles);
    ASSERT_TRUE(h.ConnectAndSettle());
    sentBefore = h.sent.messages.size();
  }
  void Select(int slot) {
    h.editor.SendDeviceMessage(BuildSelectPreset(slot));
    h.RunFor(50ms);
  }
  sim::Record PedalRecord(int slot) {
    return h.link.pedal().Inspect(
        [&](const sim::PedalModel& m) { return m.state().presets[static_cast<size_t>(slot)]; });
  }

  CoreHarness h;
  std::array<FakeControl, kPresetCount> rows;
  std::array<IControlHandle*, kPresetCount> rowHandles{};
  size_t sentBefore = 0;
};

TEST_F(CurrentPreset, AGoodDumpLoadsTheEditBufferNameAndRow) {
  Select(5);
  const sim::Record record = PedalRecord(5);
  EXPECT_EQ(h.editor.session.currentPreset, 5);
  for (int i = 0; i < kNumSoundParams; ++i) {
    EXPECT_EQ(h.editor.Params()[i].Raw(), sim::RecordParam(record, i)) << i;
  }
  EXPECT_EQ(h.screen.At(138).str, std::string(record.begin() + 2, record.begin() + 34));
  EXPECT_EQ(h.screen.At(1).str, "05");
  EXPECT_EQ(h.screen.At(1).color, (IColor{255, 255, 255, 255}));
  EXPECT_EQ(rows[5].str.substr(0, 4), " 05 ");
  EXPECT_LE(rows[5].str.size(), 40u);
  EXPECT_EQ(rows[5].color, (IColor{255, 100, 255, 255}));
  EXPECT_EQ(h.editor.Params()[kParamScroll].Raw(), 104);
  EXPECT_FALSE(h.editor.presetModified);
  // The values came from the pedal: none is sent back.
  for (size_t i = sentBefore; i < h.sent.messages.size(); ++i) {
    EXPECT_NE(h.sent.messages[i][kCommandOffset], kCmdParamChange);
  }
}

TEST_F(CurrentPreset, ABadChecksumMovesOnlyTheHighlightAndTheNumber) {
  const auto paramsBefore = h.editor.liveValues;
  const auto snapshotBefore = h.editor.deviceSnapshot;
  const std::string nameBefore = h.screen.At(138).str;
  const int previous = h.editor.session.highlightedPreset;
  h.link.pedal().CorruptNextChecksum();
  Select(120);
  EXPECT_EQ(h.editor.session.currentPreset, 120);
  EXPECT_EQ(h.editor.session.highlightedPreset, 120);
  EXPECT_EQ(h.editor.Params()[kParamScroll].Raw(), 0);
  EXPECT_EQ(rows[120].color, (IColor{255, 100, 255, 255}));
  EXPECT_EQ(rows[static_cast<size_t>(previous)].color, (IColor{150, 100, 255, 255}));
  EXPECT_EQ(h.editor.liveValues, paramsBefore);
  EXPECT_EQ(h.editor.deviceSnapshot, snapshotBefore);
  EXPECT_EQ(h.screen.At(138).str, nameBefore);
}

TEST_F(CurrentPreset, AMissingUserIrIsFetchedAndACachedOneIsNot) {
  // Slot 9 uses user IR 131 in position 7.
  h.link.pedal().Modify([](sim::PedalModel& m) {
    sim::Record& r = m.state().presets[9];
    sim::RecordParam(r, 40) = 1;
    sim::RecordParam(r, 53) = 1;
    sim::RecordParam(r, 54) = 3;
  });
  Select(9);
  EXPECT_EQ(h.editor.session.userIrA, 131);
  EXPECT_EQ(h.sent.messages.back(), BuildRequestIr(131));

  const std::vector<uint8_t> image(2436, 0);
  ASSERT_EQ(h.editor.Cache()->WriteIrImage(131, image), CacheWriteStatus::kWritten);
  const size_t before = h.sent.messages.size();
  Select(9);
  EXPECT_EQ(h.sent.messages.size(), before + 1) << "only the selection";
}

TEST_F(CurrentPreset, AStoreOnThePedalEndsWithTheCacheHoldingTheStoredPreset) {
  h.editor.session.saveArmed = true;
  h.editor.session.saveAwaiting = true;
  h.editor.SendDeviceMessage(BuildParamChange(18, 9));  // store the edit buffer into slot 9
  h.RunFor(50ms);
  EXPECT_FALSE(h.editor.session.saveArmed);
  EXPECT_FALSE(h.editor.session.saveAwaiting);
  EXPECT_EQ(h.editor.session.currentPreset, 9);
  const sim::Record stored = PedalRecord(9);
  const auto cached = h.editor.Cache()->ReadPreset(9);
  ASSERT_TRUE(cached.has_value());
  EXPECT_TRUE(std::equal(stored.begin(), stored.end(), cached->Bytes().begin()));
  EXPECT_EQ(h.editor.checksums.Pair(9), sim::RecordChecksum(stored));
}

TEST_F(CurrentPreset, StoringSendsTheEditBufferWithItsName) {
  h.screen.At(138).str = "My Lead Tone";
  h.editor.SetParameterValueFromUI(1, 100 / 127.0);
  h.editor.StoreCurrentPreset();
  h.RunFor(20ms);
  const sim::Record stored = PedalRecord(h.editor.session.currentPreset);
  EXPECT_EQ(std::string(stored.begin() + 2, stored.begin() + 34),
            "My Lead Tone" + std::string(20, ' '));
  EXPECT_EQ(sim::RecordParam(stored, 1), 100);
}

}  // namespace
}  // namespace qd3::test
