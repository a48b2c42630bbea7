#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "toolkit/IControl.h"
#include "toolkit/IText.h"

namespace qd3 {

// The magnitude response of a block of N samples on logarithmic axes, with a grid
// and a readout of frequency and level under the mouse. W and H are the integer
// parts of the rectangle's size at construction.
class IFreqResponseGraph : public IControl {
 public:
  static constexpr int kMaxColumns = 1024;  // room of the smoothing memory
  static constexpr int kNumGridFreqs = 14;
  static constexpr int kNumGridLevels = 9;
  static constexpr std::array<double, kNumGridFreqs> kGridFreqs = {
      30, 40, 50, 100, 200, 300, 400, 500, 1000, 2000, 3000, 4000, 5000, 10000};
  static constexpr std::array<double, kNumGridLevels> kGridLevels = {-60, -40, -20, -12, -6,
                                                                     0,   6,   12,  20};

  IFreqResponseGraph(const IRECT& bounds, const IColor& curveColor);

  // N samples in (the first N of `samples`; missing ones count as 0), analysed
  // into the curve.
  virtual void SetTimeData(std::span<const double> samples);
  virtual void SetSampleRate(double sampleRate);
  // A power of two: work arrays reallocated and zeroed, window table rebuilt.
  virtual void SetFftSize(int n);
  virtual void SetSmoothingOff(int flag);
  virtual void SetRange(double minFreq, double maxFreq, double dbRange, double topDb);

  void SetWindowKind(int kind);

  void Draw(IDrawContext& g) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  IRECT GetDrawRECT() const override;

  // The readout box and its texts for a mouse position (integer design units).
  struct Readout {
    IRECT box;
    IRECT freqRect;
    IRECT gainRect;
    std::string freqText;
    std::string gainText;
  };
  Readout ReadoutAt(int mx, int my) const;

  int GraphW() const { return mW; }
  int GraphH() const { return mH; }
  int FftSize() const { return mN; }
  double SampleRate() const { return mSampleRate; }
  bool SmoothingOn() const { return mSmoothing; }
  int WindowKind() const { return mWindowKind; }
  double MinFreq() const { return mInFreq; }
  double MaxFreq() const { return mAxFreq; }
  double DbRange() const { return mDbRange; }
  double TopDb() const { return mTopDb; }
  double GridFreqFraction(int i) const { return mFreqFractions[static_cast<size_t>(i)]; }
  double GridLevelFraction(int i) const { return mLevelFractions[static_cast<size_t>(i)]; }
  const std::vector<double>& Window() const { return mWindow; }
  const std::vector<double>& Magnitudes() const { return mAgnitude; }
  const std::vector<double>& LogSpectrum() const { return mLogSpectrum; }
  // Pixel offsets from the top, one per column.
  const std::vector<double>& Curve() const { return mCurve; }
  bool IsHovering() const { return mHover; }
  int MouseX() const { return mX; }
  int MouseY() const { return mY; }

 private:
  void DrawGrid(IDrawContext& g) const;
  void DrawLevelLabels(IDrawContext& g) const;

  IColor mCurveColor;
  IText mTextStyle{14.f, kColorBlack, "Roboto-Regular", EAlign::Center, EVAlign::Middle};
  int mW;
  int mH;
  int mN = 4096;
  double mSampleRate = 44100.0;
  int mWindowKind = 0;
  double mInFreq = 20.0;
  double mAxFreq = 20480.0;
  double mDbRange = 80.0;
  double mTopDb = 30.0;
  bool mSmoothing = true;
  std::array<double, kNumGridFreqs> mFreqFractions{};
  std::array<double, kNumGridLevels> mLevelFractions{};
  // The level labels' widths at mLabelWidthsScale (0: not measured yet).
  mutable std::array<float, kNumGridLevels> mLabelWidths{};
  mutable float mLabelWidthsScale = 0.f;
  std::vector<double> mWindow;
  std::vector<double> mAgnitude;
  std::vector<double> mLogSpectrum;
  std::vector<double> mCurve;
  std::array<double, kMaxColumns> mSmoothingMemory{};
  std::vector<double> mWorkRe;
  std::vector<double> mWorkIm;
  bool mHover = false;
  int mX = 0;
  int mY = 0;
};

}  // namespace qd3
