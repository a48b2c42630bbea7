#include "toolkit/graphs/IFreqResponseGraph.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

#include "toolkit/graphs/FrequencyAnalysis.h"

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
      mCurveColor(color),
      mW(static_cast<int>(bounds.R - bounds.L)),
      mH(static_cast<int>(bounds.B - bounds.T)) {
  assert(mW <= kMaxColumns);
  mW = std::clamp(mW, 1, kMaxColumns);
  mH = std::max(mH, 1);
  mCurve.assign(static_cast<size_t>(mW), 0.0);
  mSmoothingMemory.fill(0.0);
  SetFftSize(mN);
  SetRange(mInFreq, mAxFreq, mDbRange, mTopDb);
}

void IFreqResponseGraph::SetFftSize(int size) {
  mN = size;
  mWindow = spectrum::MakeWindow(mWindowKind, mN);
  mAgnitude.assign(static_cast<size_t>(mN), 0.0);
  mLogSpectrum.assign(static_cast<size_t>(mN), 0.0);
  mWorkRe.assign(static_cast<size_t>(mN), 0.0);
  mWorkIm.assign(static_cast<size_t>(mN), 0.0);
}

void IFreqResponseGraph::SetWindowKind(int kind) {
  mWindowKind = kind;
  mWindow = spectrum::MakeWindow(mWindowKind, mN);
}

void IFreqResponseGraph::SetSampleRate(double sr) {
  mSampleRate = sr;
}

void IFreqResponseGraph::SetSmoothingOff(int flag) {
  mSmoothing = flag == 0;
}

void IFreqResponseGraph::SetRange(double minF, double maxF, double range, double top) {
  mInFreq = minF;
  mAxFreq = maxF;
  mDbRange = range;
  mTopDb = top;
  const double octaves = std::log2(mAxFreq / mInFreq);
  for (int i = 0; i < kNumGridFreqs; ++i) {
    mFreqFractions[static_cast<size_t>(i)] =
        std::log2(kGridFreqs[static_cast<size_t>(i)] / mInFreq) / octaves;
  }
  for (int i = 0; i < kNumGridLevels; ++i) {
    const double g = kGridLevels[static_cast<size_t>(i)];
    mLevelFractions[static_cast<size_t>(i)] = g > mTopDb ? 0.0 : (mTopDb - g) / mDbRange;
  }
  SetDirty();
}

void IFreqResponseGraph::SetTimeData(std::span<const double> samples) {
  const size_t count = static_cast<size_t>(mN);
  for (size_t i = 0; i < count; ++i) {
    mWorkRe[i] = (i < samples.size() ? samples[i] : 0.0) * mWindow[i];
    mWorkIm[i] = 0.0;
  }
  spectrum::FFT(mWorkRe, mWorkIm);
  const size_t half = count / 2;
  for (size_t k = 0; k < half; ++k) mAgnitude[k] = std::hypot(mWorkRe[k], mWorkIm[k]);

  // Onto a logarithmic frequency axis of N/2 points from minFreq to maxFreq.
  const double logSpan = std::log10(mAxFreq / mInFreq);
  const double logMin = std::log10(mInFreq);
  const double binsPerHz = static_cast<double>(half) / (mSampleRate / 2.0);
  for (size_t j = 0; j < half; ++j) {
    const double f =
        std::pow(10.0, static_cast<double>(j) / static_cast<double>(half) * logSpan + logMin);
    mLogSpectrum[j] = spectrum::InterpolateAt(mAgnitude, f * binsPerHz);
  }

  // Onto the W pixel columns, then to pixel offsets from the top.
  const double step = static_cast<double>(half) / mW;
  for (int j = 0; j < mW; ++j) {
    const double v = spectrum::InterpolateAt(mLogSpectrum, j * step);
    double y =
        mH * mTopDb / mDbRange - 20.0 * std::log10(std::max(v, kMinMagnitude)) * mH / mDbRange;
    if (mSmoothing) {
      double& f = mSmoothingMemory[static_cast<size_t>(j)];
      const double a =
          f < y ? std::exp(-1.0 / (mH * kFallFactor)) : std::exp(-1.0 / (mH * kRiseFactor));
      f = (f - y) * a + y;
      y = f;
    }
    mCurve[static_cast<size_t>(j)] = std::clamp(y, 0.0, static_cast<double>(mH));
  }
  SetDirty();
}

void IFreqResponseGraph::OnMouseOver(float x, float y, const IMouseMod& mod) {
  IControl::OnMouseOver(x, y, mod);
  mHover = true;
  mX = static_cast<int>(x);
  mY = static_cast<int>(y);
  SetDirty();
}

