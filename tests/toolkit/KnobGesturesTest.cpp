// What players expect of every knob and slider: drag (shift: a tenth of the
// speed), wheel steps, double click to the default, and a tooltip with the
// parameter's name and value text; each change goes to the editor as a UI set.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/controls/IBKnobRotaterControl.h"
#include "toolkit/controls/IBSliderControl.h"
#include "toolkit/controls/ISVGKnobControl.h"
#include "toolkit/controls/IVKnobControl.h"
#include "toolkit/controls/IVNumberBoxControl.h"
#include "toolkit/controls/IVSliderControl.h"

namespace qd3::test {
namespace {

constexpr int kParam = 9;
constexpr double kStep127 = 1.0 / 127.0;
const IRECT kArea(100, 100, 202, 302);  // 102 x 202 units

struct Kind {
  const char* name;
  std::function<std::unique_ptr<IControl>(IGraphics&)> make;
};

const Kind kKinds[] = {
    {"IBKnobRotaterControl",
     [](IGraphics& g) {
       return std::make_unique<IBKnobRotaterControl>(kArea, g.LoadBitmap("gesture-knob.png"),
                                                     kParam);
     }},
    {"IVKnobControl", [](IGraphics&) { return std::make_unique<IVKnobControl>(kArea, kParam); }},
    {"ISVGKnobControl",
     [](IGraphics& g) {
       return std::make_unique<ISVGKnobControl>(kArea, g.LoadSVG("test-knob.svg"), kParam);
     }},
    {"IBSliderControl",
     [](IGraphics& g) {
       return std::make_unique<IBSliderControl>(kArea, g.LoadBitmap("gesture-handle.png"),
                                                g.LoadBitmap("gesture-track.png"), kParam);
     }},
    {"IVSliderControl",
     [](IGraphics&) { return std::make_unique<IVSliderControl>(kArea, kParam); }},
};

void PrintTo(const Kind& kind, std::ostream* os) {
  *os << kind.name;
}

class KnobGestures : public ::testing::TestWithParam<Kind> {
 protected:
  static void SetUpTestSuite() {
    RegisterFramesBitmap("gesture-knob.png", 102, 102, {IColor{255, 40, 40, 40}});
    RegisterFramesBitmap("gesture-track.png", 20, 202, {IColor{255, 0, 0, 255}});
    RegisterFramesBitmap("gesture-handle.png", 20, 10, {IColor{255, 255, 0, 0}});
  }
  void SetUp() override {
    mC.delegate.names[kParam] = "Drive";
    mC.delegate.texts[kParam] = {};
    mC.delegate.values[kParam] = 0.5;
    mControl = mC.graphics.AttachControl(GetParam().make(mC.graphics));
  }
  // Window pixels of the point to press: the control's centre, or a vector
  // slider's handle (a press beside it jumps the value there).
  IRECT Target() const {
    if (auto* s = dynamic_cast<IVSliderControl*>(mControl)) return s->HandleRECT();
    return kArea;
  }
  float MX() const { return mC.WX(Target().MW()); }
  float MY() const { return mC.WY(Target().MH()); }
  // The value change of an upward drag by `units` design units, from 0.5.
  double DragUp(float units, const IMouseMod& mod) {
    mControl->SetValue(0.5);
    mC.delegate.values[kParam] = 0.5;
    mC.host.Drag(MX(), MY(), MX(), MY() - mC.WY(units), 5, mod);
    return mC.delegate.values[kParam] - 0.5;
  }

