// The invisible picker: event kinds, modifiers, direction and the value it sets.
#include <gtest/gtest.h>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/graphs/IInvisibleSelectControl3.h"

namespace qd3::test {
namespace {

using Select = IInvisibleSelectControl3;
constexpr int kParam = 9;
const IRECT kList(1, 228, 261, 1178);  // T 228, H 950

enum class Event { kPress, kRelease, kDrag, kDoubleClick, kWheel };

struct SelectCase {
  const char* name;
  Event event;
  float y;
  float amount;  // dY of a drag or the wheel turn
  IMouseMod mod;
  int kind;
  int modifier;
  bool direction;
  bool setsValue;
};

class InvisibleSelectTest : public ::testing::TestWithParam<SelectCase> {};

TEST_P(InvisibleSelectTest, RecordsTheEventAndSetsTheValue) {
  const SelectCase p = GetParam();
  Canvas c;
  int actions = 0;
  auto* s = c.graphics.AttachControl(std::make_unique<Select>(kList, kParam));
  s->SetActionFunction([&](IControl*) { ++actions; });
  switch (p.event) {
    case Event::kPress:
      s->OnMouseDown(100, p.y, p.mod);
      break;
    case Event::kRelease:
      s->OnMouseUp(100, p.y, p.mod);
      break;
    case Event::kDrag:
      s->OnMouseDrag(100, p.y, 0, p.amount, p.mod);
      break;
    case Event::kDoubleClick:
      s->OnMouseDblClick(100, p.y, p.mod);
      break;
    case Event::kWheel:
      s->OnMouseWheel(100, p.y, p.mod, p.amount);
      break;
  }
  EXPECT_EQ(s->LastEventKind(), p.kind);
  EXPECT_EQ(s->LastModifier(), p.modifier);
  EXPECT_EQ(s->LastDirection(), p.direction);
  if (p.setsValue) {
    const double expected = (p.y - 228.0) / 950.0;
    EXPECT_DOUBLE_EQ(s->GetValue(), expected);
    ASSERT_EQ(c.delegate.fromUI.size(), 1u);
    EXPECT_EQ(c.delegate.fromUI[0].first, kParam);
    EXPECT_DOUBLE_EQ(c.delegate.fromUI[0].second, expected) << "handed on unclamped";
    EXPECT_EQ(actions, 1);
  } else {
    EXPECT_TRUE(c.delegate.fromUI.empty());
    EXPECT_EQ(actions, 0);
  }
}

IMouseMod Shift() {
  IMouseMod m;
  m.S = true;
  return m;
}
IMouseMod Ctrl() {
  IMouseMod m;
  m.C = true;
  return m;
}
IMouseMod ShiftCtrl() {
  IMouseMod m;
  m.S = m.C = true;
  return m;
}

INSTANTIATE_TEST_SUITE_P(
    Events, InvisibleSelectTest,
    ::testing::Values(
        SelectCase{"press", Event::kPress, 253, 0, {}, 0, 0, false, true},
        SelectCase{"release_ctrl", Event::kRelease, 700, 0, Ctrl(), 1, 2, false, true},
        SelectCase{"drag_down", Event::kDrag, 800, 3, {}, 2, 0, true, true},
        SelectCase{"drag_up_shift", Event::kDrag, 800, -3, Shift(), 2, 1, false, true},
        SelectCase{"drag_above_top", Event::kDrag, 100, -3, {}, 2, 0, false, true},
        SelectCase{"double_click", Event::kDoubleClick, 1177, 0, {}, 3, 0, false, true},
        SelectCase{"wheel_up_shift", Event::kWheel, 400, 1, Shift(), 4, 1, true, true},
        SelectCase{"wheel_down", Event::kWheel, 400, -1, {}, 4, 0, false, true},
        SelectCase{"wheel_shift_beats_ctrl", Event::kWheel, 400, 1, ShiftCtrl(), 4, 1, true, true},
        SelectCase{"wheel_zero", Event::kWheel, 400, 0, Ctrl(), 4, 2, false, false}),
    [](const ::testing::TestParamInfo<SelectCase>& p) { return std::string(p.param.name); });

TEST(InvisibleSelect, PickInTheTopRowOfAListIsRowZero) {
  Canvas c;
  auto* s = c.graphics.AttachControl(std::make_unique<Select>(kList, kParam));
  c.host.Click(100, 228 + 49);
  // A 0..19 parameter reads the integer part of value * 19.
  EXPECT_LT(s->GetValue() * 19, 1.0);
  EXPECT_EQ(s->LastEventKind(), Select::kRelease) << "press then release";
}

TEST(InvisibleSelect, TopAndHeightAreTakenAsIntegers) {
  Canvas c;
  auto* s =
      c.graphics.AttachControl(std::make_unique<Select>(IRECT(0, 10.7f, 100, 110.9f), kParam));
  s->OnMouseDown(5, 60, {});
  EXPECT_DOUBLE_EQ(s->GetValue(), (60.0 - 10) / 100);
}

TEST(InvisibleSelect, KeyCodesZeroAndOneSetTheModifierAndAreNotConsumed) {
  Canvas c;
  auto* s = c.graphics.AttachControl(std::make_unique<Select>(kList, kParam));
  s->OnMouseDown(100, 500, {});
  const double value = s->GetValue();
  IKeyPress k0;
  k0.vk = 0;
  EXPECT_FALSE(c.graphics.OnKeyDown(100, 500, k0));
  EXPECT_EQ(s->LastModifier(), 3);
  IKeyPress k1;
  k1.vk = 1;
  EXPECT_FALSE(c.graphics.OnKeyDown(100, 500, k1));
  EXPECT_EQ(s->LastModifier(), 4);
  IKeyPress other;
  other.vk = 'A';
  EXPECT_FALSE(c.graphics.OnKeyDown(100, 500, other));
  EXPECT_EQ(s->LastModifier(), 4) << "other keys change nothing";
  EXPECT_EQ(s->LastEventKind(), Select::kPress);
  EXPECT_DOUBLE_EQ(s->GetValue(), value);
  EXPECT_EQ(c.delegate.fromUI.size(), 1u);
  EXPECT_FALSE(c.graphics.OnKeyDown(900, 100, k0)) << "away from the control";
}

TEST(InvisibleSelect, DrawsNothing) {
  Canvas c;
  c.graphics.AttachPanelBackground(IColor{255, 10, 20, 30});
  c.graphics.AttachControl(std::make_unique<Select>(kList, kParam));
  EXPECT_PRED2(Near, c.Probe(100, 500), (IColor{255, 10, 20, 30}));
}

TEST(InvisibleSelect, DragThroughTheCanvasReportsEachStep) {
  Canvas c;
  auto* s = c.graphics.AttachControl(std::make_unique<Select>(kList, kParam));
  c.host.MouseDown(100, 300);
  c.host.MouseMove(100, 350, IMouseMod{true, false, false, false, false});
  EXPECT_EQ(s->LastEventKind(), Select::kDrag);
  EXPECT_TRUE(s->LastDirection());
  c.host.MouseMove(100, 320, IMouseMod{true, false, false, false, false});
  EXPECT_FALSE(s->LastDirection());
  c.host.MouseUp(100, 320);
  EXPECT_EQ(c.delegate.fromUI.size(), 4u);
}

}  // namespace
}  // namespace qd3::test
