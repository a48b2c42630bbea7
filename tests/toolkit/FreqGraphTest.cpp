// The frequency graph: analysis, curve, grid fractions, painting and the hover readout.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/graphs/IFreqResponseGraph.h"

namespace qd3::test {
namespace {

const IColor kCurve{255, 100, 255, 255};
const IRECT kRect(1200, 685, 1872, 1135);  // W 672, H 450

// The graph as the screens set it up.
std::unique_ptr<IFreqResponseGraph> MakeLayoutGraph() {
  auto g = std::make_unique<IFreqResponseGraph>(kRect, kCurve);
  g->SetRange(20, 20480, 100, 30);
  g->SetSmoothingOff(1);
  return g;
}

std::vector<double> Impulse(size_t n = 4096) {
  std::vector<double> x(n, 0.0);
  x[0] = 1.0;
  return x;
}

TEST(FreqGraph, ConstructionDefaults) {
  IFreqResponseGraph g(kRect, kCurve);
  EXPECT_EQ(g.GraphW(), 672);
  EXPECT_EQ(g.GraphH(), 450);
  EXPECT_EQ(g.FftSize(), 4096);
  EXPECT_DOUBLE_EQ(g.SampleRate(), 44100);
  EXPECT_EQ(g.WindowKind(), 0);
  EXPECT_DOUBLE_EQ(g.MinFreq(), 20);
  EXPECT_DOUBLE_EQ(g.MaxFreq(), 20480);
  EXPECT_DOUBLE_EQ(g.DbRange(), 80);
  EXPECT_DOUBLE_EQ(g.TopDb(), 30);
  EXPECT_TRUE(g.SmoothingOn());
  EXPECT_EQ(g.Curve().size(), 672u);
  for (double y : g.Curve()) ASSERT_EQ(y, 0.0);
}

TEST(FreqGraph, SetRangeComputesGridFractions) {
  IFreqResponseGraph g(kRect, kCurve);
  g.SetRange(20, 20480, 100, 30);
  EXPECT_NEAR(g.GridFreqFraction(8), std::log2(1000.0 / 20) / 10, 1e-12);  // 1 kHz
  EXPECT_NEAR(g.GridFreqFraction(0), std::log2(30.0 / 20) / 10, 1e-12);
  EXPECT_NEAR(g.GridLevelFraction(0), 0.9, 1e-12);  // -60 dB
  EXPECT_NEAR(g.GridLevelFraction(5), 0.3, 1e-12);  // 0 dB
  EXPECT_NEAR(g.GridLevelFraction(8), 0.1, 1e-12);  // 20 dB
  g.SetRange(20, 20480, 100, 10);
  EXPECT_EQ(g.GridLevelFraction(7), 0.0) << "12 dB lies above the top: fraction 0";
  EXPECT_EQ(g.GridLevelFraction(8), 0.0);
  EXPECT_NEAR(g.GridLevelFraction(6), 0.04, 1e-12);
}

TEST(FreqGraph, UnitImpulseIsFlatAtThirtyPercent) {
  auto g = MakeLayoutGraph();
  g->SetTimeData(Impulse());
  for (size_t j = 0; j < g->Curve().size(); ++j) {
    ASSERT_NEAR(g->Curve()[j], 0.3 * 450, 1e-9) << "column " << j;
  }
}

TEST(FreqGraph, UnitImpulseIsPaintedAsAFlatLine) {
  Canvas c;
  auto* g = c.graphics.AttachControl(MakeLayoutGraph());
  g->SetTimeData(Impulse());
  c.host.Frame();
  // y = T + 135 = 820; probe columns away from the grid's vertical lines and from the
  // level labels on the right.
  for (float x : {1210.f, 1400.f, 1655.f, 1810.f}) {
    EXPECT_PRED3(NearTol, c.host.ProbeDesign(x, 820), kCurve, 40) << "x " << x;
    EXPECT_PRED2(Near, c.host.ProbeDesign(x, 840), (IColor{255, 0, 0, 0})) << "x " << x;
  }
  // The "0 dB" label lies on the curve's height: it stands on its plate, over the curve.
  int curveUnderLabel = 0;
  for (float x = 1840.f; x < 1866.f; x += 1.f) {
    curveUnderLabel += NearTol(c.host.ProbeDesign(x, 820), kCurve, 60);
  }
  EXPECT_EQ(curveUnderLabel, 0);
}

TEST(FreqGraph, SilenceLiesBelowTheBottomAndIsNotDrawn) {
  Canvas c;
  auto* g = c.graphics.AttachControl(MakeLayoutGraph());
  g->SetTimeData(std::vector<double>(4096, 0.0));
  for (double y : g->Curve()) ASSERT_EQ(y, 450.0) << "-100 dB is clamped to H";
  c.host.Frame();
  EXPECT_PRED2(Near, c.host.ProbeDesign(1400, 1134), (IColor{255, 0, 0, 0}));
  EXPECT_PRED2(Near, c.host.ProbeDesign(1400, 1133), (IColor{255, 0, 0, 0}));
}

TEST(FreqGraph, SineShowsAPeakAtItsFrequency) {
  auto g = MakeLayoutGraph();
  // Bin 93 of 4096 at 44100 Hz: 1001.29 Hz; amplitude 2 / N gives magnitude 1 (0 dB).
  std::vector<double> x(4096);
  for (size_t i = 0; i < x.size(); ++i) {
    x[i] = 2.0 / 4096 * std::cos(2 * std::numbers::pi * 93 * double(i) / 4096);
  }
  g->SetTimeData(x);
  const auto col = static_cast<size_t>(std::lround(std::log2(44100.0 * 93 / 4096 / 20) / 10 * 672));
  double best = 450;
  for (size_t j = col - 2; j <= col + 2; ++j) best = std::min(best, g->Curve()[j]);
  EXPECT_NEAR(best, 135.0, 20.0) << "about 0 dB near column " << col;
  EXPECT_EQ(g->Curve()[50], 450.0) << "far from the tone: nothing";
  EXPECT_EQ(g->Curve()[650], 450.0);
}

TEST(FreqGraph, SmoothingFallsSlowlyAndRisesFast) {
  IFreqResponseGraph g(kRect, kCurve);
  g.SetRange(20, 20480, 100, 30);
  ASSERT_TRUE(g.SmoothingOn());
  // A column's memory follows a level that lies lower on screen (larger y) with
  // the slow constant H * 0.3 and a higher one with the fast constant H * 0.03.
  const double slow = std::exp(-1.0 / (450 * 0.3));
  const double fast = std::exp(-1.0 / (450 * 0.03));
  double memory = 0.0;
  std::vector<double> levels(60, 1.0);
  levels.push_back(100.0);  // +40 dB: far above, the fast constant
  levels.push_back(1.0);
  levels.push_back(1.0);
  int fastSteps = 0;
  for (double level : levels) {
    std::vector<double> x = Impulse();
    x[0] = level;
    g.SetTimeData(x);
    const double y = 135.0 - 20 * std::log10(level) * 4.5;
    const double a = memory < y ? slow : fast;
    fastSteps += a == fast;
    memory = (memory - y) * a + y;
    ASSERT_NEAR(g.Curve()[10], std::clamp(memory, 0.0, 450.0), 1e-9);
    ASSERT_NEAR(g.Curve()[600], std::clamp(memory, 0.0, 450.0), 1e-9);
  }
  EXPECT_EQ(fastSteps, 1);
  EXPECT_GT(memory, 0.0);
}

TEST(FreqGraph, FftSizeReallocatesAndAnalysisFollows) {
  auto g = MakeLayoutGraph();
  g->SetFftSize(1024);
  EXPECT_EQ(g->Window().size(), 1024u);
  EXPECT_EQ(g->Magnitudes().size(), 1024u);
  g->SetTimeData(Impulse(1024));
  EXPECT_NEAR(g->Curve()[300], 135.0, 1e-9);
  g->SetWindowKind(4);
  EXPECT_NEAR(g->Window()[0], 0.0, 1e-12);
}

struct ReadoutCase {
  int dx;  // mx - L
  int dy;  // my - T
  const char* freq;
  const char* gain;
  bool right;
};

class FreqReadoutTest : public ::testing::TestWithParam<ReadoutCase> {};

TEST_P(FreqReadoutTest, TextsAndSide) {
  const ReadoutCase p = GetParam();
  auto g = MakeLayoutGraph();
  const int mx = 1200 + p.dx;
  const int my = 685 + p.dy;
  const auto r = g->ReadoutAt(mx, my);
  EXPECT_EQ(r.freqText, p.freq);
  EXPECT_EQ(r.gainText, p.gain);
  const float left = p.right ? mx + 10.f : mx - 90.f;
  EXPECT_EQ(r.box, IRECT(left, my + 10.f, left + 90.f, my + 38.f));
  EXPECT_EQ(r.freqRect, IRECT(left, my + 10.f, left + 90.f, my + 28.f));
  EXPECT_EQ(r.gainRect, IRECT(left, my + 10.f, left + 90.f, my + 48.f));
}

INSTANTIATE_TEST_SUITE_P(
    Positions, FreqReadoutTest,
    ::testing::Values(ReadoutCase{0, 0, "Freq:   20 Hz", "Gain: 30.0 dB", true},
                      ReadoutCase{100, 135, "Freq:   56 Hz", "Gain:  0.0 dB", true},
                      ReadoutCase{447, 300, "Freq: 2.011 kHz", "Gain: -36.7 dB", true},
                      ReadoutCase{571, 1, "Freq: 7.226 kHz", "Gain: 29.8 dB", true},
                      ReadoutCase{572, 450, "Freq: 7.301 kHz", "Gain: -70.0 dB", false},
                      ReadoutCase{671, 0, "Freq: 20.270 kHz", "Gain: 30.0 dB", false}));

TEST(FreqGraph, HoverDrawsTheReadoutAndMouseOutRemovesIt) {
  Canvas c;
  c.graphics.EnableMouseOver(true);
  auto* g = c.graphics.AttachControl(MakeLayoutGraph());
  c.host.Frame();
  c.host.MouseMove(1300.7f, 900.2f);
  EXPECT_TRUE(g->IsHovering());
  EXPECT_EQ(g->MouseX(), 1300);
  EXPECT_EQ(g->MouseY(), 900);
  EXPECT_TRUE(c.host.Frame());
  // Box (1310, 910, 1400, 938); its corner is clear of the centred texts.
  EXPECT_PRED2(Near, c.host.ProbeDesign(1311, 911), kCurve);
  EXPECT_PRED2(Near, c.host.ProbeDesign(1398, 936), kCurve);
  c.host.MouseMove(100, 100);
  EXPECT_FALSE(g->IsHovering());
  c.host.Frame();
  EXPECT_PRED2(Near, c.host.ProbeDesign(1311, 911), (IColor{255, 0, 0, 0}));
}

TEST(FreqGraph, HoverNearTheRightEdgePutsTheBoxLeft) {
  Canvas c;
  c.graphics.EnableMouseOver(true);
  c.graphics.AttachControl(MakeLayoutGraph());
  c.host.MouseMove(1850, 900);  // mx - L = 650 >= W - 100
  c.host.Frame();
  EXPECT_PRED2(Near, c.host.ProbeDesign(1761, 911), kCurve);  // box 1760..1850
  EXPECT_PRED2(Near, c.host.ProbeDesign(1853, 937), (IColor{255, 0, 0, 0}));
}

}  // namespace
}  // namespace qd3::test
