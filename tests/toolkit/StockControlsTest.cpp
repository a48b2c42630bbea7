// The stock controls: what each does with the mouse and what it paints.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/controls/IBButtonControl.h"
#include "toolkit/controls/IBKnobRotaterControl.h"
#include "toolkit/controls/IBSliderControl.h"
#include "toolkit/controls/IBitmapControl.h"
#include "toolkit/controls/IPanelControl.h"
#include "toolkit/controls/ISVGKnobControl.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IVButtonControl.h"
#include "toolkit/controls/IVKnobControl.h"
#include "toolkit/controls/IVSlideSwitchControl.h"
#include "toolkit/controls/IVSliderControl.h"

namespace qd3::test {
namespace {

const IColor kRed{255, 255, 0, 0};
const IColor kBlue{255, 0, 0, 255};
const IColor kGreen{255, 0, 255, 0};
const IColor kBlack{255, 0, 0, 0};

class StockControls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterFramesBitmap("test-switch.png", 40, 20, {kRed, kBlue});
    RegisterFramesBitmap("test-hires.png", 10, 10, {kRed});
    RegisterFramesBitmap("test-hires@2x.png", 20, 20, {kGreen});
    RegisterFramesBitmap("test-track.png", 20, 200, {kBlue});
    RegisterFramesBitmap("test-handle.png", 20, 10, {kRed});
    // A knob: black disc with a red bar pointing up from the centre.
    RegisterTestResource("test-knob.png", MakePNG(102, 102, [](cairo_t* cr) {
                           cairo_set_source_rgb(cr, 0, 0, 0);
                           cairo_arc(cr, 51, 51, 50, 0, 6.2832);
                           cairo_fill(cr);
                           cairo_set_source_rgb(cr, 1, 0, 0);
                           cairo_rectangle(cr, 46, 2, 10, 45);
                           cairo_fill(cr);
                         }));
  }
  Canvas mC;
};

TEST_F(StockControls, BitmapControlShowsTheFrameOfItsValue) {
  IBitmap bmp = mC.graphics.LoadBitmap("test-switch.png", 2);
  ASSERT_TRUE(bmp.IsValid());
  EXPECT_FLOAT_EQ(bmp.FW(), 40);
  EXPECT_FLOAT_EQ(bmp.FH(), 20);
  auto* ctl = mC.graphics.AttachControl(std::make_unique<IBitmapControl>(100, 100, bmp));
  EXPECT_EQ(ctl->GetRECT(), IRECT(100, 100, 140, 120));
  EXPECT_PRED2(Near, mC.Probe(120, 110), kRed);
  ctl->SetValue(1.0);
  EXPECT_PRED2(Near, mC.Probe(120, 110), kBlue);
  EXPECT_PRED2(Near, mC.Probe(120, 121), kBlack) << "only one frame is drawn";
}

TEST_F(StockControls, DoubleResolutionPictureIsUsedAboveScaleOne) {
  IBitmap bmp = mC.graphics.LoadBitmap("test-hires.png");
  ASSERT_TRUE(bmp.IsValid());
  EXPECT_TRUE(bmp.Get()->HasDoubleResolution());
  EXPECT_FLOAT_EQ(bmp.W(), 10) << "design size is the normal picture's";
  mC.graphics.AttachControl(std::make_unique<IBitmapControl>(10, 10, bmp));
  EXPECT_PRED2(Near, mC.Probe(15, 15), kRed);
  mC.graphics.Resize(1920, 1200, 2.f);
  EXPECT_PRED2(Near, mC.Probe(15, 15), kGreen);
  EXPECT_FALSE(mC.graphics.LoadBitmap("no-such.png").IsValid());
}

TEST_F(StockControls, PictureButtonActsOnPressAndOnRelease) {
  IBitmap bmp = mC.graphics.LoadBitmap("test-switch.png", 2);
  std::vector<double> seen;
  auto* b = mC.graphics.AttachControl(std::make_unique<IBButtonControl>(
      200, 200, bmp, [&](IControl* ctl) { seen.push_back(ctl->GetValue()); }));
  mC.host.MouseDown(210, 210);
  EXPECT_EQ(seen.size(), 1u);
  b->SetValue(1.0);  // the action's business, not the toolkit's
  mC.host.MouseUp(210, 210);
  EXPECT_EQ(seen, (std::vector<double>{0.0, 1.0}));
  EXPECT_DOUBLE_EQ(b->GetValue(), 1.0) << "the toolkit leaves the value alone";
  EXPECT_PRED2(Near, mC.Probe(220, 210), kBlue);
}