  Canvas mC{1.f};
  IControl* mControl = nullptr;
};

TEST_P(KnobGestures, ShiftDragMovesATenthAsFar) {
  const double normal = DragUp(10.f, {});
  IMouseMod shift;
  shift.S = true;
  const double fine = DragUp(10.f, shift);
  EXPECT_GT(normal, 0.0) << "dragging up increases";
  EXPECT_NEAR(fine, normal / 10.0, 1e-6);
  EXPECT_LT(DragUp(-10.f, {}), 0.0) << "dragging down decreases";
}

TEST_P(KnobGestures, WheelNotchMovesOneRawStepOfASteppedParameter) {
  mC.delegate.steps[kParam] = kStep127;
  mControl->SetValue(64 * kStep127);
  mC.delegate.fromUI.clear();
  mC.host.Wheel(MX(), MY(), 1.f);
  ASSERT_EQ(mC.delegate.fromUI.size(), 1u) << "one notch, one set";
  EXPECT_EQ(mC.delegate.fromUI[0].first, kParam);
  EXPECT_NEAR(mC.delegate.fromUI[0].second, 65 * kStep127, 1e-9);
  IMouseMod shift;
  shift.S = true;
  mC.host.Wheel(MX(), MY(), -1.f, shift);
  EXPECT_NEAR(mC.delegate.values[kParam], 64 * kStep127, 1e-9)
      << "a stepped parameter has nothing finer than one step";
}

TEST_P(KnobGestures, WheelOffTheStepGridLandsOnTheNextRawValue) {
  mC.delegate.steps[kParam] = kStep127;
  mControl->SetValue(64.3 * kStep127);  // where a drag left it
  mC.host.Wheel(MX(), MY(), 1.f);
  EXPECT_NEAR(mC.delegate.values[kParam], 65 * kStep127, 1e-9);
}

TEST_P(KnobGestures, WheelOnAContinuousParameterMovesAHundredthShiftAThousandth) {
  mControl->SetValue(0.5);
  mC.host.Wheel(MX(), MY(), 1.f);
  EXPECT_NEAR(mC.delegate.values[kParam], 0.51, 1e-9);
  IMouseMod shift;
  shift.S = true;
  mC.host.Wheel(MX(), MY(), -1.f, shift);
  EXPECT_NEAR(mC.delegate.values[kParam], 0.509, 1e-9);
}

TEST_P(KnobGestures, DoubleClickReturnsToTheDefault) {
  mC.delegate.defaults[kParam] = 0.3;
  mControl->SetValue(0.8);
  mC.host.DoubleClick(MX(), MY());
  EXPECT_NEAR(mControl->GetValue(), 0.3, 1e-9);
  ASSERT_FALSE(mC.delegate.fromUI.empty());
  EXPECT_EQ(mC.delegate.fromUI.back().first, kParam);
  EXPECT_NEAR(mC.delegate.fromUI.back().second, 0.3, 1e-9) << "through the ordinary set";
}

TEST_P(KnobGestures, TooltipShowsTheNameAndTheValueTextAndFollowsTheValue) {
  mC.graphics.EnableTooltips(true);
  mControl->SetValue(0.25);
  mC.host.MouseMove(MX(), MY());
  EXPECT_EQ(mC.graphics.CurrentTooltip(), "Drive: 0.25");
  mC.host.Wheel(MX(), MY(), 1.f);
  EXPECT_EQ(mC.graphics.CurrentTooltip(), "Drive: 0.26");
  mC.host.MouseMove(mC.WX(1000), mC.WY(1000));
  EXPECT_EQ(mC.graphics.CurrentTooltip(), "");
}

// The editor's undo joins what lies between a begin and its end into one step.
TEST_P(KnobGestures, EveryGestureIsBracketedForTheEditor) {
  const auto collapsed = [this] {
    std::vector<std::string> log;
    for (const std::string& g : mC.delegate.gestures) {
      if (log.empty() || log.back() != g) log.push_back(g);
    }
    mC.delegate.gestures.clear();
    return log;
  };
  const std::vector<std::string> press = {"press 9", "set", "end"};
  DragUp(20.f, {});
  EXPECT_EQ(collapsed(), press) << "a drag";
  mC.host.Wheel(MX(), MY(), 1.f);
  EXPECT_EQ(collapsed(), (std::vector<std::string>{"wheel 9", "set", "end"})) << "a notch";
  mC.delegate.defaults[kParam] = 0.1;
  mC.host.DoubleClick(MX(), MY());
  // The first click is a gesture of its own that sets nothing; the reset is inside the
  // second press.
  EXPECT_EQ(collapsed(), (std::vector<std::string>{"press 9", "end", "press 9", "set", "end"}))
      << "a double click";
}

INSTANTIATE_TEST_SUITE_P(EveryKnobAndSlider, KnobGestures, ::testing::ValuesIn(kKinds),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(KnobGestureEdges, DisabledKnobIgnoresWheelAndDoubleClick) {
  Canvas c;
  c.delegate.defaults[kParam] = 0.9;
  auto* knob = c.graphics.AttachControl(std::make_unique<IVKnobControl>(kArea, kParam));
  knob->SetDisabled(true);
  c.host.Wheel(c.WX(kArea.MW()), c.WY(kArea.MH()), 1.f);
  c.host.DoubleClick(c.WX(kArea.MW()), c.WY(kArea.MH()));
  EXPECT_TRUE(c.delegate.fromUI.empty());
}

TEST(KnobGestureEdges, UnboundKnobKeepsItsValueOnDoubleClickAndHasNoParameterTip) {
  Canvas c;
  c.graphics.EnableTooltips(true);
  auto* knob = c.graphics.AttachControl(std::make_unique<IVKnobControl>(kArea, kNoParameter));
  knob->SetValue(0.7);
  c.host.DoubleClick(c.WX(kArea.MW()), c.WY(kArea.MH()));
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.7);
  c.host.MouseMove(c.WX(kArea.MW()), c.WY(kArea.MH()));
  EXPECT_EQ(c.graphics.CurrentTooltip(), "");
}

TEST(KnobGestureEdges, FixedTooltipWinsOverTheParameterTip) {
  Canvas c;
  c.graphics.EnableTooltips(true);
  c.delegate.names[kParam] = "Drive";
  auto* knob = c.graphics.AttachControl(std::make_unique<IVKnobControl>(kArea, kParam));
  knob->SetTooltip("Turn me");
  c.host.MouseMove(c.WX(kArea.MW()), c.WY(kArea.MH()));
  EXPECT_EQ(c.graphics.CurrentTooltip(), "Turn me");
}

TEST(KnobGestureEdges, NumberBoxShowsItsParameterInTheTooltip) {
  Canvas c;
  c.graphics.EnableTooltips(true);
  c.delegate.names[kParam] = "Channel";
  c.delegate.values[kParam] = 0.5;
  c.graphics.AttachControl(std::make_unique<IVNumberBoxControl>(kArea, kParam));
  c.host.MouseMove(c.WX(kArea.MW()), c.WY(kArea.MH()));
  EXPECT_EQ(c.graphics.CurrentTooltip(), "Channel: 0.50");
}

}  // namespace
}  // namespace qd3::test
