// The canvas: scale, hit-testing, hidden and disabled controls, groups, tags,
// dirty-only redraw, resizing and mouse-over.
#include <gtest/gtest.h>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/IGraphics.h"
#include "toolkit/controls/ICornerResizerControl.h"
#include "toolkit/controls/IPanelControl.h"

namespace qd3::test {
namespace {

const IColor kRed{255, 255, 0, 0};
const IColor kBlue{255, 0, 0, 255};
const IColor kBlack{255, 0, 0, 0};

// A control that counts what it receives and paints itself in one colour.
class ProbeControl : public IControl {
 public:
  ProbeControl(const IRECT& r, const IColor& c) : IControl(r), color(c) {}
  void Draw(IDrawContext& g) override {
    ++draws;
    g.FillRect(color, mRect);
  }
  void OnMouseDown(float x, float y, const IMouseMod&) override {
    ++downs;
    lastX = x;
    lastY = y;
  }
  void OnMouseUp(float, float, const IMouseMod&) override { ++ups; }
  void OnMouseDrag(float, float, float, float dY, const IMouseMod&) override { dragDY += dY; }
  IColor color;
  int draws = 0;
  int downs = 0;
  int ups = 0;
  float lastX = -1.f;
  float lastY = -1.f;
  float dragDY = 0.f;
};

struct ScaledHit {
  float scale;
  float windowX;
  float windowY;
  float designX;
  float designY;
};

class ScaledHitTest : public ::testing::TestWithParam<ScaledHit> {};

TEST_P(ScaledHitTest, WindowPixelsReachTheDesignPoint) {
  const ScaledHit p = GetParam();
  Canvas c(p.scale);
  auto* target = c.graphics.AttachControl(
      std::make_unique<ProbeControl>(IRECT::MakeMidXYWH(p.designX, p.designY, 4, 4), kRed));
  c.host.Click(p.windowX, p.windowY);
  ASSERT_EQ(target->downs, 1);
  EXPECT_FLOAT_EQ(target->lastX, p.designX);
  EXPECT_FLOAT_EQ(target->lastY, p.designY);
  EXPECT_EQ(c.graphics.WindowWidth(), static_cast<int>(1920 * p.scale));
  EXPECT_EQ(c.graphics.WindowHeight(), static_cast<int>(1200 * p.scale));
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledHitTest,
                         ::testing::Values(ScaledHit{0.5f, 380, 250, 760, 500},
                                           ScaledHit{1.0f, 380, 250, 380, 250},
                                           ScaledHit{2.0f, 380, 250, 190, 125},
                                           ScaledHit{0.75f, 300, 150, 400, 200}));

TEST(Graphics, ScaleAppliesToDrawing) {
  Canvas c(0.5f);
  c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(100, 100, 200, 200), kRed));
  c.host.Frame();
  EXPECT_PRED2(Near, c.graphics.GetPixel(50, 50), kRed);  // design 100,100
  EXPECT_PRED2(Near, c.graphics.GetPixel(99, 99), kRed);  // design 198,198
  EXPECT_PRED2(Near, c.graphics.GetPixel(101, 101), kBlack);
}

TEST(Graphics, LaterControlIsAboveAndTakesTheClick) {
  Canvas c;
  auto* below =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kRed));
  auto* above =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(50, 50, 150, 150), kBlue));
  EXPECT_PRED2(Near, c.Probe(75, 75), kBlue);
  c.host.Click(75, 75);
  EXPECT_EQ(above->downs, 1);
  EXPECT_EQ(below->downs, 0);
  c.host.Click(25, 25);
  EXPECT_EQ(below->downs, 1);
}

