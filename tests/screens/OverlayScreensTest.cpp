// The overlay screens built offscreen: their rectangles, their close controls and
// Escape, with clicks in window coordinates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QD3ControlScreenNames.h"
#include "params/GroupNames.h"
#include "params/ParamCatalogue.h"
#include "protocol/DeviceMessages.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "screens/ScreenStyles.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/ScriptedPlatformServices.h"
#include "toolkit/Events.h"
#include "toolkit/controls/IVNumberBoxControl.h"

namespace qd3::test {
namespace {

constexpr const char* kOverlayGroups[] = {group::kFirmwareBackground,
                                          group::kFirmwareUpdate,
                                          group::kFirmware,
                                          group::kGlobalSettings,
                                          group::kMidiCc,
                                          group::kMidiProgram,
                                          group::kAbout,
                                          group::kProgress,
                                          group::kFactoryProgress};

class OverlayScreens : public ::testing::Test {
 protected:
  OverlayScreens() {
    mS.editor.SetPlatformServices(&mPlatform);
    mS.graphics.SetPlatformServices(&mPlatform);
  }
  // A click at a design point, then the button's 100 ms animation.
  void ClickDesign(float x, float y) {
    const float k = mS.graphics.GetDrawScale();
    mS.host.Click(x * k, y * k);
    mS.host.Advance(0.2);
  }
  bool Escape() {
    IKeyPress key;
    key.vk = kVK_ESCAPE;
    return mS.graphics.OnKeyDown(0.f, 0.f, key);
  }
  bool GroupShown(const char* group) const {
    int shown = 0;
    int all = 0;
    mS.graphics.ForControlInGroup(group, [&](IControl& c) {
      ++all;
      shown += !c.IsHidden();
    });
    EXPECT_GT(all, 0) << group << " holds no control";
    EXPECT_TRUE(shown == 0 || shown == all) << group << " is half shown";
    return shown == all && all > 0;
  }
  std::vector<IControl*> InGroup(const char* group) const {
    std::vector<IControl*> out;
    mS.graphics.ForControlInGroup(group, [&](IControl& c) { out.push_back(&c); });
    return out;
  }
  // The pedal's answer to a map page's request.
  void ReceiveMap(DataBlockType type) {
    const std::array<uint8_t, kRecordSize> data{};
    const Bytes block = BuildDataBlock(type, data);
    mS.editor.HandleDeviceMessage(block.data(), block.size());
  }
  void ConnectAndApplySettings() {
    const Bytes info = BuildDeviceInfo(kFormatVersion, "QD3 TEST PEDAL");
    mS.editor.HandleDeviceMessage(info.data(), info.size());
    const std::array<uint8_t, kRecordSize> data{};
    const Bytes block = BuildDataBlock(kBlockGlobalSettings, data);
    mS.editor.HandleDeviceMessage(block.data(), block.size());
    mS.sent.Clear();
  }

