// The dynamics graph: knee arithmetic, the curve's points and what is painted.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/graphs/IDynamicsResponseGraph.h"

namespace qd3::test {
namespace {

const IColor kCurve{255, 100, 255, 255};
const IRECT kRect(1200, 700, 1865, 1130);  // W 665, H 430

// Anti-aliased strokes: a probe on a line is within a few levels of its colour.
bool OnStroke(const IColor& a, const IColor& b) {
  return NearTol(a, b, 40);
}

TEST(DynamicsGraph, ThresholdsKeepTheKneesInOrder) {
  IDynamicsResponseGraph g(kRect, kCurve);
  g.SetGateThreshold(-60);
  EXPECT_NEAR(g.T1(), 0.4, 1e-12);
  EXPECT_NEAR(g.T2(), 0.4, 1e-12) << "t2 starts at 0 and is raised to t1";
  g.SetCompThreshold(-51);
  EXPECT_NEAR(g.T1(), 0.4, 1e-12);
  EXPECT_NEAR(g.T2(), 0.49, 1e-12);
  g.SetGateThreshold(-40);
  EXPECT_NEAR(g.T1(), 0.6, 1e-12);
  EXPECT_NEAR(g.T2(), 0.6, 1e-12);
  g.SetCompThreshold(-80);
  EXPECT_NEAR(g.T2(), 0.2, 1e-12);
  EXPECT_NEAR(g.T1(), 0.2, 1e-12) << "a lower compressor knee pulls the gate knee down";
  g.SetGateThreshold(40);  // the sign is ignored
  EXPECT_NEAR(g.T1(), 0.6, 1e-12);
}

struct CurveCase {
  double gate, comp, r1, r2;
  double startX, startY, endX, endY;
};

class DynamicsCurveTest : public ::testing::TestWithParam<CurveCase> {};

TEST_P(DynamicsCurveTest, EndPoints) {
  const CurveCase p = GetParam();
  IDynamicsResponseGraph g(kRect, kCurve);
  g.SetCompThreshold(p.comp);
  g.SetGateThreshold(p.gate);
  g.SetGateRatio(p.r1);
  g.SetCompRatio(p.r2);
  const auto pts = g.CurvePoints();
  EXPECT_NEAR(pts[0].x, p.startX, 1e-9);
  EXPECT_NEAR(pts[0].y, p.startY, 1e-9);
  EXPECT_NEAR(pts[3].x, p.endX, 1e-9);
  EXPECT_NEAR(pts[3].y, p.endY, 1e-9);
}

// Knees at t: x = 1200 + 665 t, y = 1130 - 430 t.
INSTANTIATE_TEST_SUITE_P(
    Cases, DynamicsCurveTest,
    ::testing::Values(
        // Thresholds at 0 dB, ratios 1: the diagonal from (L, B) to (R, T).
        CurveCase{0, 0, 1, 1, 1200, 1130, 1865, 700},
        // Gate -60 (t1 0.4, x1 1466), r1 0.5: starts half way to L.
        CurveCase{-60, -51, 0.5, 1, 1466 - 266 * 0.5, 1130, 1865, 700},
        // Compressor ratio 2 above t2 0.49 (y2 919.3): ends at (R, y2 - (y2 - T) / 2).
        CurveCase{-60, -51, 1, 2, 1200, 1130, 1865, 919.3 - 219.3 / 2},
        // Expander (r2 0.5): reaches the top edge at x2 + (R - x2) / 2.
        CurveCase{-60, -51, 1, 0.5, 1200, 1130, 1525.85 + 339.15 / 2, 700}));

TEST(DynamicsGraph, DiagonalIsPainted) {
  Canvas c;
  auto* g = c.graphics.AttachControl(std::make_unique<IDynamicsResponseGraph>(kRect, kCurve));
  g->SetGateThreshold(0);
  g->SetCompThreshold(0);
  c.host.Frame();
  // Points on the diagonal away from the grid, the corner circles and texts.
  for (double f : {0.15, 0.35, 0.55, 0.65}) {
    const float x = 1200 + 665 * static_cast<float>(f);
    const float y = 1130 - 430 * static_cast<float>(f);
    EXPECT_PRED2(OnStroke, c.host.ProbeDesign(x, y), kCurve) << "at " << f;
  }
  // Off the diagonal: the background.
  EXPECT_PRED2(Near, c.host.ProbeDesign(1200 + 665 * 0.5f, 1130 - 430 * 0.25f),
               (IColor{255, 0, 0, 0}));
  // The knee circles around (R, T): radius 20, 6 thick.
  EXPECT_PRED2(OnStroke, c.host.ProbeDesign(1865 - 20, 700), kCurve);
}

TEST(DynamicsGraph, KneeCirclesArePaintedAtTheKnees) {
  Canvas c;
  auto* g = c.graphics.AttachControl(std::make_unique<IDynamicsResponseGraph>(kRect, kCurve));
  g->SetGateThreshold(-60);
  g->SetCompThreshold(-51);
  c.host.Frame();
  const float x1 = 1200 + 665 * 0.4f;
  const float y1 = 1130 - 430 * 0.4f;
  EXPECT_PRED2(OnStroke, c.host.ProbeDesign(x1, y1 - 20), kCurve) << "outer ring above P1";
  EXPECT_PRED2(OnStroke, c.host.ProbeDesign(x1 - 20, y1), kCurve) << "outer ring left of P1";
  EXPECT_PRED2(Near, c.host.ProbeDesign(x1 + 12, y1 - 12 + 13), (IColor{255, 0, 0, 0}))
      << "between the rings, off the curve";
}

TEST(DynamicsGraph, SettersRequestARedraw) {
  Canvas c;
  auto* g = c.graphics.AttachControl(std::make_unique<IDynamicsResponseGraph>(kRect, kCurve));
  c.host.Frame();
  EXPECT_FALSE(c.host.Frame());
  g->SetGateRatio(2);
  EXPECT_TRUE(c.host.Frame());
  g->SetCompRatio(2);
  EXPECT_TRUE(c.host.Frame());
  g->SetGateThreshold(-20);
  EXPECT_TRUE(c.host.Frame());
  g->SetCompThreshold(-10);
  EXPECT_TRUE(c.host.Frame());
}

// The input levels along the top crowd to the right: no two labels run into each other
// or are cut to fit ("-20dB12dB"); each run of ink along the top is one whole label.
TEST(DynamicsGraph, TheTopLabelsNeverRunIntoEachOther) {
  Canvas c;
  c.graphics.AttachControl(std::make_unique<IDynamicsResponseGraph>(kRect, kCurve));
  c.host.Frame();
  const int oneLabel = 70;    // wider than any "-80 dB" at size 20
  const int wholeLabel = 50;  // narrower than any
  std::vector<std::pair<int, int>> runs;
  int gap = 1000;
  for (int x = static_cast<int>(kRect.L); x < static_cast<int>(kRect.R) - 40; ++x) {
    bool ink = false;
    for (int y = static_cast<int>(kRect.T) + 2; y < static_cast<int>(kRect.T) + 18; ++y) {
      ink = ink || NearTol(c.graphics.GetPixel(x, y), kColorGrid, 50);
    }
    if (!ink) {
      ++gap;
      continue;
    }
    if (gap > 12) runs.emplace_back(x, x);  // the space inside a label is narrower
    runs.back().second = x;
    gap = 0;
  }
  ASSERT_GE(runs.size(), 3u) << "labels are drawn";
  // Whole ("-80 dB"), neither cut at a narrow box nor run into the next.
  for (const auto& [from, to] : runs) {
    EXPECT_GT(to - from, wholeLabel) << from << ".." << to;
    EXPECT_LT(to - from, oneLabel) << from << ".." << to;
  }
}

}  // namespace
}  // namespace qd3::test