TEST_F(StockControls, VectorButtonActsWhenTheClickAnimationEnds) {
  int actions = 0;
  mC.graphics.AttachControl(std::make_unique<IVButtonControl>(
      IRECT(100, 100, 215, 145), [&](IControl*) { ++actions; }, "IMPORT"));
  mC.host.Frame();
  mC.host.Click(150, 120);
  EXPECT_EQ(actions, 0);
  EXPECT_GT(mC.host.Advance(0.05), 0) << "the splash is animated";
  EXPECT_EQ(actions, 0);
  mC.host.Advance(0.07);  // a frame after the 100 ms have passed
  EXPECT_EQ(actions, 1);
  mC.host.Advance(0.5);
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(mC.host.Advance(0.5), 0) << "no drawing once the animation is over";
}

TEST_F(StockControls, RotatedBitmapKnobFollowsItsValue) {
  IBitmap bmp = mC.graphics.LoadBitmap("test-knob.png");
  auto* k = mC.graphics.AttachControl(std::make_unique<IBKnobRotaterControl>(770, 189, bmp, 5));
  EXPECT_EQ(k->GetRECT(), IRECT(719, 138, 821, 240));
  // Value 0: the bar points to -135 degrees (down-left); nothing red straight up.
  EXPECT_PRED2(Near, mC.Probe(770, 150), kBlack);
  // Drag up by half of 102 * 4 units: value 0.5, the bar points up.
  mC.host.Drag(770, 189, 770, 189 - 204, 4);
  EXPECT_NEAR(k->GetValue(), 0.5, 1e-6);
  EXPECT_NEAR(mC.delegate.values[5], 0.5, 1e-6);
  EXPECT_FLOAT_EQ(k->Angle(), 0.f);
  EXPECT_PRED3(NearTol, mC.Probe(770, 150), kRed, 30);
}

TEST_F(StockControls, VectorKnobDrawsTheValueArc) {
  IVStyle style =
      kDefaultStyle.WithShowLabel(false).WithShowValue(false).WithColor(kX1, kRed).WithColor(kSH,
                                                                                             kBlue);
  auto* k = mC.graphics.AttachControl(
      std::make_unique<IVKnobControl>(IRECT(0, 0, 200, 200), 3, "", style));
  float cx = 0, cy = 0, r = 0;
  k->ArcGeometry(cx, cy, r);
  EXPECT_FLOAT_EQ(k->ArcThickness(), 18.f);
  // The arc's top point (angle 0) is on the track at value 0 and on the value arc at 1.
  EXPECT_PRED3(NearTol, mC.Probe(cx, cy - r), kBlue, 10);
  k->SetValue(1.0);
  EXPECT_PRED3(NearTol, mC.Probe(cx, cy - r), kRed, 10);
  EXPECT_FLOAT_EQ(k->Angle(), 135.f);
}

TEST_F(StockControls, VectorSliderJumpsThenDragsWithItsGearing) {
  IVStyle style = kDefaultStyle.WithShowLabel(false).WithShowValue(false);
  auto* s = mC.graphics.AttachControl(
      std::make_unique<IVSliderControl>(IRECT(260, 230, 300, 1170), 4, "", style, true, 1.0, 12.f));
  // Travel = 940 - 12 = 928; the middle of the track is value 0.5.
  mC.host.MouseDown(280, 230 + 6 + 464);
  EXPECT_NEAR(s->GetValue(), 0.5, 1e-6);
  mC.graphics.OnMouseMove(280, 230 + 6 + 464 - 232, IMouseMod{true, false, false, false, false});
  EXPECT_NEAR(s->GetValue(), 0.75, 1e-6) << "gearing 1: the handle follows the pointer";
  mC.host.MouseUp(280, 0);
  EXPECT_NEAR(mC.delegate.values[4], 0.75, 1e-6);
}

