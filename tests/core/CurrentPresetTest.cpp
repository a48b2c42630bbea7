// A dump of the current preset: what it changes with a good and with a bad checksum.
#include "protocol/MessageBuilders.h"
#include "tests/support/ConnectedWithRows.h"
#include "tests/support/EditorTestSeam.h"

namespace qd3::test {
namespace {

class CurrentPreset : public ConnectedWithRows {
 protected:
  void SetUp() override {
    ConnectedWithRows::SetUp();
    mSentBefore = mH.sent.messages.size();
  }
  void Select(int slot) {
    mH.editor.SendDeviceMessage(BuildSelectPreset(slot));
    mH.RunFor(50ms);
  }
  sim::Record PedalRecord(int slot) {
    return mH.link.Pedal().Inspect(
        [&](const sim::PedalModel& m) { return m.State().presets[static_cast<size_t>(slot)]; });
  }

  size_t mSentBefore = 0;
};

TEST_F(CurrentPreset, AGoodDumpLoadsTheEditBufferNameAndRow) {
  Select(5);
  const sim::Record record = PedalRecord(5);
  EXPECT_EQ(mH.editor.session.currentPreset, 5);
  for (int i = 0; i < kNumSoundParams; ++i) {
    EXPECT_EQ(mH.editor.Params()[i].Raw(), sim::RecordParam(record, i)) << i;
  }
  EXPECT_EQ(mH.screen.At(138).str, std::string(record.begin() + 2, record.begin() + 34));
  EXPECT_EQ(mH.screen.At(1).str, "05");
  EXPECT_EQ(mH.screen.At(1).color, (IColor{255, 255, 255, 255}));
  EXPECT_EQ(mRows[5].str.substr(0, 4), " 05 ");
  EXPECT_LE(mRows[5].str.size(), 40u);
  EXPECT_EQ(mRows[5].color, (IColor{255, 100, 255, 255}));
  EXPECT_EQ(mH.editor.Params()[kParamScroll].Raw(), 104);
  EXPECT_FALSE(mH.editor.presetModified);
  // The values came from the pedal: none is sent back.
  for (size_t i = mSentBefore; i < mH.sent.messages.size(); ++i) {
    EXPECT_NE(mH.sent.messages[i][kCommandOffset], kCmdParamChange);
  }
}

TEST_F(CurrentPreset, ABadChecksumMovesOnlyTheHighlightAndTheNumber) {
  const auto paramsBefore = mH.editor.liveValues;
  const auto snapshotBefore = mH.editor.deviceSnapshot;
  const std::string nameBefore = mH.screen.At(138).str;
  const int previous = mH.editor.session.highlightedPreset;
  mH.link.Pedal().CorruptNextChecksum();
  Select(120);
  EXPECT_EQ(mH.editor.session.currentPreset, 120);
  EXPECT_EQ(mH.editor.session.highlightedPreset, 120);
  EXPECT_EQ(mH.editor.Params()[kParamScroll].Raw(), 0);
  EXPECT_EQ(mRows[120].color, (IColor{255, 100, 255, 255}));
  EXPECT_EQ(mRows[static_cast<size_t>(previous)].color, (IColor{150, 100, 255, 255}));
  EXPECT_EQ(mH.editor.liveValues, paramsBefore);
  EXPECT_EQ(mH.editor.deviceSnapshot, snapshotBefore);
  EXPECT_EQ(mH.screen.At(138).str, nameBefore);
}

TEST_F(CurrentPreset, AMissingUserIrIsFetchedAndACachedOneIsNot) {
  // Slot 9 uses user IR 131 in position 7.
  mH.link.Pedal().Modify([](sim::PedalModel& m) {
    sim::Record& r = m.State().presets[9];
    sim::RecordParam(r, 40) = 1;
    sim::RecordParam(r, 53) = 1;
    sim::RecordParam(r, 54) = 3;
  });
  Select(9);
  EXPECT_EQ(mH.editor.session.userIrA, 131);
  EXPECT_EQ(mH.sent.messages.back(), BuildRequestIr(131));

  const std::vector<uint8_t> image(2436, 0);
  ASSERT_EQ(mH.editor.Cache()->WriteIrImage(131, image), CacheWriteStatus::kWritten);
  const size_t before = mH.sent.messages.size();
  Select(9);
  EXPECT_EQ(mH.sent.messages.size(), before + 1) << "only the selection";
}

TEST_F(CurrentPreset, AStoreOnThePedalEndsWithTheCacheHoldingTheStoredPreset) {
  EditorTestSeam(mH.editor).ArmStore();
  mH.editor.SendDeviceMessage(BuildParamChange(18, 9));  // store the edit buffer into slot 9
  mH.RunFor(50ms);
  EXPECT_FALSE(mH.editor.session.saveArmed);
  EXPECT_FALSE(mH.editor.session.saveAwaiting);
  EXPECT_EQ(mH.editor.session.currentPreset, 9);
  const sim::Record stored = PedalRecord(9);
  const auto cached = mH.editor.Cache()->ReadPreset(9);
  ASSERT_TRUE(cached.has_value());
  EXPECT_TRUE(std::equal(stored.begin(), stored.end(), cached->Bytes().begin()));
  EXPECT_EQ(mH.editor.checksums.Pair(9), sim::RecordChecksum(stored));
}

TEST_F(CurrentPreset, StoringSendsTheEditBufferWithItsName) {
  mH.screen.At(138).str = "My Lead Tone";
  mH.editor.SetParameterValueFromUI(1, 100 / 127.0);
  mH.editor.StoreCurrentPreset();
  mH.RunFor(20ms);
  const sim::Record stored = PedalRecord(mH.editor.session.currentPreset);
  EXPECT_EQ(std::string(stored.begin() + 2, stored.begin() + 34),
            "My Lead Tone" + std::string(20, ' '));
  EXPECT_EQ(sim::RecordParam(stored, 1), 100);
}

// The pedal does not answer a store: the row and the cache take the new name at once, the
// list rebuilt from the cache keeps it, and the pedal holds it too.
TEST_F(CurrentPreset, ARenamedPresetShowsItsNewNameInTheListAndTheCacheAtOnce) {
  Select(4);
  mH.screen.At(138).str = "Renamed Lead";  // as the name field's commit leaves it
  mH.editor.StoreCurrentPreset();
  const auto nameOf = [](std::span<const uint8_t> field) {
    std::string name(field.begin(), field.end());
    return name.substr(0, name.find_last_not_of(' ') + 1);
  };
  EXPECT_NE(mH.editor.PresetRowLabel(4).find("Renamed Lead"), std::string::npos)
      << mH.editor.PresetRowLabel(4);
  const auto cached = mH.editor.Cache()->ReadPreset(4);
  ASSERT_TRUE(cached.has_value());
  EXPECT_EQ(nameOf(cached->NameField()), "Renamed Lead");

  mH.RunFor(1s);
  mH.editor.LoadCacheState();  // the list rebuilt from the cache
  EXPECT_NE(mH.editor.PresetRowLabel(4).find("Renamed Lead"), std::string::npos);
  const sim::Record onPedal = PedalRecord(4);
  EXPECT_EQ(std::string(onPedal.begin() + 2, onPedal.begin() + 14), "Renamed Lead");
  // The checksum the table now holds is the pedal's: the next check finds nothing to read.
  mH.editor.Reconnect();
  bool synchronised = false;
  for (int step = 0; step < 400; ++step) {
    mH.RunFor(10ms);
    synchronised = synchronised || mH.editor.session.readAllActive;
  }
  EXPECT_TRUE(mH.editor.session.connected);
  EXPECT_FALSE(synchronised) << "slot 5 was read again";
}

}  // namespace
}  // namespace qd3::test