TEST(Graphics, HiddenControlIsNeitherDrawnNorHit) {
  Canvas c;
  auto* below =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kRed));
  auto* above =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kBlue));
  EXPECT_PRED2(Near, c.Probe(50, 50), kBlue);
  above->Hide(true);
  EXPECT_PRED2(Near, c.Probe(50, 50), kRed);
  const int drawsWhileHidden = above->draws;
  c.graphics.SetAllDirty();
  c.host.Frame();
  EXPECT_EQ(above->draws, drawsWhileHidden);
  c.host.Click(50, 50);
  EXPECT_EQ(above->downs, 0);
  EXPECT_EQ(below->downs, 1);
  above->Hide(false);
  EXPECT_PRED2(Near, c.Probe(50, 50), kBlue);
}

TEST(Graphics, DisabledControlIsDrawnAtQuarterOpacityAndTakesNoInput) {
  Canvas c;
  auto* below =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kBlue));
  auto* panel =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kRed));
  EXPECT_PRED2(Near, c.Probe(50, 50), kRed);
  panel->SetDisabled(true);
  // A quarter of red over blue: 0.25 * 255 red, 0.75 * 255 blue.
  EXPECT_PRED2(Near, c.Probe(50, 50), (IColor{255, 64, 0, 191}));
  c.host.Click(50, 50);
  EXPECT_EQ(panel->downs, 0);
  EXPECT_EQ(below->downs, 0) << "a disabled control covers what lies beneath";
  panel->SetDisabled(false);
  EXPECT_PRED2(Near, c.Probe(50, 50), kRed);
  c.host.Click(50, 50);
  EXPECT_EQ(panel->downs, 1);
}

TEST(Graphics, GroupsHideShowDisableAndEnable) {
  Canvas c;
  auto* a = c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 10, 10), kRed), 5,
                                     "page");
  auto* b = c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(20, 0, 30, 10), kRed), -1,
                                     "page");
  auto* other = c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(40, 0, 50, 10), kRed),
                                         6, "other");
  c.graphics.HideGroup("page", true);
  EXPECT_TRUE(a->IsHidden());
  EXPECT_TRUE(b->IsHidden());
  EXPECT_FALSE(other->IsHidden());
  c.graphics.HideGroup("page", false);
  EXPECT_FALSE(a->IsHidden());
  c.graphics.DisableGroup("other", true);
  EXPECT_TRUE(other->IsDisabled());
  EXPECT_FALSE(a->IsDisabled());
  c.graphics.DisableGroup("other", false);
  EXPECT_FALSE(other->IsDisabled());
  c.graphics.HideGroup("no such group", true);  // nothing happens
  EXPECT_FALSE(a->IsHidden());
}

TEST(Graphics, FindsControlsByTag) {
  Canvas c;
  auto* a =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 10, 10), kRed), 138, "");
  c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 10, 10), kRed));
  EXPECT_EQ(c.graphics.GetControlWithTag(138), a);
  EXPECT_EQ(c.graphics.GetControlWithTag(139), nullptr);
  EXPECT_EQ(c.graphics.GetControlWithTag(kNoTag), nullptr);
  IScreenAccess& screen = c.graphics;
  EXPECT_EQ(screen.GetControlWithTag(138), static_cast<IControlHandle*>(a));
}

TEST(Graphics, NothingChangedNothingDrawn) {
  Canvas c;
  auto* a = c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kRed));
  auto* b =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(500, 500, 600, 600), kBlue));
  EXPECT_TRUE(c.host.Frame());
  const uint64_t frames = c.graphics.Stats().framesDrawn;
  const int drawsA = a->draws;
  EXPECT_EQ(c.host.Advance(1.0), 0) << "a second of frames with no change paints nothing";
  EXPECT_EQ(c.graphics.Stats().framesDrawn, frames);
  EXPECT_EQ(a->draws, drawsA);

  b->SetDirty();
  EXPECT_TRUE(c.host.Frame());
  EXPECT_EQ(a->draws, drawsA) << "a control away from the change is not drawn again";
  EXPECT_EQ(c.graphics.Stats().controlsDrawnLastFrame, 1);
  ASSERT_EQ(c.graphics.LastPaintedRegion().size(), 1u);
  EXPECT_EQ(c.graphics.LastPaintedRegion()[0], IRECT(500, 500, 600, 600));
}

