// What a change shows in the open window besides the pedal's two-digit display: the
// number texts, the page it opens, the dynamics graph and the controls that depend
// on it. Expected texts are written out by hand from the formats, not recomputed.
#include <string>
#include <vector>

#include "tests/editor/EditorFixture.h"

namespace qd3::test {
namespace {

struct GraphCall {
  std::string what;
  double value;
  bool operator==(const GraphCall&) const = default;
};

class RecordingGraph : public QD3Control::DynamicsGraphView {
 public:
  void Show(bool show) override { shown = show; }
  void SetGateThreshold(double db) override { calls.push_back({"gateThreshold", db}); }
  void SetGateRatio(double r) override { calls.push_back({"gateRatio", r}); }
  void SetCompThreshold(double db) override { calls.push_back({"compThreshold", db}); }
  void SetCompRatio(double r) override { calls.push_back({"compRatio", r}); }
  bool shown = false;
  std::vector<GraphCall> calls;
};

class ScreenRulesTest : public EditorTest {
 protected:
  ScreenRulesTest() {
    for (int tag : {1,  6,  8,  9,  13, 17, 19, 20, 21, 22, 25, 26, 27, 28, 34, 36, 37, 38, 39, 40,
                    41, 42, 43, 44, 45, 47, 48, 49, 50, 60, 61, 62, 63, 70, 71, 80, 81, 92, 93}) {
      mScreen.Add(tag);
    }
    mEditor.AttachScreen(&mScreen);
    mEditor.AttachDynamicsGraph(&mGraph);
    // As after the first values from the pedal: pages may switch from here on.
    mSeam.SetApplyingDeviceValues(false);
  }
  ~ScreenRulesTest() override { mEditor.AttachScreen(nullptr); }
  bool Shown(const char* group) const { return mScreen.hiddenGroups.count(group) == 0; }
  std::string Text(int tag) { return mScreen.At(tag).str; }

