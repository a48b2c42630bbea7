// The eight factory cabinet WAV files as the program carries them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "presets/PresetCache.h"
#include "resources/factory_irs/CabinetIr.h"
#include "resources/factory_irs/FactoryIrWavs.h"
#include "toolkit/api/EmbeddedResources.h"

namespace qd3 {
namespace {

constexpr std::size_t kWavHeaderSize = 44;
constexpr std::size_t kPedalIrFrames = 1200;  // what the pedal keeps of an IR

uint32_t Le32(std::span<const uint8_t> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Le16(std::span<const uint8_t> b, std::size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
std::string Tag(std::span<const uint8_t> b, std::size_t at) {
  return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                     b.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

std::vector<double> Samples(std::span<const uint8_t> wav) {
  std::vector<double> x;
  for (std::size_t at = kWavHeaderSize; at + 1 < wav.size(); at += 2) {
    x.push_back(static_cast<int16_t>(Le16(wav, at)) / 32768.0);
  }
  return x;
}

double Energy(const std::vector<double>& x, std::size_t from, std::size_t to) {
  double e = 0.0;
  for (std::size_t n = from; n < to; ++n) e += x[n] * x[n];
  return e;
}

// Energy of the spectrum between two frequencies, in dB relative to the whole spectrum.
struct Spectrum {
  explicit Spectrum(const std::vector<double>& x) : power(x.size() / 2) {
    const std::size_t n = x.size();
    std::vector<std::complex<double>> twiddle(n);
    for (std::size_t m = 0; m < n; ++m) {
      twiddle[m] = std::polar(1.0, -2.0 * std::numbers::pi * static_cast<double>(m) / double(n));
    }
    for (std::size_t k = 0; k < power.size(); ++k) {
      std::complex<double> sum = 0.0;
      for (std::size_t t = 0; t < n; ++t) sum += x[t] * twiddle[k * t % n];
      power[k] = std::norm(sum);
      total += power[k];
    }
    binHz = factory_irs::kSampleRate / static_cast<double>(n);
  }
  double BandDb(double loHz, double hiHz) const {
    double e = 0.0;
    for (std::size_t k = 0; k < power.size(); ++k) {
      const double f = static_cast<double>(k) * binHz;
      if (f >= loHz && f < hiHz) e += power[k];
    }
    return 10.0 * std::log10(e / total + 1e-30);
  }
  std::vector<double> power;
  double total = 0.0;
  double binHz = 0.0;
};

// Octave bands across the guitar cabinet's range.
const std::vector<std::pair<double, double>> kBands = {{45, 90},     {90, 180},    {180, 355},
                                                       {355, 710},   {710, 1400},  {1400, 2800},
                                                       {2800, 5600}, {5600, 11200}};

// The spectra of the eight embedded files, computed once.
const std::vector<Spectrum>& Spectra() {
  static const std::vector<Spectrum> spectra = [] {
    std::vector<Spectrum> all;
    for (std::span<const uint8_t> wav : FactoryIrWavs()) all.emplace_back(Samples(wav));
    return all;
  }();
  return spectra;
}

TEST(FactoryIrWavsTest, EveryFileIsA44k16BitMonoPcmWavWithFmtFirst) {
  for (std::span<const uint8_t> wav : FactoryIrWavs()) {
    ASSERT_GT(wav.size(), kWavHeaderSize);
    EXPECT_EQ(Tag(wav, 0), "RIFF");
    EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(Tag(wav, 8), "WAVE");
    // The editor's reader wants "fmt " (or JUNK) straight after "WAVE".
    EXPECT_EQ(Tag(wav, 12), "fmt ");
    EXPECT_EQ(Le32(wav, 16), 16u);
    EXPECT_EQ(Le16(wav, 20), 1u);      // PCM
    EXPECT_EQ(Le16(wav, 22), 1u);      // mono
    EXPECT_EQ(Le32(wav, 24), 44100u);  // sample rate
    EXPECT_EQ(Le32(wav, 28), 88200u);  // byte rate
    EXPECT_EQ(Le16(wav, 32), 2u);      // block align
    EXPECT_EQ(Le16(wav, 34), 16u);     // bits per sample
    EXPECT_EQ(Tag(wav, 36), "data");
    EXPECT_EQ(Le32(wav, 40), wav.size() - kWavHeaderSize);
    const std::size_t frames = (wav.size() - kWavHeaderSize) / 2;
    EXPECT_GE(frames, 2048u);
    EXPECT_LE(frames, 4096u);
  }
}

TEST(FactoryIrWavsTest, ResourcesById201To208CarryTheWavNamesAndBytes) {
  const FactoryIrWavData wavs = FactoryIrWavs();
  for (std::size_t i = 0; i < wavs.size(); ++i) {
    const EmbeddedResource* r = FindEmbeddedResourceById(kFirstFactoryIrWavResourceId + int(i));
    ASSERT_NE(r, nullptr) << i;
    EXPECT_EQ(r->name, kFactoryIrWavNames[i]);
    EXPECT_TRUE(std::ranges::equal(r->bytes, wavs[i])) << i;
  }
}

// The build's tool and a fresh render in this process must agree byte for byte.
TEST(FactoryIrWavsTest, EmbeddedFilesEqualAFreshRender) {
  const FactoryIrWavData wavs = FactoryIrWavs();
  for (std::size_t i = 0; i < wavs.size(); ++i) {
    const std::vector<uint8_t> again = factory_irs::FactoryCabinetWav(i);
    EXPECT_TRUE(std::ranges::equal(again, wavs[i])) << i;
  }
}

TEST(FactoryIrWavsTest, NormalisedBelowFullScale) {
  for (std::span<const uint8_t> wav : FactoryIrWavs()) {
    const std::vector<double> x = Samples(wav);
    double peak = 0.0;
    for (double v : x) peak = std::max(peak, std::abs(v));
    EXPECT_LT(peak, 32767.0 / 32768.0);
    EXPECT_GT(peak, 0.5);
  }
}

// The pedal plays only the first 1200 samples, so the response must be over by then.
TEST(FactoryIrWavsTest, DecaysWithinWhatThePedalPlays) {
  for (std::span<const uint8_t> wav : FactoryIrWavs()) {
    const std::vector<double> x = Samples(wav);
    const std::size_t q = x.size() / 4;
    EXPECT_LT(Energy(x, 3 * q, x.size()), 1e-6 * Energy(x, 0, q));
    EXPECT_GT(Energy(x, 0, kPedalIrFrames), 0.999 * Energy(x, 0, x.size()));
  }
}

TEST(FactoryIrWavsTest, EveryPairDiffersByAtLeast3dBInSomeOctave) {
  const std::vector<Spectrum>& spectra = Spectra();
  for (std::size_t a = 0; a < spectra.size(); ++a) {
    for (std::size_t b = a + 1; b < spectra.size(); ++b) {
      double largest = 0.0;
      for (const auto& [lo, hi] : kBands) {
        largest =
            std::max(largest, std::abs(spectra[a].BandDb(lo, hi) - spectra[b].BandDb(lo, hi)));
      }
      EXPECT_GE(largest, 3.0) << kFactoryIrWavNames[a] << " vs " << kFactoryIrWavNames[b];
    }
  }
}

TEST(FactoryIrWavsTest, CabinetsKeepTheirCharacter) {
  const std::vector<Spectrum>& spectra = Spectra();
  enum { kTolvane, kBlonde, kTweed, kCali1x12, kCali4x12, kBlue, kBrit, kBoutique4x12 };
  // Low thump against the mids: closed 4x12s well above the open 1x12.
  auto thump = [&](int i) { return spectra[i].BandDb(80, 160) - spectra[i].BandDb(500, 2000); };
  EXPECT_GT(thump(kCali4x12), thump(kCali1x12) + 6.0);
  EXPECT_GT(thump(kBoutique4x12), thump(kCali1x12) + 6.0);
  // The tweed 4x10 is the most mid-forward of the set.
  auto mids = [&](int i) { return spectra[i].BandDb(600, 1200); };
  for (int i = 0; i < 8; ++i) {
    if (i == kTweed) continue;
    EXPECT_GT(mids(kTweed), mids(i)) << kFactoryIrWavNames[i];
  }
}

}  // namespace
}  // namespace qd3
