// Every editor entry of the File and Edit menus reaches its flow: the first thing each one
// does that the player (or the pedal) can see.
#include <string>

#include "QD3ControlScreenNames.h"
#include "host/app/MenuTable.h"
#include "params/GroupNames.h"
#include "tests/editor/EditorFixture.h"
#include "tests/support/ScriptedPlatformServices.h"

namespace qd3::test {
namespace {

using Call = ScriptedPlatformServices::ECall;

class MenuCommandTest : public EditorTest {
 protected:
  MenuCommandTest() {
    mEditor.SetPlatformServices(&mPlatform);
    OpenWindow();
  }
  ScriptedPlatformServices mPlatform;
};

TEST_F(MenuCommandTest, EveryEditorEntryOfTheMenuIsACommandTheEditorHandles) {
  int editorEntries = 0;
  for (const MenuEntry& entry : kMenuEntries) {
    if (entry.action != MenuAction::kEditorCommand) continue;
    ++editorEntries;
    mPlatform.ClearCalls();
    mSent.Clear();
    mScreen.hiddenGroups = {group::kGlobalSettings, group::kFirmwareBackground,
                            group::kFirmwareUpdate};
    const auto hiddenBefore = mScreen.hiddenGroups;
    // The Edit menu's entries act on the history; UndoRedoTest has them.
    if (entry.editorCommand == kEditorCmdUndo || entry.editorCommand == kEditorCmdRedo) continue;
    mEditor.OnMenuCommand(entry.editorCommand);
    const bool visible = !mPlatform.Calls().empty() || !mSent.messages.empty() ||
                         mScreen.hiddenGroups != hiddenBefore;
    EXPECT_TRUE(visible) << entry.text << " did nothing";
  }
  EXPECT_EQ(editorEntries, 8);
}

TEST_F(MenuCommandTest, FirmwareUpdateShowsItsScreenOverADisabledMainScreen) {
  mScreen.hiddenGroups = {group::kFirmwareBackground, group::kFirmwareUpdate};
  mEditor.OnMenuCommand(kEditorCmdFirmwareUpdate);
  EXPECT_FALSE(mScreen.hiddenGroups.contains(group::kFirmwareBackground));
  EXPECT_FALSE(mScreen.hiddenGroups.contains(group::kFirmwareUpdate));
  EXPECT_FALSE(mScreen.disabledGroups.contains(group::kFirmwareUpdate));
  EXPECT_TRUE(mScreen.disabledGroups.contains(group::kMain));
  EXPECT_TRUE(mEditor.session.connected);
  EXPECT_FALSE(mEditor.session.pollEnabled);
}

TEST_F(MenuCommandTest, ClearCacheTellsThePlayerItFinished) {
  mEditor.OnMenuCommand(kEditorCmdClearCache);
  ASSERT_EQ(mPlatform.CountCalls(Call::kMessageBox), 1u);
  EXPECT_EQ(mPlatform.Calls()[0].text, "Finished successfully!");
}

TEST_F(MenuCommandTest, BankExportAsksForTheFileFirst) {
  mEditor.OnMenuCommand(kEditorCmdBankExport);
  ASSERT_EQ(mPlatform.CountCalls(Call::kSaveFile), 1u);
  EXPECT_EQ(mPlatform.Calls()[0].extension, "q3b");
}

TEST_F(MenuCommandTest, AboutShowsAndEscapeClosesTheAboutScreen) {
  mScreen.hiddenGroups = {group::kAbout};
  mEditor.ShowAbout();
  EXPECT_FALSE(mScreen.hiddenGroups.contains(group::kAbout));
  EXPECT_TRUE(mEditor.OnEditorKey(QD3Control::EditorKey::kCloseOverlay));
  EXPECT_TRUE(mScreen.hiddenGroups.contains(group::kAbout));
  EXPECT_FALSE(mEditor.OnEditorKey(QD3Control::EditorKey::kCloseOverlay));
}

}  // namespace
}  // namespace qd3::test