  BuiltScreen mS{0.5f};
  ScriptedPlatformServices mPlatform;
};

TEST_F(OverlayScreens, EveryOverlayGroupIsBuiltHidden) {
  for (const char* group : kOverlayGroups) EXPECT_FALSE(GroupShown(group)) << group;
}

TEST_F(OverlayScreens, ProgressTargetsAreTheControlsOfTheirPanels) {
  for (const ProgressTarget& t : {kCommonProgress, kFactoryProgress, kFirmwareProgress}) {
    EXPECT_EQ(mS.Tagged(t.valueTag).GetGroup(), t.group);
    EXPECT_EQ(mS.Tagged(t.textTag).GetGroup(), t.group);
    EXPECT_EQ(mS.Tagged(t.textTag).GetStr(), "0 %");
  }
  EXPECT_EQ(mS.Tagged(52).GetStr(), "Loading Presets...");
  EXPECT_EQ(mS.Tagged(72).GetStr(), "Upgrading Factory Presets...");
}

TEST_F(OverlayScreens, ControllerMapBoxesStandFiftyUnitsApart) {
  std::vector<IRECT> boxes;
  for (IControl* c : InGroup(group::kMidiCc)) {
    if (dynamic_cast<IVNumberBoxControl*>(c)) boxes.push_back(c->GetRECT());
  }
  ASSERT_EQ(boxes.size(), 8u);
  for (size_t i = 0; i < boxes.size(); ++i) {
    const float top = 353.f + 50.f * static_cast<float>(i);
    EXPECT_FLOAT_EQ(boxes[i].L, 1103.f);
    EXPECT_FLOAT_EQ(boxes[i].T, top) << i;
    EXPECT_FLOAT_EQ(boxes[i].R, 1217.f);
    EXPECT_FLOAT_EQ(boxes[i].B, top + 44.f) << i;
  }
  // Each box beside its knob title, DRIVE first and LEVEL last.
  std::vector<std::string> labels;
  for (IControl* c : InGroup(group::kMidiCc)) {
    if (c->GetRECT().L == 863.f) labels.push_back(c->GetStr());
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"DRIVE", "LOW", "MID", "HIGH", "REVERB", "GATE",
                                              "FILTER", "LEVEL"}));
}

TEST_F(OverlayScreens, ClickBelowTheSettingsPictureClosesThePageLikeX) {
  mS.editor.OnMenuCommand(kEditorCmdGlobalSettings);
  ASSERT_TRUE(GroupShown(group::kGlobalSettings));
  ClickDesign(500.f, 600.f);  // on the picture: the page stays
  EXPECT_TRUE(GroupShown(group::kGlobalSettings));
  ClickDesign(500.f, 1150.f);
  EXPECT_FALSE(GroupShown(group::kGlobalSettings));
  EXPECT_TRUE(mS.editor.session.pollEnabled);

  mS.editor.OnMenuCommand(kEditorCmdGlobalSettings);
  ClickDesign(1470.f, 240.f);  // "X"
  EXPECT_FALSE(GroupShown(group::kGlobalSettings));
  EXPECT_TRUE(mS.editor.session.pollEnabled);
}

TEST_F(OverlayScreens, AboutScreenClosesOnAClickAnywhere) {
  for (const auto& [x, y] : {std::pair{100.f, 100.f}, std::pair{1325.f, 335.f}}) {
    mS.editor.ShowAbout();
    ASSERT_TRUE(GroupShown(group::kAbout));
    ClickDesign(x, y);
    EXPECT_FALSE(GroupShown(group::kAbout)) << x << ", " << y;
  }
}

TEST_F(OverlayScreens, AboutScreenShowsTheProjectVersion) {
  std::vector<std::string> texts;
  for (IControl* c : InGroup(group::kAbout)) {
    if (!c->GetStr().empty()) texts.push_back(c->GetStr());
  }
  EXPECT_EQ(texts, std::vector<std::string>{"v1.1.0"});
}

// Only the settings page sends each change at once; the map pages send on "BACK" and do
// not say otherwise.
TEST_F(OverlayScreens, OnlyTheSettingsPageSaysChangesGoAtOnce) {
  const auto says = [&](const char* group) {
    for (IControl* c : InGroup(group)) {
      if (c->GetStr() == "Changes are sent to the pedal at once.") return true;
    }
    return false;
  };
  EXPECT_TRUE(says(group::kGlobalSettings));
  EXPECT_FALSE(says(group::kMidiCc));
  EXPECT_FALSE(says(group::kMidiProgram));
}

