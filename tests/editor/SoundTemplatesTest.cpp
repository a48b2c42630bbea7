// The drive voicings and ambience types applied to the edit buffer and found again
// in a preset the pedal sends. The tables here are written out on their own, so a
// typo in the built-in tables shows as a difference.
#include <algorithm>
#include <array>
#include <vector>

#include "protocol/DeviceMessages.h"
#include "tests/editor/EditorFixture.h"

namespace qd3::test {
namespace {

// Parameters of a drive row: Gain, Buzz, Punch, Crunch, Buzz Q, Punch Q, Crunch Q,
// Punch Freq, Drive, Dynamics, Preset Level.
constexpr std::array<int, 11> kDriveParams = {1, 2, 3, 4, 44, 45, 46, 11, 5, 10, 64};
constexpr std::array<std::array<int, 11>, 10> kDriveRows = {{
    {65, 29, 17, 112, 64, 10, 64, 58, 26, 88, 32},
    {27, 47, 17, 126, 64, 127, 64, 82, 7, 84, 127},
    {97, 53, 49, 105, 64, 64, 64, 54, 15, 64, 32},
    {64, 64, 64, 64, 64, 64, 64, 54, 64, 64, 32},
    {91, 45, 98, 91, 64, 64, 64, 94, 63, 64, 32},
    {61, 29, 33, 94, 64, 64, 64, 69, 30, 94, 32},
    {98, 47, 88, 96, 64, 64, 64, 41, 111, 64, 32},
    {98, 51, 48, 100, 64, 64, 64, 54, 30, 64, 32},
    {91, 45, 64, 91, 64, 64, 64, 54, 64, 64, 32},
    {80, 0, 114, 80, 64, 47, 64, 66, 100, 64, 32},
}};
// The fields a match compares: Buzz, Punch, Buzz Q, Punch Q, Crunch Q, Punch Freq.
constexpr std::array<int, 6> kDriveCompared = {1, 2, 4, 5, 6, 7};
constexpr std::array<int, 5> kDriveNotCompared = {0, 3, 8, 9, 10};

// Room Size, Diffusion, Extension Factor, Fbk. Delay Size, Fbk. Filter, Fbk. Damper
// Factor, LP Filter, HP Filter, Modulation Depth, Modulation Rate.
constexpr std::array<int, 10> kAmbienceParams = {16, 18, 19, 20, 21, 22, 23, 24, 58, 59};
constexpr std::array<std::array<int, 10>, 7> kAmbienceRows = {{
    {47, 20, 3, 49, 127, 93, 127, 15, 0, 0},
    {64, 8, 2, 64, 127, 64, 64, 20, 4, 127},
    {109, 100, 2, 71, 127, 73, 26, 23, 26, 0},
    {86, 120, 2, 127, 127, 45, 127, 42, 4, 127},
    {74, 84, 4, 52, 0, 0, 127, 0, 67, 60},
    {64, 64, 5, 0, 127, 64, 127, 15, 0, 0},
    {64, 70, 5, 0, 127, 32, 127, 10, 0, 0},
}};

constexpr int kCompression = 69;
constexpr int kDynamics = 10;
constexpr int kFirstDriveTag = 82;
constexpr int kFirstAmbienceTag = 75;

class SoundTemplatesTest : public EditorTest {
 protected:
  SoundTemplatesTest() {
    for (int tag = kFirstAmbienceTag; tag < kFirstDriveTag + 10; ++tag) mScreen.Add(tag);
  }
  // The 65 sound values of the edit buffer as a dump of slot 9 carries them.
  void ReceiveDump(const std::array<int, 65>& values) {
    std::array<uint8_t, 256> record{};
    record[0] = 1;
    std::fill(record.begin() + 2, record.begin() + 34, ' ');
    for (size_t i = 0; i < values.size(); ++i) record[34 + i] = static_cast<uint8_t>(values[i]);
    std::fill(record.begin() + 192, record.end(), ' ');
    Receive(BuildPresetDump(9, record));
  }
  std::array<int, 65> Defaults() const {
    std::array<int, 65> v{};
    for (int i = 0; i < 65; ++i) v[static_cast<size_t>(i)] = mEditor.Params()[i].Raw();
    return v;
  }
  int LitDrive() { return Lit(kFirstDriveTag, 10); }
  int LitAmbience() { return Lit(kFirstAmbienceTag, 7); }
  int Lit(int firstTag, int count) {
    int lit = count;
    for (int j = 0; j < count; ++j) {
      const double v = mScreen.At(firstTag + j).value;
      if (v == 1.0) {
        EXPECT_EQ(lit, count) << "two buttons lit";
        lit = j;
      } else {
        EXPECT_EQ(v, 0.0);
      }
    }
    return lit;
  }
  std::vector<int> QueuedIndexes() {
    std::vector<int> order;
    mEditor.DrainQueuedParamUpdates([&](int index, double) { order.push_back(index); });
    return order;
  }
  int Sent(DeviceCommand command) const {
    return static_cast<int>(
        std::count_if(mSent.messages.begin(), mSent.messages.end(), [command](const Bytes& m) {
          return m.size() > kCommandOffset && m[kCommandOffset] == static_cast<uint8_t>(command);
        }));
  }
};

TEST_F(SoundTemplatesTest, EveryDriveTemplateEndsAtItsTableValues) {
  Connect();  // liveValues follow the parameters while a pedal is connected
  OpenWindow();
  for (int k = 0; k < 10; ++k) {
    mEditor.ApplyDriveTemplate(k);
    for (size_t f = 0; f < kDriveParams.size(); ++f) {
      EXPECT_EQ(mEditor.Params()[kDriveParams[f]].Raw(), kDriveRows[k][f])
          << "template " << k << " parameter " << kDriveParams[f];
    }
    // Every row's dynamics field is 64 or more, so "Compression" carries it too.
    EXPECT_EQ(mEditor.Params()[kCompression].Raw(), kDriveRows[k][9]) << "template " << k;
    EXPECT_EQ(mEditor.liveValues[static_cast<size_t>(kDynamics)], kDriveRows[k][9]);
  }
}

TEST_F(SoundTemplatesTest, EveryAmbienceTemplateEndsAtItsTableValues) {
  Connect();
  for (int k = 0; k < 7; ++k) {
    mEditor.ApplyAmbienceTemplate(k);
    for (size_t f = 0; f < kAmbienceParams.size(); ++f) {
      EXPECT_EQ(mEditor.Params()[kAmbienceParams[f]].Raw(), kAmbienceRows[k][f])
          << "template " << k << " parameter " << kAmbienceParams[f];
      EXPECT_EQ(mEditor.liveValues[static_cast<size_t>(kAmbienceParams[f])], kAmbienceRows[k][f]);
    }
  }
}

TEST_F(SoundTemplatesTest, TemplatesSetTheirParametersInTheirOwnOrder) {
  OpenWindow();
  QueuedIndexes();
  mEditor.ApplyDriveTemplate(0);
  // "Dynamics" is set inside the set of "Compression", so it is queued first.
  EXPECT_EQ(QueuedIndexes(), (std::vector<int>{1, 11, 5, 64, 10, 69, 2, 44, 3, 45, 4, 46}));
  mEditor.ApplyAmbienceTemplate(0);
  EXPECT_EQ(QueuedIndexes(), (std::vector<int>{16, 58, 59, 18, 19, 20, 21, 22, 23, 24}));
}

TEST_F(SoundTemplatesTest, CompressionAndDynamicsFollowTheDynamicsField) {
  OpenWindow();
  SetRaw(kDynamics, 100);
  mEditor.ApplyDriveTemplate(0);  // amp-blond
  EXPECT_EQ(mEditor.Params()[kDynamics].Raw(), 88);
  EXPECT_EQ(mEditor.Params()[kCompression].Raw(), 88);
  mEditor.ApplyDriveTemplate(2);  // amp-british
  EXPECT_EQ(mEditor.Params()[kDynamics].Raw(), 64);
  EXPECT_EQ(mEditor.Params()[kCompression].Raw(), 64);
}

TEST_F(SoundTemplatesTest, ConnectedApplySendsOneStoreAndNoLiveEdit) {
  Connect();
  mEditor.ApplyDriveTemplate(6);
  EXPECT_EQ(mSent.messages.size(), 1u);
  EXPECT_EQ(Sent(kCmdStorePreset), 1);
  mSent.Clear();
  mEditor.ApplyAmbienceTemplate(3);
  EXPECT_EQ(mSent.messages.size(), 1u);
  ASSERT_EQ(Sent(kCmdStorePreset), 1);
  // The store carries the template's values: record byte 34 + i at message byte 8 + 34 + i.
  const Bytes& store = mSent.messages[0];
  EXPECT_EQ(store[7], mEditor.session.currentPreset);
  for (size_t f = 0; f < kAmbienceParams.size(); ++f) {
    EXPECT_EQ(store[42 + static_cast<size_t>(kAmbienceParams[f])], kAmbienceRows[3][f]);
  }
  EXPECT_FALSE(mEditor.session.applyingDeviceValues);
  EXPECT_TRUE(mEditor.templateApplied);
}

TEST_F(SoundTemplatesTest, UnconnectedApplySendsNothingAndKeepsTheValues) {
  mEditor.ApplyDriveTemplate(9);
  mEditor.ApplyAmbienceTemplate(4);
  EXPECT_TRUE(mSent.messages.empty());
  EXPECT_EQ(mEditor.Params()[3].Raw(), 114);
  EXPECT_EQ(mEditor.Params()[58].Raw(), 67);
  EXPECT_TRUE(mEditor.templateApplied);
}

TEST_F(SoundTemplatesTest, DumpOfEachDriveRowLightsItsButtonWhateverTheFreeFields) {
  Connect();
  OpenWindow();
  for (int k = 0; k < 10; ++k) {
    std::array<int, 65> v = Defaults();
    for (size_t f = 0; f < kDriveParams.size(); ++f) {
      v[static_cast<size_t>(kDriveParams[f])] = kDriveRows[k][f];
    }
    for (int f : kDriveNotCompared) v[static_cast<size_t>(kDriveParams[f])] = 100 - f;
    ReceiveDump(v);
    EXPECT_EQ(LitDrive(), k);
  }
}

TEST_F(SoundTemplatesTest, DriveNearMissesLightNothing) {
  Connect();
  OpenWindow();
  for (int k = 0; k < 10; ++k) {
    for (int f : kDriveCompared) {
      std::array<int, 65> v = Defaults();
      for (size_t g = 0; g < kDriveParams.size(); ++g) {
        v[static_cast<size_t>(kDriveParams[g])] = kDriveRows[k][g];
      }
      int& field = v[static_cast<size_t>(kDriveParams[f])];
      field = field == 127 ? 126 : field + 1;
      ReceiveDump(v);
      EXPECT_EQ(LitDrive(), 10) << "template " << k << " field " << f;
    }
  }
}

TEST_F(SoundTemplatesTest, AllValues64MatchNoDriveTemplate) {
  Connect();
  OpenWindow();
  mScreen.At(kFirstDriveTag + 3).value = 1.0;
  std::array<int, 65> v;
  v.fill(64);
  ReceiveDump(v);
  EXPECT_EQ(LitDrive(), 10);
}

TEST_F(SoundTemplatesTest, DumpOfEachAmbienceRowLightsItsButtonWhateverTheRoomSize) {
  Connect();
  OpenWindow();
  for (int k = 0; k < 7; ++k) {
    std::array<int, 65> v = Defaults();
    for (size_t f = 0; f < kAmbienceParams.size(); ++f) {
      v[static_cast<size_t>(kAmbienceParams[f])] = kAmbienceRows[k][f];
    }
    v[16] = 3;
    ReceiveDump(v);
    EXPECT_EQ(LitAmbience(), k);
  }
}

TEST_F(SoundTemplatesTest, AmbienceNearMissesAndTheDefaultsLightNothing) {
  Connect();
  OpenWindow();
  ReceiveDump(Defaults());
  EXPECT_EQ(LitAmbience(), 7);
  for (int k = 0; k < 7; ++k) {
    for (size_t f = 1; f < kAmbienceParams.size(); ++f) {
      std::array<int, 65> v = Defaults();
      for (size_t g = 0; g < kAmbienceParams.size(); ++g) {
        v[static_cast<size_t>(kAmbienceParams[g])] = kAmbienceRows[k][g];
      }
      int& field = v[static_cast<size_t>(kAmbienceParams[f])];
      // "Reverb Extension Factor" stays inside 2..5.
      const int top = kAmbienceParams[f] == 19 ? 5 : 127;
      field = field == top ? field - 1 : field + 1;
      ReceiveDump(v);
      EXPECT_EQ(LitAmbience(), 7) << "template " << k << " field " << f;
    }
  }
}

TEST_F(SoundTemplatesTest, DumpWithTheWindowClosedHighlightsNothing) {
  Connect();
  std::array<int, 65> v = Defaults();
  for (size_t f = 0; f < kDriveParams.size(); ++f) {
    v[static_cast<size_t>(kDriveParams[f])] = kDriveRows[4][f];
  }
  ReceiveDump(v);
  for (int tag = kFirstAmbienceTag; tag < kFirstDriveTag + 10; ++tag) {
    EXPECT_EQ(mScreen.At(tag).value, 0.0);
  }
}

TEST_F(SoundTemplatesTest, DumpOnTheDrivePageSetsCompressionFromTheNewDynamics) {
  Connect();
  OpenWindow();
  mEditor.ShowPage(13);
  std::array<int, 65> v = Defaults();
  v[kDynamics] = 100;
  ReceiveDump(v);
  EXPECT_EQ(mEditor.Params()[kCompression].Raw(), 100);
}

TEST_F(SoundTemplatesTest, EchoVoicingsShowTheTimeGroupOnlyOnTheAmbiencePage) {
  OpenWindow();
  mEditor.ShowPage(3);
  mEditor.HighlightAmbienceTemplate(5);
  EXPECT_FALSE(mScreen.hiddenGroups.contains("ambiencecontrols2"));
  mEditor.HighlightAmbienceTemplate(0);
  EXPECT_TRUE(mScreen.hiddenGroups.contains("ambiencecontrols2"));
  mEditor.ShowPage(13);
  mEditor.HighlightAmbienceTemplate(6);
  EXPECT_TRUE(mScreen.hiddenGroups.contains("ambiencecontrols2"));
  EXPECT_EQ(LitAmbience(), 6);
}

}  // namespace
}  // namespace qd3::test
