#include "resources/factory_irs/CabinetIr.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>
#include <string_view>

#include "resources/factory_irs/Biquad.h"

namespace qd3::factory_irs {
namespace {

constexpr double kButterworthQ = 0.70710678118654752;

// Canonical WAV header: RIFF size field covers everything after itself.
constexpr uint16_t kPcmFormatTag = 1;
constexpr uint16_t kMonoChannels = 1;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kBlockAlign = kMonoChannels * kBitsPerSample / 8;
constexpr uint32_t kFmtChunkSize = 16;
constexpr uint32_t kHeaderBytesAfterRiffSize = 4 + 8 + kFmtChunkSize + 8;  // "WAVE", fmt, data

// xorshift32: a fixed, portable generator, so the diffuse burst is the same everywhere.
class NoiseSource {
 public:
  explicit NoiseSource(uint32_t seed) : mState(seed == 0 ? 1u : seed) {}
  // Uniform in [-1, 1).
  double Next() {
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return static_cast<double>(mState) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t mState;
};

std::size_t MsToFrames(double ms) {
  return static_cast<std::size_t>(std::lround(ms * kSampleRate / 1000.0));
}

// Direct impulse, the back-wall reflection and the decaying diffuse burst.
std::vector<double> Excitation(const CabinetDesign& d) {
  std::vector<double> x(kFrameCount, 0.0);
  x[0] = 1.0;
  const std::size_t reflection = MsToFrames(d.reflectionMs);
  if (reflection < kFrameCount) x[reflection] += d.reflectionGain;
  NoiseSource noise(d.seed);
  const double diffuseFrames = d.diffuseMs * kSampleRate / 1000.0;
  for (std::size_t n = 1; n < kFrameCount; ++n) {
    x[n] += d.diffuseGain * noise.Next() * std::exp(-static_cast<double>(n) / diffuseFrames);
  }
  return x;
}

void ApplyFilters(const CabinetDesign& d, std::span<double> x) {
  Biquad::HighPass(kSampleRate, d.lowCutHz, d.lowCutQ).Process(x);
  for (int s = 0; s < d.highCutStages; ++s) {
    Biquad::LowPass(kSampleRate, d.highCutHz, kButterworthQ).Process(x);
  }
  for (const ResonanceBand& band : d.bands) {
    Biquad::Peaking(kSampleRate, band.hz, band.q, band.gainDb).Process(x);
  }
}

void ApplyEnvelope(const CabinetDesign& d, std::span<double> x) {
  const double decayFrames = d.decayMs * kSampleRate / 1000.0;
  const std::size_t fadeStart = kFrameCount - kFadeOutFrames;
  for (std::size_t n = 0; n < x.size(); ++n) {
    double gain = std::exp(-static_cast<double>(n) / decayFrames);
    if (n >= fadeStart) {
      const double t = static_cast<double>(n - fadeStart + 1) / kFadeOutFrames;
      gain *= 0.5 * (1.0 + std::cos(std::numbers::pi * t));
    }
    x[n] *= gain;
  }
}

void PutLe16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutTag(std::vector<uint8_t>& out, std::string_view tag) {
  for (char c : tag) out.push_back(static_cast<uint8_t>(c));
}

}  // namespace

std::vector<int16_t> RenderCabinet(const CabinetDesign& design) {
  std::vector<double> x = Excitation(design);
  ApplyFilters(design, x);
  ApplyEnvelope(design, x);
  double peak = 0.0;
  for (double v : x) peak = std::max(peak, std::abs(v));
  const double scale = peak > 0.0 ? kPeakLevel * 32767.0 / peak : 0.0;
  std::vector<int16_t> samples(x.size());
  for (std::size_t n = 0; n < x.size(); ++n) {
    const double q = std::clamp(std::round(x[n] * scale), -32767.0, 32767.0);
    samples[n] = static_cast<int16_t>(q);
  }
  return samples;
}

std::vector<uint8_t> MakeWavFile(const std::vector<int16_t>& samples) {
  const auto dataBytes = static_cast<uint32_t>(samples.size() * kBlockAlign);
  const auto sampleRate = static_cast<uint32_t>(kSampleRate);
  std::vector<uint8_t> out;
  out.reserve(8 + kHeaderBytesAfterRiffSize + dataBytes);
  PutTag(out, "RIFF");
  PutLe32(out, kHeaderBytesAfterRiffSize + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutLe32(out, kFmtChunkSize);
  PutLe16(out, kPcmFormatTag);
  PutLe16(out, kMonoChannels);
  PutLe32(out, sampleRate);
  PutLe32(out, sampleRate * kBlockAlign);
  PutLe16(out, kBlockAlign);
  PutLe16(out, kBitsPerSample);
  PutTag(out, "data");
  PutLe32(out, dataBytes);
  for (int16_t s : samples) PutLe16(out, static_cast<uint16_t>(s));
  return out;
}

std::vector<uint8_t> FactoryCabinetWav(std::size_t index) {
  return MakeWavFile(RenderCabinet(CabinetDesigns().at(index)));
}

}  // namespace qd3::factory_irs