TEST_F(StockControls, BitmapSliderMovesItsHandle) {
  IBitmap track = mC.graphics.LoadBitmap("test-track.png");
  IBitmap handle = mC.graphics.LoadBitmap("test-handle.png");
  auto* s = mC.graphics.AttachControl(
      std::make_unique<IBSliderControl>(IRECT(380, 717, 400, 917), handle, track, 6, 1.0));
  EXPECT_PRED2(Near, mC.Probe(390, 912), kRed) << "value 0: the handle at the bottom";
  mC.host.Drag(390, 912, 390, 912 - 95, 3);  // travel 190
  EXPECT_NEAR(s->GetValue(), 0.5, 1e-6);
  EXPECT_PRED2(Near, mC.Probe(390, 912), kBlue);
  EXPECT_PRED2(Near, mC.Probe(390, 717 + 95 + 5), kRed);
}

TEST_F(StockControls, SlideSwitchToggles) {
  auto* s = mC.graphics.AttachControl(std::make_unique<IVSlideSwitchControl>(
      IRECT(740, 1072, 800, 1100), 2, "", kDefaultStyle.WithShowLabel(false).WithRoundness(1.f)));
  mC.host.Click(770, 1086);
  EXPECT_TRUE(s->IsOn());
  EXPECT_DOUBLE_EQ(mC.delegate.values[2], 1.0);
  mC.host.Click(770, 1086);
  EXPECT_FALSE(s->IsOn());
  EXPECT_DOUBLE_EQ(mC.delegate.values[2], 0.0);
  EXPECT_EQ(mC.delegate.fromUI.size(), 2u);
}

TEST_F(StockControls, SvgKnobRotatesThePicture) {
  ISVG svg = mC.graphics.LoadSVG("test-knob.svg");
  ASSERT_TRUE(svg.IsValid());
  EXPECT_FLOAT_EQ(svg.W(), 30);
  EXPECT_FALSE(mC.graphics.LoadSVG("test-knob.svg", "mm").IsValid());
  auto* k = mC.graphics.AttachControl(
      std::make_unique<ISVGKnobControl>(IRECT(815, 1070, 845, 1100), svg, 4));
  k->SetValue(0.5);
  EXPECT_PRED3(NearTol, mC.Probe(830, 1075), kRed, 30) << "upright at the middle value";
  k->SetValue(0.0);
  EXPECT_FALSE(NearTol(mC.Probe(830, 1075), kRed, 30));
}

TEST_F(StockControls, TextLetsTheMouseThroughAndRedrawsOnChange) {
  auto* knob = mC.graphics.AttachControl(std::make_unique<IVKnobControl>(IRECT(0, 0, 200, 200), 1));
  auto* t = mC.graphics.AttachControl(std::make_unique<ITextControl>(
      IRECT(50, 90, 150, 110), "50.00", IText(40, kRed), kColorTransparent));
  mC.host.Drag(100, 100, 100, 60, 2);
  EXPECT_GT(knob->GetValue(), 0.0) << "the value text inside the knob does not block it";
  mC.host.Frame();
  EXPECT_FALSE(mC.host.Frame());
  t->SetStr("50.00");
  EXPECT_FALSE(mC.host.Frame()) << "same text, nothing to draw";
  t->SetStr("60.00");
  EXPECT_TRUE(mC.host.Frame());
  t->SetTextColor(kBlue);
  EXPECT_TRUE(mC.host.Frame());
  EXPECT_EQ(t->GetStr(), "60.00");
}

TEST_F(StockControls, TextIsPaintedInItsColourAndBackground) {
  ASSERT_TRUE(mC.graphics.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  mC.graphics.AttachControl(
      std::make_unique<ITextControl>(IRECT(0, 0, 300, 100), "IIIIIIII", IText(80, kRed), kBlue));
  mC.host.Frame();
  int red = 0;
  int blue = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 300; ++x) {
      const IColor p = mC.graphics.GetPixel(x, y);
      red += NearTol(p, kRed, 10);
      blue += NearTol(p, kBlue, 10);
    }
  }
  EXPECT_GT(red, 500);
  EXPECT_GT(blue, 15000);
}