void IFreqResponseGraph::OnMouseOut() {
  IControl::OnMouseOut();
  mHover = false;
  SetDirty();
}

IRECT IFreqResponseGraph::GetDrawRECT() const {
  // Level texts reach 10 units above the top; the readout box 48 below the pointer.
  return mRect.GetPadded(2.f, 10.f, 2.f, 50.f);
}

IFreqResponseGraph::Readout IFreqResponseGraph::ReadoutAt(int x, int y) const {
  const double l = mRect.L;
  const double t = mRect.T;
  const double f =
      std::pow(10.0, (x - l) / mW * std::log10(mAxFreq / mInFreq) + std::log10(mInFreq));
  const double gain = mTopDb - mDbRange / mH * (y - t);
  Readout r;
  const float left = (x - l < mW - 100) ? static_cast<float>(x + 10) : static_cast<float>(x - 90);
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
  const float l = mRect.L;
  const float t = mRect.T;
  const IText gridText = mTextStyle.WithSize(18.f).WithFGColor(kColorGrid);
  for (int i = 0; i < kNumGridFreqs; ++i) {
    const float x = l + mW * static_cast<float>(mFreqFractions[static_cast<size_t>(i)]);
    g.DrawDottedLine(kColorGrid, x, t + 20.f, x, t + mH - 1.f, 1.f);
    if (const char* label = GridFreqLabel(kGridFreqs[static_cast<size_t>(i)])) {
      g.DrawText(gridText, label, IRECT(x - 20.f, t, x + 20.f, t + 20.f));
    }
  }
  for (int i = 0; i < kNumGridLevels; ++i) {
    const double level = kGridLevels[static_cast<size_t>(i)];
    const float y = t + mH * static_cast<float>(mLevelFractions[static_cast<size_t>(i)]);
    g.DrawDottedLine(kColorGrid, l, y, l + mW - 40.f, y, level == 0.0 ? 2.f : 1.f);
  }
}

void IFreqResponseGraph::DrawLevelLabels(IDrawContext& g) const {
  // Over the curve, each on a dark plate: the curve passes behind its own scale.
  const float l = mRect.L;
  const float t = mRect.T;
  const IText gridText = mTextStyle.WithSize(18.f).WithFGColor(kColorGrid);
  constexpr IColor kPlate{220, 12, 12, 14};
  for (int i = 0; i < kNumGridLevels; ++i) {
    const double level = kGridLevels[static_cast<size_t>(i)];
    const float y = t + mH * static_cast<float>(mLevelFractions[static_cast<size_t>(i)]);
    const std::string label = Format("%4.0f dB", level);
    const IRECT box(l + mW - 40.f, y - 10.f, l + mW, y + 10.f);
    // Measured once per scale: measuring costs more than the rest of the graph.
    if (mLabelWidthsScale != g.GetDrawScale()) {
      mLabelWidths[static_cast<size_t>(i)] = g.MeasureText(gridText, label);
      if (i + 1 == kNumGridLevels) mLabelWidthsScale = g.GetDrawScale();
    }
    const float width = mLabelWidths[static_cast<size_t>(i)];
    g.FillRect(kPlate,
               IRECT(box.MW() - width / 2.f - 2.f, y - 8.f, box.MW() + width / 2.f + 2.f, y + 8.f));
    g.DrawText(gridText, label, box);
  }
}

void IFreqResponseGraph::Draw(IDrawContext& g) {
  DrawGrid(g);
  const float l = std::trunc(mRect.L);
  const float t = std::trunc(mRect.T);
  // One segment per column, stroked together.
  std::vector<LineSegment> segments;
  segments.reserve(static_cast<size_t>(mW));
  for (int j = 0; j + 1 < mW; ++j) {
    const double y = mCurve[static_cast<size_t>(j)];
    if (y <= 0.0 || y >= mH) continue;
    segments.push_back({l + j, t + static_cast<float>(y), l + j + 1,
                        t + static_cast<float>(mCurve[static_cast<size_t>(j) + 1])});
  }
  g.DrawLineSegments(mCurveColor, segments, 3.f);
  DrawLevelLabels(g);
  if (mHover) {
    const Readout r = ReadoutAt(mX, mY);
    g.FillRect(mCurveColor, r.box);
    g.DrawText(mTextStyle, r.freqText, r.freqRect);
    g.DrawText(mTextStyle, r.gainText, r.gainRect);
  }
}

}  // namespace qd3
