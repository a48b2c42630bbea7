#include "graphs/IFreqResponseGraph.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

#include "graphs/FrequencyAnalysis.h"

namespace qd3 {
namespace {

constexpr double kMinMagnitude = 0.00001;
// Smoothing time constants as fractions of the height: slow fall, fast rise.
constexpr double kFallFactor = 0.3;
constexpr double kRiseFactor = 0.03;

std::string Format(const char* fmt, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

const char* GridFreqLabel(double f) {
  if (f == 50) return "50Hz";
  if (f == 100) return "100Hz";
  if (f == 500) return "500Hz";
  if (f == 1000) return "1kHz";
  if (f == 5000) return "5kHz";
  if (f == 10000) return "10kHz";
  return nullptr;
}

}  // namespace

IFreqResponseGraph::IFreqResponseGraph(const IRECT& bounds, const IColor& color)
    : IControl(bounds),
      curveColor(color),
      w(static_cast<int>(bounds.R - bounds.L)),
      h(static_cast<int>(bounds.B - bounds.T)) {
  assert(w <= kMaxColumns);
  w = std::clamp(w, 1, kMaxColumns);
  h = std::max(h, 1);
  curve.assign(static_cast<size_t>(w), 0.0);
  smoothingMemory.fill(0.0);
  SetFftSize(n);
  SetRange(minFreq, maxFreq, dbRange, topDb);
}

void IFreqResponseGraph::SetFftSize(int size) {
  n = size;
  window = spectrum::MakeWindow(windowKind, n);
  magnitude.assign(static_cast<size_t>(n), 0.0);
  logSpectrum.assign(static_cast<size_t>(n), 0.0);
  workRe.assign(static_cast<size_t>(n), 0.0);
  workIm.assign(static_cast<size_t>(n), 0.0);
}

void IFreqResponseGraph::SetWindowKind(int kind) {
  windowKind = kind;
  window = spectrum::MakeWindow(windowKind, n);
}

void IFreqResponseGraph::SetSampleRate(double sr) {
  sampleRate = sr;
}

void IFreqResponseGraph::SetSmoothingOff(int flag) {
  smoothing = flag == 0;
}

void IFreqResponseGraph::SetRange(double minF, double maxF, double range, double top) {
  minFreq = minF;
  maxFreq = maxF;
  dbRange = range;
  topDb = top;
  const double octaves = std::log2(maxFreq / minFreq);
  for (int i = 0; i < kNumGridFreqs; ++i) {
    freqFractions[static_cast<size_t>(i)] =
        std::log2(kGridFreqs[static_cast<size_t>(i)] / minFreq) / octaves;
  }
  for (int i = 0; i < kNumGridLevels; ++i) {
    const double g = kGridLevels[static_cast<size_t>(i)];
    levelFractions[static_cast<size_t>(i)] = g > topDb ? 0.0 : (topDb - g) / dbRange;
  }
  SetDirty();
}

void IFreqResponseGraph::SetTimeData(std::span<const double> samples) {
  const size_t count = static_cast<size_t>(n);
  for (size_t i = 0; i < count; ++i) {
    workRe[i] = (i < samples.size() ? samples[i] : 0.0) * window[i];
    workIm[i] = 0.0;
  }
  spectrum::FFT(workRe, workIm);
  const size_t half = count / 2;
  for (size_t k = 0; k < half; ++k) magnitude[k] = std::hypot(workRe[k], workIm[k]);

  // Onto a logarithmic frequency axis of N/2 points from minFreq to maxFreq.
  const double logSpan = std::log10(maxFreq / minFreq);
  const double logMin = std::log10(minFreq);
  const double binsPerHz = static_cast<double>(half) / (sampleRate / 2.0);
  for (size_t j = 0; j < half; ++j) {
    const double f =
        std::pow(10.0, static_cast<double>(j) / static_cast<double>(half) * logSpan + logMin);
    logSpectrum[j] = spectrum::InterpolateAt(magnitude, f * binsPerHz);
  }

  // Onto the W pixel columns, then to pixel offsets from the top.
  const double step = static_cast<double>(half) / w;
  for (int j = 0; j < w; ++j) {
    const double v = spectrum::InterpolateAt(logSpectrum, j * step);
    double y = h * topDb / dbRange - 20.0 * std::log10(std::max(v, kMinMagnitude)) * h / dbRange;
    if (smoothing) {
      double& f = smoothingMemory[static_cast<size_t>(j)];
      const double a =
          f < y ? std::exp(-1.0 / (h * kFallFactor)) : std::exp(-1.0 / (h * kRiseFactor));
      f = (f - y) * a + y;
      y = f;
    }
    curve[static_cast<size_t>(j)] = std::clamp(y, 0.0, static_cast<double>(h));
  }
  SetDirty();
}

void IFreqResponseGraph::OnMouseOver(float x, float y, const IMouseMod& mod) {
  IControl::OnMouseOver(x, y, mod);
  hover = true;
  mx = static_cast<int>(x);
  my = static_cast<int>(y);
  SetDirty();
}

void IFreqResponseGraph::OnMouseOut() {
  IControl::OnMouseOut();
  hover = false;
  SetDirty();
}

IRECT IFreqResponseGraph::GetDrawRECT() const {
  // Level texts reach 10 units above the top; the readout box 48 below the pointer.
  return rect.GetPadded(2.f, 10.f, 2.f, 50.f);
}

IFreqResponseGraph::Readout IFreqResponseGraph::ReadoutAt(int x, int y) const {
  const double L = rect.L;
  const double T = rect.T;
  const double f =
      std::pow(10.0, (x - L) / w * std::log10(maxFreq / minFreq) + std::log10(minFreq));
  const double gain = topDb - dbRange / h * (y - T);
  Readout r;
  const float left = (x - L < w - 100) ? static_cast<float>(x + 10) : static_cast<float>(x - 90);
  const float right = left + 90.f;
  const auto fy = static_cast<float>(y);
  r.box = IRECT(left, fy + 10.f, right, fy + 38.f);
  r.freqRect = IRECT(left, fy + 10.f, right, fy + 28.f);
  r.gainRect = IRECT(left, fy + 10.f, right, fy + 48.f);
  r.freqText = f >= 1000.0 ? Format("Freq: %2.3f kHz", f / 1000.0) : Format("Freq: %4.0f Hz", f);
  r.gainText = Format("Gain: %4.1f dB", gain);
  return r;
}

void IFreqResponseGraph::DrawGrid(IDrawContext& g) const {
  const float L = rect.L;
  const float T = rect.T;
  const IText gridText = textStyle.WithSize(18.f).WithFGColor(kColorGrid);
  for (int i = 0; i < kNumGridFreqs; ++i) {
    const float x = L + w * static_cast<float>(freqFractions[static_cast<size_t>(i)]);
    g.DrawDottedLine(kColorGrid, x, T + 20.f, x, T + h - 1.f, 1.f);
    if (const char* label = GridFreqLabel(kGridFreqs[static_cast<size_t>(i)])) {
      g.DrawText(gridText, label, IRECT(x - 20.f, T, x + 20.f, T + 20.f));
    }
  }
  for (int i = 0; i < kNumGridLevels; ++i) {
    const double level = kGridLevels[static_cast<size_t>(i)];
    const float y = T + h * static_cast<float>(levelFractions[static_cast<size_t>(i)]);
    g.DrawDottedLine(kColorGrid, L, y, L + w - 40.f, y, level == 0.0 ? 2.f : 1.f);
    g.DrawText(gridText, Format("%4.0f dB", level), IRECT(L + w - 40.f, y - 10.f, L + w, y + 10.f));
  }
}

void IFreqResponseGraph::Draw(IDrawContext& g) {
  DrawGrid(g);
  const float L = std::trunc(rect.L);
  const float T = std::trunc(rect.T);
  // One segment per column, stroked together.
  std::vector<LineSegment> segments;
  segments.reserve(static_cast<size_t>(w));
  for (int j = 0; j + 1 < w; ++j) {
    const double y = curve[static_cast<size_t>(j)];
    if (y <= 0.0 || y >= h) continue;
    segments.push_back({L + j, T + static_cast<float>(y), L + j + 1,
                        T + static_cast<float>(curve[static_cast<size_t>(j) + 1])});
  }
  g.DrawLineSegments(curveColor, segments, 3.f);
  if (hover) {
    const Readout r = ReadoutAt(mx, my);
    g.FillRect(curveColor, r.box);
    g.DrawText(textStyle, r.freqText, r.freqRect);
    g.DrawText(textStyle, r.gainText, r.gainRect);
  }
}

}  // namespace qd3