// The overlays' pictures are 1920 x 1080 on a taller canvas: below them lies the window's
// background, not the preset list; and the settings titles are whole, never cut.
TEST_F(OverlayScreens, TheSettingsPagesCoverTheWholeCanvasAndTheirTitlesAreWhole) {
  ConnectAndApplySettings();
  const auto backdrop = [&] {
    const IColor c = mS.Probe(100.f, 1150.f);  // where the preset list is
    return c.R == palette::kWindowBackground.R && c.G == palette::kWindowBackground.G &&
           c.B == palette::kWindowBackground.B;
  };
  EXPECT_FALSE(backdrop()) << "the main screen shows there first";
  mS.editor.OnMenuCommand(kEditorCmdGlobalSettings);
  EXPECT_TRUE(backdrop()) << "settings";
  mS.editor.OpenProgramMap();
  EXPECT_TRUE(backdrop()) << "program map";
  mS.editor.CloseProgramMap();
  mS.editor.OpenControllerMap();
  EXPECT_TRUE(backdrop()) << "controller map";
  mS.editor.CloseControllerMap();

  // "PRESET PROTECTION WRITER" over its 200-unit caption: no mark at the box's sides.
  const auto lit = [](const IColor& c) { return Brightness(c) > 450; };
  EXPECT_EQ(mS.CountPixels(IRECT(760.f, 552.f, 762.f, 578.f), lit, 0.5f), 0);
  EXPECT_EQ(mS.CountPixels(IRECT(958.f, 552.f, 960.f, 578.f), lit, 0.5f), 0);
  EXPECT_GT(mS.CountPixels(IRECT(762.f, 552.f, 958.f, 578.f), lit, 0.5f), 50);
}

TEST_F(OverlayScreens, SetupAndBackSwitchBetweenTheSettingsAndTheMapPages) {
  ConnectAndApplySettings();
  mS.editor.OnMenuCommand(kEditorCmdGlobalSettings);
  ClickDesign(1250.f, 300.f);  // "SETUP" beside "MIDI MAPPING"
  EXPECT_TRUE(GroupShown(group::kMidiProgram));
  EXPECT_FALSE(GroupShown(group::kGlobalSettings));
  EXPECT_EQ(mS.sent.messages.back(), BuildRequestBlock(kBlockProgramMap));
  ClickDesign(1100.f, 275.f);  // "BACK"
  EXPECT_FALSE(GroupShown(group::kMidiProgram));
  EXPECT_TRUE(GroupShown(group::kGlobalSettings));
  EXPECT_EQ(mS.sent.messages.back()[kSelectorOffset], kBlockProgramMap);

  ClickDesign(1250.f, 500.f);  // "SETUP" beside "MIDI CC MODE"
  EXPECT_TRUE(GroupShown(group::kMidiCc));
  EXPECT_EQ(mS.sent.messages.back(), BuildRequestBlock(kBlockControllerMap));
  ClickDesign(1100.f, 275.f);
  EXPECT_TRUE(GroupShown(group::kGlobalSettings));
  EXPECT_EQ(mS.sent.messages.back()[kSelectorOffset], kBlockControllerMap);
}

TEST_F(OverlayScreens, EscapeClosesEachOverlayAsItsOwnCloseControlWould) {
  ConnectAndApplySettings();
  mS.editor.ShowAbout();
  EXPECT_TRUE(Escape());
  EXPECT_FALSE(GroupShown(group::kAbout));

  mS.editor.OnMenuCommand(kEditorCmdGlobalSettings);
  mS.editor.OpenControllerMap();
  ReceiveMap(kBlockControllerMap);
  mS.sent.Clear();
  EXPECT_TRUE(Escape());  // the map page first, sending its table like "BACK"
  EXPECT_FALSE(GroupShown(group::kMidiCc));
  EXPECT_TRUE(GroupShown(group::kGlobalSettings));
  ASSERT_EQ(mS.sent.messages.size(), 1u);
  EXPECT_EQ(mS.sent.messages[0][kSelectorOffset], kBlockControllerMap);
  mS.editor.OpenProgramMap();
  ReceiveMap(kBlockProgramMap);
  mS.sent.Clear();
  EXPECT_TRUE(Escape());
  EXPECT_FALSE(GroupShown(group::kMidiProgram));
  ASSERT_EQ(mS.sent.messages.size(), 1u);
  EXPECT_EQ(mS.sent.messages[0][kSelectorOffset], kBlockProgramMap);
  EXPECT_TRUE(Escape());  // then the settings page
  EXPECT_FALSE(GroupShown(group::kGlobalSettings));
  EXPECT_TRUE(mS.editor.session.pollEnabled);

  mS.editor.OnMenuCommand(kEditorCmdFirmwareUpdate);
  EXPECT_TRUE(GroupShown(group::kFirmwareUpdate));
  EXPECT_TRUE(GroupShown(group::kFirmwareBackground));
  EXPECT_TRUE(Escape());
  EXPECT_FALSE(GroupShown(group::kFirmwareUpdate));
  EXPECT_FALSE(GroupShown(group::kFirmwareBackground));
  EXPECT_FALSE(mS.editor.session.connected);
  EXPECT_TRUE(mS.editor.session.pollEnabled);
  int disabledMain = 0;
  mS.graphics.ForControlInGroup(group::kMain, [&](IControl& c) { disabledMain += c.IsDisabled(); });
  EXPECT_EQ(disabledMain, 0);
}

