// In-place text entry, the popup menu of captions, number boxes and links.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ScriptedPlatformServices.h"
#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/controls/ICaptionControl.h"
#include "toolkit/controls/IEditableTextControl.h"
#include "toolkit/controls/IPopupMenuControl.h"
#include "toolkit/controls/ITextEntryControl.h"
#include "toolkit/controls/IURLControl.h"
#include "toolkit/controls/IVNumberBoxControl.h"

namespace qd3::test {
namespace {

IKeyPress Key(int vk, std::string utf8 = {}) {
  IKeyPress k;
  k.vk = vk;
  k.utf8 = std::move(utf8);
  return k;
}

void Type(IGraphics& g, const std::string& text) {
  for (char ch : text) g.OnKeyDown(0, 0, Key(0, std::string(1, ch)));
}

const IText kNameText(24, IColor{255, 100, 255, 255}, "Roboto-Regular", EAlign::Near, EVAlign::Top);

TEST(EditableText, CommitSetsTheTextAndRunsTheAction) {
  Canvas c;
  std::vector<std::string> committed;
  auto* e =
      c.graphics.AttachControl(std::make_unique<IEditableTextControl>(
                                   IRECT(20, 120, 260, 144), "Preset", kNameText, kColorTransparent,
                                   [&](IControl* ctl) { committed.push_back(ctl->GetStr()); }),
                               138, "maincontrols");
  c.host.Click(100, 130);
  ASSERT_TRUE(c.graphics.TextEntry().IsActive());
  EXPECT_EQ(c.graphics.TextEntry().GetText(), "Preset");
  Type(c.graphics, "AB");
  c.graphics.OnKeyDown(0, 0, Key(kVK_BACK));
  Type(c.graphics, "C");
  EXPECT_TRUE(committed.empty());
  EXPECT_TRUE(c.graphics.OnKeyDown(0, 0, Key(kVK_RETURN)));
  EXPECT_FALSE(c.graphics.TextEntry().IsActive());
  EXPECT_EQ(e->GetStr(), "PresetAC");
  EXPECT_EQ(committed, (std::vector<std::string>{"PresetAC"}));
}

// Regression: a text wider than its field was drawn past the field's right side,
// where no later redraw of the field painted over it.
TEST(EditableText, ALongTextIsCutAtTheFieldsRightSide) {
  Canvas c;
  c.graphics.AttachControl(std::make_unique<IEditableTextControl>(
      IRECT(20, 120, 260, 144), "Tolvane QD3 Default Preset Name Far Too Long", kNameText));
  int inside = 0;
  int outside = 0;
  for (float x = 20; x < 400; x += 1.f) {
    for (float y = 122; y < 144; y += 2.f) {
      if (c.Probe(x, y).G < 50) continue;  // the canvas behind is black
      (x < 260 ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 0);
  EXPECT_EQ(outside, 0);
}

TEST(EditableText, EscapeCancelsAndAPressElsewhereCommits) {
  Canvas c;
  int actions = 0;
  auto* e = c.graphics.AttachControl(
      std::make_unique<IEditableTextControl>(IRECT(20, 120, 260, 144), "Name", kNameText,
                                             kColorTransparent, [&](IControl*) { ++actions; }));
  c.host.Click(100, 130);
  Type(c.graphics, "xyz");
  c.graphics.OnKeyDown(0, 0, Key(kVK_ESCAPE));
  EXPECT_EQ(e->GetStr(), "Name");
  EXPECT_EQ(actions, 0);

  c.host.Click(100, 130);
  c.graphics.OnKeyDown(0, 0, Key(kVK_HOME));
  Type(c.graphics, "My ");
  c.host.Click(900, 900);
  EXPECT_EQ(e->GetStr(), "My Name");
  EXPECT_EQ(actions, 1);
}

TEST(EditableText, ASearchFieldIsToldEachChangeAndEscapeClearsIt) {
  Canvas c;
  std::vector<std::string> told;
  int actions = 0;
  auto* e = c.graphics.AttachControl(std::make_unique<IEditableTextControl>(
      IRECT(20, 120, 260, 144), "", kNameText, kColorTransparent, [&](IControl*) { ++actions; }));
  e->SetLiveTextFunction([&](const std::string& text) { told.push_back(text); });
  e->BeginEditing();  // as Ctrl+F opens it
  Type(c.graphics, "le");
  c.graphics.OnKeyDown(0, 0, Key(kVK_LEFT));  // no change, nothing told
  c.graphics.OnKeyDown(0, 0, Key(kVK_END));
  c.graphics.OnKeyDown(0, 0, Key(kVK_BACK));
  EXPECT_EQ(told, (std::vector<std::string>{"l", "le", "l"}));
  c.graphics.OnKeyDown(0, 0, Key(kVK_ESCAPE));
  EXPECT_EQ(told.back(), "");
  EXPECT_EQ(e->GetStr(), "");
  EXPECT_EQ(actions, 0);
  int returns = 0;
  e->SetReturnFunction([&] { ++returns; });
  e->BeginEditing();
  Type(c.graphics, "x");
  c.host.Click(900, 900);  // leaving the field commits, but is no Return
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(returns, 0);
  e->BeginEditing();
  EXPECT_TRUE(c.graphics.OnKeyDown(0, 0, Key(kVK_RETURN)));
  EXPECT_EQ(actions, 2);
  EXPECT_EQ(returns, 1);
  EXPECT_EQ(e->GetStr(), "x");
}

TEST(EditableText, CaretMovesOverWholeUtf8Characters) {
  Canvas c;
  auto* e = c.graphics.AttachControl(std::make_unique<IEditableTextControl>(
      IRECT(20, 120, 260, 144), "a\xC3\xA9", kNameText));  // "aé"
  c.host.Click(100, 130);
  c.graphics.OnKeyDown(0, 0, Key(kVK_LEFT));
  EXPECT_EQ(c.graphics.TextEntry().Caret(), 1u);
  c.graphics.OnKeyDown(0, 0, Key(kVK_DELETE));
  c.graphics.OnKeyDown(0, 0, Key(kVK_RETURN));
  EXPECT_EQ(e->GetStr(), "a");
}

// A fixed-width name: the entry opens on the name without its padding, takes printable
// ASCII up to 32 bytes, and Ctrl+A selects it all for the next key to replace or delete.
TEST(EditableText, APaddedNameIsEditedWithoutItsPaddingUpTo32Bytes) {
  Canvas c;
  auto* e = c.graphics.AttachControl(std::make_unique<IEditableTextControl>(
      IRECT(20, 120, 260, 144), "Clean Chime" + std::string(21, ' '), kNameText, kColorTransparent,
      nullptr, 32));
  ITextEntryControl& entry = c.graphics.TextEntry();
  c.host.Click(100, 130);
  EXPECT_EQ(entry.GetText(), "Clean Chime");
  EXPECT_EQ(entry.Caret(), 11u);
  c.graphics.OnKeyDown(0, 0, Key(kVK_BACK));
  EXPECT_EQ(entry.GetText(), "Clean Chim");

  IKeyPress selectAll = Key('A', "a");
  selectAll.C = true;
  c.graphics.OnKeyDown(0, 0, selectAll);
  EXPECT_TRUE(entry.AllSelected());
  Type(c.graphics, "L");
  EXPECT_EQ(entry.GetText(), "L") << "the typed key replaces the selection";
  c.graphics.OnKeyDown(0, 0, selectAll);
  c.graphics.OnKeyDown(0, 0, Key(kVK_DELETE));
  EXPECT_EQ(entry.GetText(), "");

  Type(c.graphics, std::string(40, 'x'));
  EXPECT_EQ(entry.GetText(), std::string(32, 'x')) << "typing stops at 32 bytes";
  c.graphics.OnKeyDown(0, 0, Key(kVK_HOME));
  c.graphics.OnKeyDown(0, 0, Key(kVK_DELETE));
  Type(c.graphics, "\xC3\xA9");  // not plain ASCII: refused
  Type(c.graphics, "y");
  EXPECT_EQ(entry.GetText(), "y" + std::string(31, 'x'));
  c.graphics.OnKeyDown(0, 0, Key(kVK_RETURN));
  EXPECT_EQ(e->GetStr(), "y" + std::string(31, 'x'));
}

// The caret is at least two device pixels wide at every scale, and a text longer than the
// field slides so that the caret at its end stays inside the field. Below the glyphs
// (top-aligned 24-unit text in a 40-unit field) only the caret is dark.
TEST(EditableText, TheCaretIsVisibleAtEveryScaleAndStaysInTheField) {
  for (const float scale : {0.5f, 1.f, 2.f}) {
    SCOPED_TRACE(scale);
    Canvas c(scale, 1920, 400);
    c.graphics.AttachControl(std::make_unique<IEditableTextControl>(
        IRECT(20, 120, 260, 160), std::string(32, 'W'), kNameText, kColorTransparent, nullptr, 32));
    c.host.Click(c.WX(100), c.WY(130));
    c.host.Frame();
    int darkColumns = 0;
    const float step = 1.f / scale;  // one device pixel
    for (float x = 21; x < 259; x += step) darkColumns += c.host.ProbeDesign(x, 154).R < 100;
    EXPECT_GE(darkColumns, 2);
    EXPECT_LE(darkColumns, 6);
  }
}

TEST(EditableText, HidingTheControlClosesItsEntry) {
  Canvas c;
  auto* e = c.graphics.AttachControl(
      std::make_unique<IEditableTextControl>(IRECT(20, 120, 260, 144), "Name", kNameText), -1,
      "maincontrols");
  c.host.Click(100, 130);
  c.graphics.HideGroup("maincontrols", true);
  EXPECT_FALSE(c.graphics.TextEntry().IsActive());
  EXPECT_EQ(e->GetStr(), "Name");
}

class CaptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mC.delegate.SetValueTexts(82, {"0", "1"});
    mC.delegate.SetValueTexts(85, {"Off", "Value", "Bar", "Both"});
    mCaption = mC.graphics.AttachControl(std::make_unique<ICaptionControl>(
        IRECT(760, 380, 960, 420), 85, IText(24, IColor{255, 240, 240, 240}),
        IColor{255, 70, 70, 70}));
  }
  Canvas mC{1.f, 1920, 1200};
  ICaptionControl* mCaption = nullptr;
};

TEST_F(CaptionTest, ShowsTheDisplayTextAndOffersTheValueTexts) {
  EXPECT_EQ(mCaption->GetStr(), "Off");
  mC.host.Click(860, 400);
  IPopupMenuControl& menu = mC.graphics.PopupMenu();
  ASSERT_TRUE(menu.IsOpen());
  EXPECT_EQ(menu.Items(), (std::vector<std::string>{"Off", "Value", "Bar", "Both"}));
  EXPECT_EQ(menu.Highlighted(), 0);
  const IRECT item2 = menu.ItemRECT(2);
  EXPECT_FLOAT_EQ(item2.T, 420 + 2 * IPopupMenuControl::kItemHeight) << "opens under the caption";
  mC.host.Click(item2.MW(), item2.MH());
  EXPECT_FALSE(menu.IsOpen());
  EXPECT_NEAR(mCaption->GetValue(), 2.0 / 3.0, 1e-12);
  EXPECT_NEAR(mC.delegate.values[85], 2.0 / 3.0, 1e-12);
  EXPECT_EQ(mCaption->GetStr(), "Bar");
}

// A value text wider than its box ends in "…" inside it: nothing is drawn past its sides.
TEST_F(CaptionTest, AValueTooWideForItsBoxEndsInsideIt) {
  mC.delegate.SetValueTexts(86, {"All pots engaged with a very long description"});
  mC.graphics.AttachControl(std::make_unique<ICaptionControl>(
      IRECT(300, 600, 420, 640), 86, IText(24, IColor{255, 240, 240, 240})));
  mC.host.Frame();
  int outside = 0;
  int inside = 0;
  for (int y = 600; y < 640; ++y) {
    for (int x = 250; x < 470; ++x) {
      const bool lit = mC.graphics.GetPixel(x, y).R > 120;
      (x < 300 || x >= 420 ? outside : inside) += lit;
    }
  }
  EXPECT_EQ(outside, 0);
  EXPECT_GT(inside, 50);
}

TEST_F(CaptionTest, PressOutsideTheMenuDismissesIt) {
  auto* other = mC.graphics.AttachControl(
      std::make_unique<ICaptionControl>(IRECT(0, 0, 100, 40), 82, IText(24, kColorWhite)));
  mC.host.Click(860, 400);
  mC.host.Click(50, 20);  // on another caption: the menu only closes
  EXPECT_FALSE(mC.graphics.PopupMenu().IsOpen());
  EXPECT_TRUE(mC.delegate.fromUI.empty());
  EXPECT_DOUBLE_EQ(other->GetValue(), 0.0);
}

TEST_F(CaptionTest, KeyboardChoosesInTheMenu) {
  mC.host.Click(860, 400);
  mC.graphics.OnKeyDown(0, 0, Key(kVK_DOWN));
  mC.graphics.OnKeyDown(0, 0, Key(kVK_DOWN));
  mC.graphics.OnKeyDown(0, 0, Key(kVK_DOWN));
  mC.graphics.OnKeyDown(0, 0, Key(kVK_RETURN));
  EXPECT_DOUBLE_EQ(mCaption->GetValue(), 1.0);
}

TEST(NumberBox, DragWheelAndTypedNumber) {
  Canvas c;
  IVStyle box = kDefaultStyle.WithShowLabel(false).WithColor(kFG, IColor{255, 94, 94, 94});
  auto* n = c.graphics.AttachControl(std::make_unique<IVNumberBoxControl>(
      IRECT(1103, 353, 1217, 397), 91, nullptr, "", box, 0, 127, "%0.0f"));
  EXPECT_EQ(n->GetStr(), "0");
  // 8 units per step: 24 units up is 3.
  c.host.Drag(1150, 375, 1150, 351, 6);
  EXPECT_EQ(n->GetStr(), "3");
  EXPECT_NEAR(c.delegate.values[91], 3.0 / 127, 1e-12);
  c.graphics.OnMouseWheel(1150, 375, {}, 1.f);
  EXPECT_EQ(n->GetStr(), "4");
  c.graphics.OnMouseDblClick(1150, 375, {});
  ASSERT_TRUE(c.graphics.TextEntry().IsActive());
  EXPECT_EQ(c.graphics.TextEntry().GetText(), "4");
  c.graphics.OnKeyDown(0, 0, Key(kVK_BACK));
  Type(c.graphics, "200");
  c.graphics.OnKeyDown(0, 0, Key(kVK_RETURN));
  EXPECT_EQ(n->GetStr(), "127") << "typed values are clamped to the range";
  EXPECT_DOUBLE_EQ(c.delegate.values[91], 1.0);
  c.graphics.OnMouseDblClick(1150, 375, {});
  Type(c.graphics, "abc");
  c.graphics.OnKeyDown(0, 0, Key(kVK_RETURN));
  EXPECT_EQ(n->GetStr(), "127") << "not a number: unchanged";
}

TEST(NumberBox, LabelSitsAboveTheBox) {
  Canvas c;
  auto* n = c.graphics.AttachControl(std::make_unique<IVNumberBoxControl>(
      IRECT(900, 500, 1050, 550), 99, nullptr, "Ctrl. Program (0-127)"));
  EXPECT_GT(n->BoxRECT().T, 500.f);
  EXPECT_FLOAT_EQ(n->BoxRECT().B, 550.f);
}

TEST(URLControl, ClickOpensTheAddress) {
  Canvas c;
  ScriptedPlatformServices platform;
  c.graphics.SetPlatformServices(&platform);
  auto* link = c.graphics.AttachControl(
      std::make_unique<IURLControl>(IRECT(748, 346, 948, 376), "www.example.com",
                                    "https://www.example.com/firmware", IText(25, kColorWhite)));
  c.host.Click(848, 360);
  ASSERT_EQ(platform.CountCalls(ScriptedPlatformServices::ECall::kOpenUrl), 1u);
  EXPECT_EQ(platform.Calls()[0].text, "https://www.example.com/firmware");
  EXPECT_TRUE(link->WasClicked());
}

}  // namespace
}  // namespace qd3::test
