// Two-way parameter binding: a moved control sets its parameter, and values set
// by code reach the controls through the queue, without notifying.
#include <gtest/gtest.h>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/controls/IVKnobControl.h"
#include "toolkit/controls/IVSliderControl.h"

namespace qd3::test {
namespace {

TEST(ParamBinding, AttachedControlStartsAtTheParameterValue) {
  Canvas c;
  c.delegate.values[3] = 0.25;
  auto* knob = c.graphics.AttachControl(std::make_unique<IVKnobControl>(IRECT(0, 0, 100, 100), 3));
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.25);
  EXPECT_TRUE(c.delegate.fromUI.empty());
}

TEST(ParamBinding, DraggingAKnobSetsTheParameterAndItsTwin) {
  Canvas c;
  int actions = 0;
  auto* page = c.graphics.AttachControl(std::make_unique<IVKnobControl>(IRECT(0, 0, 100, 100), 5));
  page->SetActionFunction([&](IControl*) { ++actions; });
  auto* face =
      c.graphics.AttachControl(std::make_unique<IVKnobControl>(IRECT(200, 0, 300, 100), 5));
  // Knob widget height 100 - value text row (26) = 74; gearing 4: 74 * 4 units
  // of upward drag sweep the range, so 148 units move it by one half.
  c.host.Drag(50, 50, 50, 50 - 148, 4);
  EXPECT_NEAR(page->GetValue(), 0.5, 1e-6);
  EXPECT_NEAR(c.delegate.values[5], 0.5, 1e-6);
  EXPECT_NEAR(face->GetValue(), 0.5, 1e-6) << "the other control bound to 5 follows";
  EXPECT_EQ(actions, 4);
  ASSERT_FALSE(c.delegate.fromUI.empty());
  EXPECT_EQ(c.delegate.fromUI.back().first, 5);
}

TEST(ParamBinding, QueuedValuesReachBoundControlsWithoutNotifying) {
  Canvas c;
  auto* a = c.graphics.AttachControl(std::make_unique<IVKnobControl>(IRECT(0, 0, 100, 100), 7));
  auto* b = c.graphics.AttachControl(std::make_unique<IVSliderControl>(IRECT(200, 0, 240, 300), 7));
  auto* other =
      c.graphics.AttachControl(std::make_unique<IVKnobControl>(IRECT(300, 0, 400, 100), 8));
  c.host.Frame();
  c.delegate.SetFromCode(7, 0.75);
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.0) << "nothing moves before the UI thread's frame";
  c.host.Frame();
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(b->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(other->GetValue(), 0.0);
  EXPECT_TRUE(c.delegate.fromUI.empty()) << "values set by code are not sent back";
}

TEST(ParamBinding, SetValueFromCodeDoesNotNotify) {
  Canvas c;
  auto* a = c.graphics.AttachControl(std::make_unique<IVKnobControl>(IRECT(0, 0, 100, 100), 2));
  IControlHandle& handle = *a;
  handle.SetValueFromCode(0.4);
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.4);
  EXPECT_TRUE(c.delegate.fromUI.empty());
  EXPECT_DOUBLE_EQ(c.delegate.values[2], 0.0);
  a->SetValueFromUserInput(0.6);
  EXPECT_DOUBLE_EQ(c.delegate.values[2], 0.6);
}

TEST(ParamBinding, ValuesAreClampedToTheUnitRange) {
  Canvas c;
  auto* a = c.graphics.AttachControl(std::make_unique<IVKnobControl>(IRECT(0, 0, 100, 100), 1));
  a->SetValue(1.7);
  EXPECT_DOUBLE_EQ(a->GetValue(), 1.0);
  a->SetValue(-0.3);
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.0);
}

}  // namespace
}  // namespace qd3::test