TEST_F(OverlayScreens, ArrowKeysDoNotStepPresetsBehindAnOpenPage) {
  mS.editor.OnMenuCommand(kEditorCmdGlobalSettings);
  IKeyPress right;
  right.vk = kVK_RIGHT;
  EXPECT_TRUE(mS.graphics.OnKeyDown(0.f, 0.f, right));
  EXPECT_EQ(mS.editor.session.currentPreset, 0);
}

TEST_F(OverlayScreens, ResetButtonAsksFirstAndCancelSendsNothing) {
  ConnectAndApplySettings();
  mS.editor.OnMenuCommand(kEditorCmdGlobalSettings);
  mS.sent.Clear();
  mPlatform.QueueMessageBoxResult(EMsgBoxResult::Cancel);
  ClickDesign(1300.f, 825.f);  // "SETTINGS"
  EXPECT_TRUE(mS.sent.messages.empty());
  ClickDesign(1300.f, 825.f);  // answered OK
  ASSERT_EQ(mS.sent.messages.size(), 1u);
  EXPECT_EQ(mS.sent.messages[0], BuildFactoryReset(kFactoryResetSettings));
  EXPECT_EQ(mPlatform.CountCalls(ScriptedPlatformServices::ECall::kMessageBox), 2u);
}

TEST_F(OverlayScreens, CancelledFirmwareDialogChangesNothing) {
  mS.editor.OnMenuCommand(kEditorCmdFirmwareUpdate);
  mS.sent.Clear();
  mPlatform.QueueOpenFileResult("");  // the player closes the dialog
  ClickDesign(1100.f, 682.f);         // "UPDATE FIRMWARE"
  mS.host.Frame();
  for (int tick = 0; tick < 20; ++tick) mS.editor.OnDeviceTimer();
  ASSERT_EQ(mPlatform.CountCalls(ScriptedPlatformServices::ECall::kOpenFile), 1u);
  EXPECT_EQ(mPlatform.Calls().back().extension, "ldr");
  EXPECT_TRUE(mS.sent.messages.empty());
  EXPECT_EQ(mPlatform.CountCalls(ScriptedPlatformServices::ECall::kMessageBox), 0u);
  EXPECT_TRUE(GroupShown(group::kFirmwareUpdate));
  EXPECT_FALSE(GroupShown(group::kFirmware)) << "no progress without a file";
}

TEST_F(OverlayScreens, DownloadLinkOpensOurOwnProjectPage) {
  mS.editor.OnMenuCommand(kEditorCmdFirmwareUpdate);
  ClickDesign(848.f, 361.f);
  ASSERT_EQ(mPlatform.CountCalls(ScriptedPlatformServices::ECall::kOpenUrl), 1u);
  EXPECT_EQ(mPlatform.Calls().back().text.rfind("https://qd3control.github.io/", 0), 0u);
}

}  // namespace
}  // namespace qd3::test