// A text wider than its control is cut at the control's right side; with the ellipsis it
// ends in "…" there instead: the rightmost marks are the dots on the baseline, not the
// full height of a "W".
TEST(TextControl, AWideTextIsCutAtItsSideOrEndsInAnEllipsis) {
  const IText text(40, kRed, "Roboto-Regular", EAlign::Near, EVAlign::Top);
  for (const bool ellipsis : {false, true}) {
    SCOPED_TRACE(ellipsis ? "ellipsis" : "cut");
    Canvas c;
    ASSERT_TRUE(c.graphics.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
    auto* t = c.graphics.AttachControl(std::make_unique<ITextControl>(
        IRECT(20, 100, 200, 150), std::string(30, 'W'), text, kColorTransparent));
    t->SetEllipsis(ellipsis);
    c.host.Frame();
    const auto red = [&](int x, int y) { return NearTol(c.graphics.GetPixel(x, y), kRed, 60); };
    int rightmost = -1;
    for (int x = 0; x < 1000; ++x) {
      for (int y = 90; y < 160; ++y) rightmost = red(x, y) ? x : rightmost;
    }
    ASSERT_GE(rightmost, 150);
    EXPECT_LT(rightmost, 200) << "drawn past the control's side";
    int highMarks = 0;  // in the upper half of the glyphs' height
    for (int x = rightmost - 3; x <= rightmost; ++x) {
      for (int y = 100; y < 118; ++y) highMarks += red(x, y);
    }
    if (ellipsis) {
      EXPECT_EQ(highMarks, 0);
    } else {
      EXPECT_GT(highMarks, 0);
    }
  }
  // A padded name that fits once its trailing spaces go is shown whole, without "…".
  Canvas c;
  ASSERT_TRUE(c.graphics.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  auto* padded = c.graphics.AttachControl(std::make_unique<ITextControl>(
      IRECT(20, 100, 200, 150), "WW" + std::string(60, ' '), text, kColorTransparent));
  padded->SetEllipsis(true);
  c.host.Frame();
  int marks = 0;
  for (int x = 20; x < 200; ++x) {
    for (int y = 100; y < 150; ++y) marks += NearTol(c.graphics.GetPixel(x, y), kRed, 60);
  }
  Canvas plain;
  ASSERT_TRUE(plain.graphics.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  plain.graphics.AttachControl(
      std::make_unique<ITextControl>(IRECT(20, 100, 200, 150), "WW", text, kColorTransparent));
  plain.host.Frame();
  int plainMarks = 0;
  for (int x = 20; x < 200; ++x) {
    for (int y = 100; y < 150; ++y) plainMarks += NearTol(plain.graphics.GetPixel(x, y), kRed, 60);
  }
  EXPECT_EQ(marks, plainMarks);
}

// A heading made to shrink is drawn whole, smaller, inside its margins; one that fits
// keeps its size.
TEST(TextControl, AShrinkingTextFitsItsControlWhole) {
  const IText text(40, kRed, "Roboto-Regular", EAlign::Center, EVAlign::Top);
  const auto marks = [&](const std::string& str, int& left, int& right, int& height) {
    Canvas c;
    ASSERT_TRUE(c.graphics.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
    auto* t = c.graphics.AttachControl(
        std::make_unique<ITextControl>(IRECT(100, 100, 400, 160), str, text, kColorTransparent));
    t->SetShrinkToFit(10.f);
    c.host.Frame();
    left = 10000, right = -1;
    int top = 10000, bottom = -1;
    for (int x = 0; x < 600; ++x) {
      for (int y = 80; y < 200; ++y) {
        if (!NearTol(c.graphics.GetPixel(x, y), kRed, 60)) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    height = bottom - top;
  };
  int left = 0, right = 0, tall = 0, shortHeight = 0;
  marks("Safety backup before the firmware update...", left, right, shortHeight);
  // The ink may pass the advance widths by a pixel or two, never the margin.
  EXPECT_GE(left, 105);
  EXPECT_LE(right, 395);
  EXPECT_GT(right - left, 240) << "shrunk to the room, not below it";
  marks("Hb", left, right, tall);
  EXPECT_GT(tall, shortHeight + 5) << "a text that fits is not shrunk";
}

}  // namespace
}  // namespace qd3::test