TEST(Graphics, ValueChangeRedrawsOnlyWhenTheValueDiffers) {
  Canvas c;
  auto* a = c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kRed));
  c.host.Frame();
  a->SetValue(0.0);  // unchanged
  EXPECT_FALSE(c.host.Frame());
  a->SetValue(0.5);
  EXPECT_TRUE(c.host.Frame());
}

TEST(Graphics, ResizeChangesWindowSizeAndTellsTheHost) {
  Canvas c(0.5f);
  int w = 0;
  int h = 0;
  c.graphics.SetResizeListener([&](int ww, int hh, float) {
    w = ww;
    h = hh;
  });
  c.graphics.Resize(1920, 1200, 1.0f);
  EXPECT_EQ(w, 1920);
  EXPECT_EQ(h, 1200);
  EXPECT_FLOAT_EQ(c.graphics.GetDrawScale(), 1.0f);
  c.graphics.Resize(1920, 1200, 10.0f);  // clamped to the largest scale
  EXPECT_FLOAT_EQ(c.graphics.GetDrawScale(), 3.0f);
  EXPECT_EQ(w, 5760);
}

TEST(Graphics, CornerResizerDragChangesTheScaleNotTheLayout) {
  Canvas c(0.5f);
  auto* probe =
      c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(1900, 1180, 1920, 1200), kRed));
  c.graphics.AttachCornerResizer(20.f);
  ASSERT_NE(c.graphics.CornerResizer(), nullptr);
  EXPECT_EQ(c.graphics.CornerResizer()->GetRECT(), IRECT(1900, 1180, 1920, 1200));
  // Grab the corner handle at window (955, 595) and pull it to (1435, 895): the
  // window's corner follows to (1440, 900), scale 0.75.
  c.host.Drag(955, 595, 1435, 895, 1);
  EXPECT_NEAR(c.graphics.GetDrawScale(), 0.75f, 1e-3);
  EXPECT_EQ(probe->downs, 0) << "the handle lies above every control";
  EXPECT_EQ(c.graphics.CornerResizer()->GetRECT(), IRECT(1900, 1180, 1920, 1200));
}

TEST(Graphics, MouseOverAndTooltips) {
  Canvas c;
  auto* a = c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kRed));
  a->SetTooltip("first");
  std::vector<std::string> shown;
  c.graphics.SetTooltipListener([&](const std::string& t) { shown.push_back(t); });
  c.host.MouseMove(50, 50);
  EXPECT_EQ(c.graphics.GetMouseOverControl(), nullptr) << "tracking is off until enabled";
  c.graphics.EnableTooltips(true);
  c.host.MouseMove(50, 50);
  EXPECT_EQ(c.graphics.GetMouseOverControl(), a);
  EXPECT_TRUE(a->GetMouseIsOver());
  c.host.MouseMove(300, 300);
  EXPECT_EQ(c.graphics.GetMouseOverControl(), nullptr);
  EXPECT_FALSE(a->GetMouseIsOver());
  EXPECT_EQ(shown, (std::vector<std::string>{"first", ""}));
}

TEST(Graphics, DragGoesToThePressedControlEvenOutsideIt) {
  Canvas c;
  auto* a = c.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100), kRed));
  c.host.Drag(50, 50, 50, 400, 5);
  EXPECT_FLOAT_EQ(a->dragDY, 350.f);
  EXPECT_EQ(a->ups, 1);
}

TEST(Graphics, PanelBackgroundFillsTheCanvas) {
  Canvas c(0.5f);
  c.graphics.AttachPanelBackground(kBlue);
  EXPECT_PRED2(Near, c.Probe(1, 1), kBlue);
  EXPECT_PRED2(Near, c.Probe(1918, 1198), kBlue);
}

}  // namespace
}  // namespace qd3::test
