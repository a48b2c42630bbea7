#include "toolkit/graphs/IDynamicsResponseGraph.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace qd3 {

IDynamicsResponseGraph::IDynamicsResponseGraph(const IRECT& bounds, const IColor& color)
    : IControl(bounds),
      mCurveColor(color),
      mW(static_cast<int>(bounds.R - bounds.L)),
      mH(static_cast<int>(bounds.B - bounds.T)) {}

void IDynamicsResponseGraph::SetGateThreshold(double db) {
  mT1 = 1.0 - std::fabs(db / 100.0);
  if (mT2 < mT1) mT2 = mT1;
  SetDirty();
}

void IDynamicsResponseGraph::SetCompThreshold(double db) {
  mT2 = 1.0 - std::fabs(db / 100.0);
  if (mT1 > mT2) mT1 = mT2;
  SetDirty();
}

void IDynamicsResponseGraph::SetGateRatio(double r) {
  mR1 = r;
  SetDirty();
}

void IDynamicsResponseGraph::SetCompRatio(double r) {
  mR2 = r;
  SetDirty();
}

std::array<IDynamicsResponseGraph::Point, 4> IDynamicsResponseGraph::CurvePoints() const {
  const double l = mRect.L;
  const double t = mRect.T;
  const double r = mRect.R;
  const double b = mRect.B;
  const Point p1{l + mW * mT1, b - mH * mT1};
  const Point p2{l + mW * mT2, b - mH * mT2};
  const Point start{p1.x - (p1.x - l) * mR1, b};
  // A ratio below 1 (expander) reaches the top edge before the right edge.
  const Point end =
      mR2 >= 1.0 ? Point{r, p2.y - (p2.y - t) / mR2} : Point{p2.x + (r - p2.x) * mR2, t};
  return {start, p1, p2, end};
}

IRECT IDynamicsResponseGraph::GetDrawRECT() const {
  // The knee circles (radius 20, 6 thick) may stand on the edges.
  return mRect.GetPadded(24.f);
}

void IDynamicsResponseGraph::Draw(IDrawContext& g) {
  const float l = mRect.L;
  const float t = mRect.T;
  const IText gridText(20.f, kColorGrid);
  char label[32];
  // The input levels along the top crowd towards the right: a label that would touch the
  // one before it is left out (its grid line stays).
  constexpr float kLabelGap = 6.f;
  float lastRight = -1e9f;
  for (int i = 0; i < kNumGridLines; ++i) {
    const double level = kGridLevels[static_cast<size_t>(i)];
    const auto f = static_cast<float>(kGridFractions[static_cast<size_t>(i)]);
    std::snprintf(label, sizeof label, "%4.0f dB", level);
    const float y = t + mH * f;
    g.DrawDottedLine(kColorGrid, l, y, l + mW - 40.f, y, level == 0.0 ? 2.f : 1.f);
    g.DrawText(gridText, label, IRECT(l + mW - 40.f, y - 10.f, l + mW, y + 10.f));
    const float x = l + mW - mW * f;
    g.DrawDottedLine(kColorGrid, x, t + 20.f, x, t + mH - 1.f, 1.f);
    const std::string_view top = std::string_view(label).substr(std::strspn(label, " "));
    if (mTopWidthsScale != g.GetDrawScale()) {
      mTopWidths[static_cast<size_t>(i)] = g.MeasureText(gridText, top);
      if (i + 1 == kNumGridLines) mTopWidthsScale = g.GetDrawScale();
    }
    const float half = mTopWidths[static_cast<size_t>(i)] / 2.f;
    if (x - half < lastRight + kLabelGap || x + half > l + mW - 40.f - kLabelGap) continue;
    g.DrawText(gridText, top, IRECT(x - half, t, x + half, t + 20.f));
    lastRight = x + half;
  }
  const auto pts = CurvePoints();
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    g.DrawLine(mCurveColor, static_cast<float>(pts[i].x), static_cast<float>(pts[i].y),
               static_cast<float>(pts[i + 1].x), static_cast<float>(pts[i + 1].y), 3.f);
  }
  for (size_t i = 1; i <= 2; ++i) {
    const auto cx = static_cast<float>(pts[i].x);
    const auto cy = static_cast<float>(pts[i].y);
    g.DrawCircle(mCurveColor, cx, cy, 20.f, 6.f);
    g.DrawCircle(mCurveColor, cx, cy, 4.f, 4.f);
  }
}

}  // namespace qd3