  RecordingGraph mGraph;
};

struct TextCase {
  int index;
  int raw;
  int tag;
  const char* text;
};

TEST_F(ScreenRulesTest, NumberTextsReachTheirTagsAtTheEdgesOfEachFormat) {
  const TextCase cases[] = {
      {0, 64, 48, "50"},     {1, 0, 47, "1"},         {1, 127, 47, "100"},
      {4, 127, 34, "100"},   {6, 64, 36, "0.0"},      {6, 65, 36, "0.3"},
      {6, 127, 36, "12.0"},  {6, 0, 36, "-12.0"},     {7, 0, 41, "-12.0"},
      {12, 127, 38, "12.0"}, {8, 127, 43, "100"},     {9, 0, 20, "Bypass"},
      {9, 1, 20, "-99.45"},  {9, 127, 20, "-30.00"},  {13, 64, 40, "1000"},
      {13, 63, 40, "993"},   {13, 0, 40, "100"},      {13, 127, 40, "1900"},
      {14, 64, 1, "40"},     {14, 127, 1, "80"},      {16, 0, 45, "100"},
      {16, 64, 45, "250"},   {16, 127, 45, "600"},    {17, 127, 44, "100"},
      {25, 0, 9, "1.0:1"},   {25, 127, 9, "20.0:1"},  {29, 127, 13, "1:12.0"},
      {36, 64, 50, "50"},    {37, 0, 17, "1.0:1"},    {37, 127, 17, "10.0:1"},
      {39, 0, 19, "10.0"},   {39, 127, 19, "1000.0"}, {42, 64, 27, "0.00"},
      {42, 0, 27, "-12.00"}, {43, 127, 28, "12.00"},  {47, 0, 39, "0.5"},
      {47, 64, 39, "1.0"},   {47, 127, 39, "2.0"},    {48, 0, 37, "0.5"},
      {49, 127, 42, "2.0"},  {61, 127, 49, "100"},    {69, 127, 92, "100"},
      {69, 64, 92, "0"},
  };
  for (const TextCase& c : cases) {
    SetRaw(c.index, c.raw);
    EXPECT_EQ(Text(c.tag), c.text) << "parameter " << c.index << " at " << c.raw;
  }
}

TEST_F(ScreenRulesTest, DynamicsAndAnalogSimNameTheirStateInTheTitle) {
  struct Case {
    int index, raw;
    const char* title;
    const char* number;
  };
  const Case cases[] = {
      {10, 64, "DYNAMICS", "Bypass"},    {10, 65, "COMPRESSOR", "-0.00"},
      {10, 127, "COMPRESSOR", "-60.00"}, {10, 63, "EXPANDER", "0.00"},
      {10, 1, "EXPANDER", "-59.05"},     {10, 0, "EXPANDER", "-inf."},
      {15, 0, "DIGITAL SMOOTH", "100"},  {15, 64, "SMOOTHING", "Bypass"},
      {15, 65, "ANALOG SMOOTH", "2"},
  };
  for (const Case& c : cases) {
    SetRaw(c.index, c.raw);
    const int titleTag = c.index == 10 ? 6 : 22;
    const int numberTag = c.index == 10 ? 8 : 21;
    EXPECT_EQ(Text(titleTag), c.title) << c.index << " at " << c.raw;
    EXPECT_EQ(Text(numberTag), c.number) << c.index << " at " << c.raw;
  }
}

TEST_F(ScreenRulesTest, TextsFollowDeviceValuesWithoutSwitchingPages) {
  SetRaw(6, 0);  // "Low" opens the low filter page
  ASSERT_EQ(mEditor.currentPage, kPageLowFilter);
  mSeam.SetApplyingDeviceValues(true);
  SetRaw(0, 64);
  SetRaw(9, 127);
  SetRaw(5, 10);
  SetRaw(74, 1);
  EXPECT_EQ(Text(48), "50");
  EXPECT_EQ(Text(20), "-30.00");
  EXPECT_EQ(mEditor.currentPage, kPageLowFilter);
  EXPECT_TRUE(Shown("lowfiltercontrols"));
  EXPECT_FALSE(Shown("gatecontrols"));
}

TEST_F(ScreenRulesTest, EachBlockParameterOpensItsPage) {
  struct Case {
    int index, page;
    const char* group;
  };
  const Case cases[] = {
      {9, kPageGate, "gatecontrols"},
      {8, kPageAmbience, "ambiencecontrols"},
      {15, kPageAnalogSim, "analogsimcontrols"},
      {6, kPageLowFilter, "lowfiltercontrols"},
      {12, kPageMidFilter, "midfiltercontrols"},
      {7, kPageHighFilter, "highfiltercontrols"},
      {13, kPageMidFilter, "midfiltercontrols"},
      {5, kPageDrive, "drivecontrols"},
      {0, kPageLevel, "levelcontrols"},
      {61, kPageAutoFilter, "autofiltercontrols"},
      {1, kPagePreamp, "preampcontrols"},
      {74, kPageIr, "ircontrols"},
  };
  int value = 1;
  for (const Case& c : cases) {
    SetRaw(c.index, value++ % 2 ? 100 : 20);
    EXPECT_EQ(mEditor.currentPage, c.page) << c.index;
    EXPECT_TRUE(Shown(c.group)) << c.index;
    for (const char* other : {"gatecontrols", "drivecontrols", "ircontrols", "levelcontrols"}) {
      if (std::string(other) != c.group) {
        EXPECT_FALSE(Shown(other)) << c.index << " " << other;
      }
    }
  }
}

TEST_F(ScreenRulesTest, GainLeavesTheDrivePageButOpensThePreampPageElsewhere) {
  SetRaw(5, 30);
  ASSERT_EQ(mEditor.currentPage, kPageDrive);
  SetRaw(1, 90);
  EXPECT_EQ(mEditor.currentPage, kPageDrive);
  EXPECT_EQ(Text(47), "71");
  SetRaw(0, 30);
  SetRaw(1, 91);
  EXPECT_EQ(mEditor.currentPage, kPagePreamp);
}

TEST_F(ScreenRulesTest, NothingChangesOnScreenOrPageWhileTheWindowIsClosed) {
  mEditor.AttachScreen(nullptr);
  SetRaw(9, 127);
  SetRaw(60, 1);
  EXPECT_EQ(mEditor.currentPage, kPageNone);
  EXPECT_EQ(mScreen.At(20).str, "");
  EXPECT_TRUE(mEditor.autoFilterOn) << "the switch state follows parameter 60 regardless";
}

TEST_F(ScreenRulesTest, IrDisplayRefreshOpensTheIrPage) {
  SetRaw(0, 30);
  ASSERT_EQ(mEditor.currentPage, kPageLevel);
  SetRaw(14, 64);
  EXPECT_EQ(mEditor.currentPage, kPageIr);
  EXPECT_FLOAT_EQ(static_cast<float>(mScreen.At(61).value), 1.0f - 64.0f / 127.0f);
}

TEST_F(ScreenRulesTest, GateAndDynamicsMoveTheGraph) {
  SetRaw(9, 127);
  SetRaw(37, 127);
  SetRaw(10, 127);
  ASSERT_GE(mGraph.calls.size(), 3u);
  EXPECT_EQ(mGraph.calls[0], (GraphCall{"gateThreshold", -30.0}));
  EXPECT_EQ(mGraph.calls[1].what, "gateRatio");
  EXPECT_NEAR(mGraph.calls[1].value, 0.1, 1e-6);
  EXPECT_EQ(mGraph.calls[2], (GraphCall{"compThreshold", -60.0}));
  EXPECT_TRUE(mGraph.shown) << "the gate page shows the graph";
}

TEST_F(ScreenRulesTest, DrivePageDrawsTheRatioOfTheDynamicsState) {
  SetRaw(25, 127);  // 20:1
  SetRaw(29, 127);  // 1:12
  SetRaw(5, 40);    // drive page
  struct Case {
    int dynamics;
    double ratio;
  };
  for (const Case c : {Case{64, 1.0}, Case{100, 20.0}, Case{30, 1.0 / 12.0}}) {
    mGraph.calls.clear();
    SetRaw(10, c.dynamics);
    ASSERT_FALSE(mGraph.calls.empty());
    bool found = false;
    for (const GraphCall& call : mGraph.calls) {
      if (call.what == "compRatio") {
        EXPECT_NEAR(call.value, c.ratio, 1e-6) << c.dynamics;
        found = true;
      }
    }
    EXPECT_TRUE(found) << c.dynamics;
  }
  // Away from the drive page the dynamics setting leaves the ratio alone.
  SetRaw(9, 50);
  mGraph.calls.clear();
  SetRaw(10, 100);
  for (const GraphCall& call : mGraph.calls) EXPECT_NE(call.what, "compRatio");
}

TEST_F(ScreenRulesTest, RatioKnobsMoveTheGraphOnlyWhileTheirTextIsVisible) {
  mScreen.At(9).hidden = true;
  mScreen.At(13).hidden = true;
  SetRaw(25, 127);
  SetRaw(29, 127);
  EXPECT_TRUE(mGraph.calls.empty());
  mScreen.At(9).hidden = false;
  SetRaw(25, 0);
  ASSERT_EQ(mGraph.calls.size(), 1u);
  EXPECT_EQ(mGraph.calls[0], (GraphCall{"compRatio", 1.0}));
  mScreen.At(13).hidden = false;
  SetRaw(29, 0);
  EXPECT_EQ(mGraph.calls.back(), (GraphCall{"compRatio", 1.0}));
}

TEST_F(ScreenRulesTest, EchoTimeFollowsTheEchoButtonsOnTheAmbiencePage) {
  SetRaw(8, 10);
  ASSERT_EQ(mEditor.currentPage, kPageAmbience);
  EXPECT_FALSE(Shown("ambiencecontrols2"));
  mScreen.At(81).value = 1.0;  // "echoverb" lit
  SetRaw(8, 11);
  EXPECT_TRUE(Shown("ambiencecontrols2"));
  mScreen.At(81).value = 0.0;
  mScreen.At(80).value = 1.0;  // "echo" lit
  SetRaw(8, 12);
  EXPECT_TRUE(Shown("ambiencecontrols2"));
  mScreen.At(80).value = 0.0;
  SetRaw(8, 13);
  EXPECT_FALSE(Shown("ambiencecontrols2"));
}

TEST_F(ScreenRulesTest, IrModeEnablesThePositionsGainAndImport) {
  mEditor.userIrNames.Set(kUserIrNamePositionA, "My Cab");
  mEditor.userIrNames.Set(kUserIrNamePositionB, "Other Cab");
  for (int tag : {25, 26, 62, 63}) mScreen.At(tag).disabled = true;
  SetRaw(40, 1);
  EXPECT_FALSE(mScreen.At(25).disabled);
  EXPECT_FALSE(mScreen.At(62).disabled);
  EXPECT_TRUE(mScreen.At(26).disabled) << "the second position is untouched";
  EXPECT_EQ(Text(70), "My Cab");
  SetRaw(41, 1);
  EXPECT_FALSE(mScreen.At(63).disabled);
  EXPECT_EQ(Text(71), "Other Cab");
  SetRaw(40, 0);
  SetRaw(41, 0);
  EXPECT_TRUE(mScreen.At(25).disabled);
  EXPECT_TRUE(mScreen.At(62).disabled);
  EXPECT_TRUE(mScreen.At(26).disabled);
  EXPECT_TRUE(mScreen.At(63).disabled);
  EXPECT_EQ(Text(70), "BRIT 2x12");
  EXPECT_EQ(Text(71), "BOUTIQUE 4x12");
}

TEST_F(ScreenRulesTest, AutoFilterSwitchLightsTheLed) {
  mScreen.At(60).hidden = true;
  SetRaw(60, 1);
  EXPECT_TRUE(mEditor.autoFilterOn);
  EXPECT_FALSE(mScreen.At(60).hidden);
  SetRaw(60, 0);
  EXPECT_FALSE(mEditor.autoFilterOn);
  EXPECT_TRUE(mScreen.At(60).hidden);
}

TEST_F(ScreenRulesTest, PresetDumpRefreshesTextsAndStaysOnTheShownPage) {
  Connect();
  SetRaw(6, 10);
  ASSERT_EQ(mEditor.currentPage, kPageLowFilter);
  std::array<uint8_t, kRecordSize> record{};  // every parameter 0
  record[0] = 1;                              // format 1.0
  Receive(BuildPresetDump(3, record));
  EXPECT_EQ(mEditor.currentPage, kPageLowFilter);
  EXPECT_EQ(Text(36), "-12.0") << "Low 0";
  EXPECT_EQ(Text(20), "Bypass") << "Gate 0";
  EXPECT_EQ(Text(21), "100") << "AnalogSim 0";
}

}  // namespace
}  // namespace qd3::test
