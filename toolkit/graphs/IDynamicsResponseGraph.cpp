#include "graphs/IDynamicsResponseGraph.h"

#include <cmath>
#include <cstdio>

namespace qd3 {

IDynamicsResponseGraph::IDynamicsResponseGraph(const IRECT& bounds, const IColor& color)
    : IControl(bounds),
      curveColor(color),
      w(static_cast<int>(bounds.R - bounds.L)),
      h(static_cast<int>(bounds.B - bounds.T)) {}

void IDynamicsResponseGraph::SetGateThreshold(double db) {
  t1 = 1.0 - std::fabs(db / 100.0);
  if (t2 < t1) t2 = t1;
  SetDirty();
}

void IDynamicsResponseGraph::SetCompThreshold(double db) {
  t2 = 1.0 - std::fabs(db / 100.0);
  if (t1 > t2) t1 = t2;
  SetDirty();
}

void IDynamicsResponseGraph::SetGateRatio(double r) {
  r1 = r;
  SetDirty();
}

void IDynamicsResponseGraph::SetCompRatio(double r) {
  r2 = r;
  SetDirty();
}

std::array<IDynamicsResponseGraph::Point, 4> IDynamicsResponseGraph::CurvePoints() const {
  const double L = rect.L;
  const double T = rect.T;
  const double R = rect.R;
  const double B = rect.B;
  const Point p1{L + w * t1, B - h * t1};
  const Point p2{L + w * t2, B - h * t2};
  const Point start{p1.x - (p1.x - L) * r1, B};
  // A ratio below 1 (expander) reaches the top edge before the right edge.
  const Point end = r2 >= 1.0 ? Point{R, p2.y - (p2.y - T) / r2} : Point{p2.x + (R - p2.x) * r2, T};
  return {start, p1, p2, end};
}

IRECT IDynamicsResponseGraph::GetDrawRECT() const {
  // The knee circles (radius 20, 6 thick) may stand on the edges.
  return rect.GetPadded(24.f);
}

void IDynamicsResponseGraph::Draw(IDrawContext& g) {
  const float L = rect.L;
  const float T = rect.T;
  const IText gridText(20.f, kColorGrid);
  char label[32];
  for (int i = 0; i < kNumGridLines; ++i) {
    const double level = kGridLevels[static_cast<size_t>(i)];
    const auto f = static_cast<float>(kGridFractions[static_cast<size_t>(i)]);
    std::snprintf(label, sizeof label, "%4.0f dB", level);
    const float y = T + h * f;
    g.DrawDottedLine(kColorGrid, L, y, L + w - 40.f, y, level == 0.0 ? 2.f : 1.f);
    g.DrawText(gridText, label, IRECT(L + w - 40.f, y - 10.f, L + w, y + 10.f));
    const float x = L + w - w * f;
    g.DrawDottedLine(kColorGrid, x, T + 20.f, x, T + h - 1.f, 1.f);
    g.DrawText(gridText, label, IRECT(x - 20.f, T, x + 20.f, T + 20.f));
  }
  const auto pts = CurvePoints();
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    g.DrawLine(curveColor, static_cast<float>(pts[i].x), static_cast<float>(pts[i].y),
               static_cast<float>(pts[i + 1].x), static_cast<float>(pts[i + 1].y), 3.f);
  }
  for (size_t i = 1; i <= 2; ++i) {
    const auto cx = static_cast<float>(pts[i].x);
    const auto cy = static_cast<float>(pts[i].y);
    g.DrawCircle(curveColor, cx, cy, 20.f, 6.f);
    g.DrawCircle(curveColor, cx, cy, 4.f, 4.f);
  }
}

}  // namespace qd3
