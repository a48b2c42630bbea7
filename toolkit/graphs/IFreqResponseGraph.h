#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "IControl.h"
#include "IText.h"

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

  int GraphW() const { return w; }
  int GraphH() const { return h; }
  int FftSize() const { return n; }
  double SampleRate() const { return sampleRate; }
  bool SmoothingOn() const { return smoothing; }
  int WindowKind() const { return windowKind; }
  double MinFreq() const { return minFreq; }
  double MaxFreq() const { return maxFreq; }
  double DbRange() const { return dbRange; }
  double TopDb() const { return topDb; }
  double GridFreqFraction(int i) const { return freqFractions[static_cast<size_t>(i)]; }
  double GridLevelFraction(int i) const { return levelFractions[static_cast<size_t>(i)]; }
  const std::vector<double>& Window() const { return window; }
  const std::vector<double>& Magnitudes() const { return magnitude; }
  const std::vector<double>& LogSpectrum() const { return logSpectrum; }
  // Pixel offsets from the top, one per column.
  const std::vector<double>& Curve() const { return curve; }
  bool IsHovering() const { return hover; }
  int MouseX() const { return mx; }
  int MouseY() const { return my; }

 private:
  void DrawGrid(IDrawContext& g) const;

  IColor curveColor;
  IText textStyle{14.f, kColorBlack, "Roboto-Regular", EAlign::Center, EVAlign::Middle};
  int w;
  int h;
  int n = 4096;
  double sampleRate = 44100.0;
  int windowKind = 0;
  double minFreq = 20.0;
  double maxFreq = 20480.0;
  double dbRange = 80.0;
  double topDb = 30.0;
  bool smoothing = true;
  std::array<double, kNumGridFreqs> freqFractions{};
  std::array<double, kNumGridLevels> levelFractions{};
  std::vector<double> window;
  std::vector<double> magnitude;
  std::vector<double> logSpectrum;
  std::vector<double> curve;
  std::array<double, kMaxColumns> smoothingMemory{};
  std::vector<double> workRe;
  std::vector<double> workIm;
  bool hover = false;
  int mx = 0;
  int my = 0;
};

}  // namespace qd3
