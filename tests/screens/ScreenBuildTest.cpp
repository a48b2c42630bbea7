// What BuildEditorScreen leaves on the canvas: the groups' visibility, the preset
// rows, the status lines and a pedal knob bound to its parameter, probed as pixels
// where the layout puts them.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "QD3ControlScreenNames.h"
#include "params/GroupNames.h"
#include "params/PageRules.h"
#include "params/SoundTemplateTables.h"
#include "protocol/DeviceReplies.h"
#include "screens/BuildEditorScreen.h"
#include "screens/PedalFace.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/api/EmbeddedResources.h"

namespace qd3::test {
namespace {

// The status text is black on the dark panel; a text pixel is well below the panel.
bool IsStatusText(const IColor& c) {
  return Brightness(c) < 40;
}

TEST(ScreenBuild, SecondBuildOnTheSameCanvasAddsNothing) {
  BuiltScreen s;
  const int n = s.graphics.NControls();
  EXPECT_GT(n, 128 + 32);
  BuildEditorScreen(s.graphics, s.editor);
  EXPECT_EQ(s.graphics.NControls(), n);
}

struct GroupState {
  const char* group;
  bool hidden;
  bool disabled;
};

TEST(ScreenBuild, GroupsAfterTheBuildAreShownHiddenAndDisabledAsLaidOut) {
  BuiltScreen s;
  const std::vector<GroupState> table = {
      {"background", false, false},        {"bcontrols", false, true},
      {"devicecontrols", false, false},    {"irdisplay", false, false},
      {"ircontrols", false, false},        {"filterled", true, false},
      {"gatecontrols", true, false},       {"analogsimcontrols", true, false},
      {"ambiencecontrols", true, false},   {"ambiencecontrols2", true, false},
      {"drivecontrols", true, false},      {"preampcontrols", true, false},
      {"levelcontrols", true, false},      {"autofiltercontrols", true, false},
      {"lowfiltercontrols", true, false},  {"midfiltercontrols", true, false},
      {"highfiltercontrols", true, false}, {"customircontrols", true, false},
  };
  for (const GroupState& want : table) {
    int n = 0;
    s.graphics.ForControlInGroup(want.group, [&](IControl& c) {
      ++n;
      EXPECT_EQ(c.IsHidden(), want.hidden) << want.group << " tag " << c.GetTag();
      const bool waitsForMode =
          c.GetTag() == 25 || c.GetTag() == 26 || c.GetTag() == 62 || c.GetTag() == 63;
      EXPECT_EQ(c.IsDisabled(), want.disabled || waitsForMode)
          << want.group << " tag " << c.GetTag();
    });
    EXPECT_GT(n, 0) << want.group << " holds no control";
  }
  // In "maincontrols" only the dynamics graph, the IR caption and "EDITED" start hidden.
  int hiddenMain = 0;
  s.graphics.ForControlInGroup(group::kMain, [&](IControl& c) { hiddenMain += c.IsHidden(); });
  EXPECT_EQ(hiddenMain, 3);
  EXPECT_TRUE(s.Tagged(93).IsHidden());
  EXPECT_TRUE(s.Tagged(kTagEditedMarker).IsHidden());
  EXPECT_TRUE(s.Tagged(kTagAutoFilterLed).IsHidden());
  // On the IR page the gain knobs and load buttons wait for their position's mode.
  for (int tag : {25, 26, 62, 63}) EXPECT_TRUE(s.Tagged(tag).IsDisabled()) << tag;
  for (int tag : {23, 24, 27, 28, 61}) EXPECT_FALSE(s.Tagged(tag).IsDisabled()) << tag;
}

// The names outside the screens show and hide must be the groups the build makes: an
// unknown name would hide nothing without a word.
TEST(ScreenBuild, EveryNamedGroupIsBuiltAndEveryBuiltGroupIsNamed) {
  BuiltScreen s;
  std::set<std::string> built;
  s.graphics.ForAllControls([&](IControl& c) {
    if (!c.GetGroup().empty()) built.emplace(c.GetGroup());
  });
  const std::set<std::string> unbuilt(group::kUnbuiltGroups.begin(), group::kUnbuiltGroups.end());
  std::set<std::string> named;
  for (const char* name : group::kAll) {
    EXPECT_TRUE(named.emplace(name).second) << "named twice: " << name;
    EXPECT_NE(built.count(name), unbuilt.count(name)) << name;
  }
  for (const std::string& name : built) EXPECT_EQ(named.count(name), 1u) << "unnamed: " << name;

  for (const char* name : DetailPageGroups()) EXPECT_EQ(named.count(name), 1u) << name;
  for (int page = 0; page <= 20; ++page) {
    const PageContents* contents = PageContentsFor(page);
    if (contents == nullptr) continue;
    for (const char* name : contents->groups) EXPECT_EQ(built.count(name), 1u) << page << name;
  }
  for (const char* name : {kDriveButtonGroup, kAmbienceButtonGroup, kEchoTimeGroup}) {
    EXPECT_EQ(built.count(name), 1u) << name;
  }
}

TEST(ScreenBuild, PresetRowsShowTheEditorsLabelsAndTheCurrentRowIsLit) {
  BuiltScreen s;
  int row = 0;
  s.graphics.ForAllControls([&](IControl& c) {
    const IRECT& r = c.GetRECT();
    if (c.GetGroup().empty() && r.L == 1.f && r.R == 261.f && r.H() == 48.f) {
      EXPECT_EQ(c.GetStr(), s.editor.PresetRowLabel(row)) << "row " << row;
      ++row;
    }
  });
  EXPECT_EQ(row, 128);
  // The empty cache gives every row its number.
  EXPECT_EQ(s.editor.PresetRowLabel(0).rfind(" 00", 0), 0u) << s.editor.PresetRowLabel(0);

  // Row 0 (the current preset) is drawn at full alpha, row 1 at 150 of 255: the
  // brightest text pixel of row 0 is clearly brighter.
  auto brightest = [&](float top) {
    int best = 0;
    s.host.Frame();
    for (float y = top; y < top + 48.f; y += 1.f)
      for (float x = 1.f; x < 80.f; x += 1.f)
        best = std::max(best, Brightness(s.host.ProbeDesign(x, y)));
    return best;
  };
  const int lit = brightest(228.f);
  const int other = brightest(278.f);
  EXPECT_GT(other, 3 * 38 + 100) << "row 1 shows no text";
  EXPECT_GT(lit, other + 60);
  // Right of the label the row is its own background.
  EXPECT_TRUE(NearTol(s.Probe(250.f, 240.f), IColor{255, 38, 38, 38}, 2));
}

TEST(ScreenBuild, StatusLinesShowConnectingThenTheDevice) {
  BuiltScreen s;
  const IRECT deviceLine{660.f, 5.f, 1060.f, 29.f};
  const IRECT versionLine{660.f, 29.f, 1060.f, 49.f};
  EXPECT_EQ(s.CountPixels(deviceLine, IsStatusText), 0);
  EXPECT_GT(s.CountPixels(versionLine, IsStatusText), 100);
  EXPECT_EQ(s.Tagged(kTagVersionLine).GetStr(), kTextConnecting);

  const Bytes info = BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL");
  s.editor.HandleDeviceMessage(info.data(), info.size());
  EXPECT_EQ(s.Tagged(kTagDeviceLine).GetStr(), kTextDeviceLine);
  EXPECT_GT(s.CountPixels(deviceLine, IsStatusText), 100);
}

// A knob picture with a white mark below its centre: at the value 0 (-135 degrees)
// the mark points up and to the right, at 1 (+135 degrees) up and to the left.
class KnobPicture : public ::testing::Test {
 protected:
  KnobPicture() {
    RegisterTestResource("knobrotate.png", MakePNG(102, 102, [](cairo_t* cr) {
                           cairo_set_source_rgba(cr, 1, 1, 1, 1);
                           cairo_rectangle(cr, 45, 70, 12, 30);
                           cairo_fill(cr);
                         }));
  }
  // Later tests see the picture missing again.
  ~KnobPicture() override { RegisterEmbeddedResource("knobrotate.png", -1, {}); }
};

TEST_F(KnobPicture, PedalKnobTurnsWhenItsParameterChanges) {
  BuiltScreen s;
  // The "Drive" knob, centred on (770, 189); its mark 40 units from the centre.
  const float upRightX = 770.f + 28.f, upLeftX = 770.f - 28.f, upY = 189.f - 28.f;
  s.editor.SetParameterValue(5, 0.0);
  const int rightAt0 = Brightness(s.Probe(upRightX, upY));
  const int leftAt0 = Brightness(s.Probe(upLeftX, upY));
  s.editor.SetParameterValue(5, 1.0);
  const int rightAt1 = Brightness(s.Probe(upRightX, upY));
  const int leftAt1 = Brightness(s.Probe(upLeftX, upY));
  // Greyed out (the pedal face is disabled) but visible: a quarter of white over
  // the dark panel.
  EXPECT_GT(rightAt0, leftAt0 + 60);
  EXPECT_GT(leftAt1, rightAt1 + 60);
}

TEST(ScreenBuild, MissingPicturesKeepTheirLayoutPlaceAndDrawNothing) {
  BuiltScreen s;
  EXPECT_EQ(s.Tagged(kTagRightSwitch).GetRECT(), IRECT(1460.f, 486.f, 1535.f, 571.f));
  EXPECT_EQ(s.Tagged(kTagSaveButton).GetRECT(), IRECT(869.f, 314.f, 907.f, 390.f));
  EXPECT_EQ(s.Tagged(kTagAutoFilterSwitch).GetRECT(), IRECT(1459.f, 322.f, 1534.f, 407.f));
  // The dark panel shows through where the foot switch picture would be.
  EXPECT_TRUE(NearTol(s.Probe(1497.f, 528.f), IColor{255, 28, 28, 30}, 2));
  s.graphics.SetAllDirty();
  EXPECT_TRUE(s.host.Frame());
}

TEST(ScreenBuild, ScreenshotOfTheStartScreen) {
  BuiltScreen s(0.5f);
  s.graphics.SetAllDirty();
  s.host.Frame();
  EXPECT_TRUE(s.host.SavePNG(OutputPath("screens-start.png")));
}

}  // namespace
}  // namespace qd3::test
