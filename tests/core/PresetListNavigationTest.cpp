// The preset list by wheel and keys: the wheel scrolls 3 rows (1 with Shift), the keys
// move the highlight and keep it in view, Enter picks it as a click on its row would.
#include "QD3ControlScreenNames.h"
#include "params/DependentValues.h"
#include "protocol/MessageBuilders.h"
#include "tests/support/ConnectedWithRows.h"

namespace qd3::test {
namespace {

class PresetListNavigation : public ConnectedWithRows {
 protected:
  void SetUp() override {
    ConnectedWithRows::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(mH.editor.session.highlightedPreset, 0);
  }
  // The first visible row, as the rows are placed on the screen.
  int ShownTop() const {
    for (int slot = 0; slot < kPresetCount; ++slot) {
      const FakeControl& row = mRows[static_cast<size_t>(slot)];
      if (!row.hidden && row.y == static_cast<float>(kPresetListFirstRowY)) return slot;
    }
    return -1;
  }
  bool Lit(int slot) const {
    return mRows[static_cast<size_t>(slot)].color == IColorFromArgb(kColorCurrentRow);
  }
};

TEST_F(PresetListNavigation, TheWheelScrollsThreeRowsOrOneWithShiftWithinTheList) {
  struct Turn {
    bool up;
    bool fine;
    int top;  // the first visible row after the turn
  };
  const Turn turns[] = {{false, false, 3}, {false, true, 4}, {true, false, 1},
                        {true, false, 0},  {true, true, 0},  {false, false, 3}};
  for (const Turn& turn : turns) {
    mH.editor.WheelPresetList(turn.up, turn.fine);
    EXPECT_EQ(ShownTop(), turn.top);
  }
  for (int i = 0; i < 50; ++i) mH.editor.WheelPresetList(false, false);
  EXPECT_EQ(ShownTop(), kPresetListMaxTop);
  EXPECT_FALSE(mRows[kPresetCount - 1].hidden) << "the last slot is in view at the end";
  EXPECT_TRUE(mRows[kPresetListMaxTop - 1].hidden);
}

TEST_F(PresetListNavigation, KeysMoveTheHighlightIntoViewAndEnterSelectsIt) {
  using Key = QD3Control::EditorKey;
  struct Press {
    Key key;
    int times;
    int highlighted;
    int top;
  };
  const Press presses[] = {
      {Key::kListDown, 20, 20, 2},   {Key::kListPageUp, 1, 1, 1},     {Key::kListLast, 1, 127, 109},
      {Key::kListDown, 1, 127, 109}, {Key::kListPageUp, 1, 108, 108}, {Key::kListFirst, 1, 0, 0},
      {Key::kListUp, 1, 0, 0},       {Key::kListPageDown, 1, 19, 1},
  };
  for (const Press& p : presses) {
    for (int i = 0; i < p.times; ++i) EXPECT_TRUE(mH.editor.OnEditorKey(p.key));
    EXPECT_EQ(mH.editor.session.highlightedPreset, p.highlighted);
    EXPECT_EQ(ShownTop(), p.top);
    EXPECT_TRUE(Lit(p.highlighted));
  }
  EXPECT_FALSE(Lit(0));

  const size_t from = mH.sent.messages.size();
  EXPECT_TRUE(mH.editor.OnEditorKey(Key::kListPick));
  ASSERT_EQ(mH.sent.messages.size(), from + 1);
  EXPECT_EQ(mH.sent.messages[from], BuildSelectPreset(19));
  mH.RunFor(1s);
  EXPECT_EQ(mH.editor.session.currentPreset, 19);
}

TEST_F(PresetListNavigation, BehindAnOpenSettingsPageTheKeysMoveNothing) {
  mH.editor.OpenGlobalSettings();
  mH.RunFor(1s);
  const size_t from = mH.sent.messages.size();
  mH.editor.OnEditorKey(QD3Control::EditorKey::kListDown);
  mH.editor.OnEditorKey(QD3Control::EditorKey::kListPick);
  EXPECT_EQ(mH.editor.session.highlightedPreset, 0);
  EXPECT_EQ(mH.sent.messages.size(), from);
}

}  // namespace
}  // namespace qd3::test
