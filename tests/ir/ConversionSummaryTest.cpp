// The text shown after a WAV was loaded.

#include <gtest/gtest.h>

#include "ir/ConversionSummary.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

TEST(ConversionSummary, StereoAt48kHzSaysWhatWasKept) {
  WavLayout layout;
  layout.channels = 2;
  layout.sampleRate = 48000;
  IrWorkingBuffer buffer;
  const WavReadResult read = ReadWav(MakeWav(layout, Bytes(48000 * 4, 0)), buffer);
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(ConversionSummaryText(read.summary, 0.84852),
            "16-bit PCM, 48000 Hz, stereo, 48000 frames (1.000 s)\n"
            "kept: first channel, resampled to 44.1 kHz, first 1200 samples = 27.2 ms "
            "(2.7 % of the file)\n"
            "gain 0.8485");
}

TEST(ConversionSummary, ShortMonoFloatAtTheDeviceRateIsKeptWhole) {
  WavLayout layout;
  layout.formatTag = 3;
  layout.bits = 32;
  IrWorkingBuffer buffer;
  const WavReadResult read =
      ReadWav(MakeWav(layout, Float32(std::vector<float>(441, 0.1F))), buffer);
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(ConversionSummaryText(read.summary, 1.0),
            "32-bit float, 44100 Hz, mono, 441 frames (0.010 s)\n"
            "kept: the channel, at 44.1 kHz, first 441 samples = 10.0 ms (100.0 % of the file)\n"
            "gain 1.0000");
}

// Regression: integer samples of 32 bits in the extensible format were read as float,
// which gave a gain of 0.0000 and saturated samples.
TEST(ConversionSummary, ExtensibleIntegerPcmOf32BitsIsPcm) {
  WavLayout layout;
  layout.formatTag = 0xFFFE;
  layout.bits = 32;
  layout.fmtExtra = ExtensibleFmt(1, 32);
  Bytes samples;
  for (int i = 0; i < 441; ++i) Le(samples, 0x10000000U, 4);  // 0.125 of full scale
  IrWorkingBuffer buffer;
  const WavReadResult read = ReadWav(MakeWav(layout, samples), buffer);
  ASSERT_TRUE(read.Ok()) << read.reason;
  EXPECT_NEAR(buffer.samples[440], 0.125, 1e-9);
  EXPECT_EQ(ConversionSummaryText(read.summary, 1.0).substr(0, 35),
            "32-bit PCM, 44100 Hz, mono, 441 fra");
}

}  // namespace
}  // namespace qd3::test
