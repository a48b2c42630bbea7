// ShowIr against cache folders built by hand: the flat position, single positions, the
// crossfade between neighbours, user IRs and the factory WAV fallback.

#include <gtest/gtest.h>

#include "ir/IrDisplay.h"
#include "ir/IrImage.h"
#include "ir/IrNumbers.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

constexpr double kQ15 = 1.0 / 32768;

// An image whose 1200 samples are all `level`, stored with Q15 gain `gain16`.
IrImageBytes LevelImage(double level, int gain16) {
  IrWorkingBuffer buffer;
  std::fill(buffer.samples.begin(), buffer.samples.begin() + 1200, level);
  const std::array<uint8_t, kNameSize> name{};
  IrImageBytes image = MakeIrImage(buffer, name).image;
  image[2] = static_cast<uint8_t>(gain16 & 0xFF);
  image[3] = static_cast<uint8_t>(gain16 >> 8);
  return image;
}

class ShowIrTest : public ::testing::Test {
 protected:
  ShowIrTest() {
    // Factory position k holds k / 10 everywhere, gain 1000 * k.
    for (int k = 1; k <= 8; ++k) {
      EXPECT_TRUE(
          Succeeded(mCache.WriteIrImage(CabinetIrOfPosition(k), LevelImage(k / 10.0, 1000 * k))));
    }
    mBuffer.samples.fill(0.3);  // whatever was there before
  }

  IrWorkingBuffer Show(IrDisplaySelection selection) {
    ShowIr(selection, mSource, mBuffer);
    return mBuffer;
  }

  TempFolder mFolder;
  PresetCache mCache{mFolder.Path()};
  CachedIrPositionSource mSource{mCache};
  IrWorkingBuffer mBuffer;
};

double Stored(double level) {
  return static_cast<int>(level * 32768) * kQ15;
}

TEST_F(ShowIrTest, ZeroIsTheFlatResponse) {
  const IrWorkingBuffer shown = Show({.irValue = 0});
  EXPECT_EQ(shown.samples[0], 1.0);
  for (std::size_t i = 1; i < kIrWorkingSamples; ++i) ASSERT_EQ(shown.samples[i], 0.0) << i;
}

TEST_F(ShowIrTest, EightIsHalfFlatHalfPositionOne) {
  // p = floor(5.039) = 5, e = 0.5
  const IrWorkingBuffer shown = Show({.irValue = 8});
  EXPECT_NEAR(shown.samples[0], 0.5 + 0.5 * Stored(0.1), 1e-12);
  EXPECT_NEAR(shown.samples[1], 0.5 * Stored(0.1), 1e-12);
  EXPECT_NEAR(shown.samples[1199], 0.5 * Stored(0.1), 1e-12);
  EXPECT_EQ(shown.samples[1200], 0.0) << "beyond the image the unit impulse's zeros stay";
  EXPECT_EQ(shown.gain, 1000 * kQ15);
}

TEST_F(ShowIrTest, SeventyOneBlendsPositionsFourAndFive) {
  // p = floor(44.72) = 44, e = 4.4: 0.6 x position 4 + 0.4 x position 5.
  const IrWorkingBuffer shown = Show({.irValue = 71});
  const float e = 4.4F;
  const double expected = (5.0F - e) * Stored(0.4) + (e - 4.0F) * Stored(0.5);
  EXPECT_DOUBLE_EQ(shown.samples[0], expected);
  EXPECT_DOUBLE_EQ(shown.samples[600], expected);
  EXPECT_NEAR(shown.samples[0], 0.6 * 0.4 + 0.4 * 0.5, 1e-4);
  EXPECT_EQ(shown.samples[2000], 0.0);
  EXPECT_EQ(shown.gain, 5000 * kQ15) << "the gain of the position loaded last";
}

TEST_F(ShowIrTest, OneTwentySevenIsPositionEightAlone) {
  const IrWorkingBuffer shown = Show({.irValue = 127});
  EXPECT_EQ(shown.samples[0], Stored(0.8));
  EXPECT_EQ(shown.samples[1199], Stored(0.8));
  EXPECT_EQ(shown.samples[1200], 0.0);
  EXPECT_EQ(shown.gain, 8000 * kQ15);
}

TEST_F(ShowIrTest, UserPositionsUseTheirCachedIrOrKeepTheBuffer) {
  ASSERT_TRUE(Succeeded(mCache.WriteIrImage(133, LevelImage(-0.25, 2000))));
  IrWorkingBuffer shown = Show({.irValue = 127, .positionBUser = true, .userIrB = 133});
  EXPECT_EQ(shown.samples[0], -0.25);
  EXPECT_EQ(shown.gain, 2000 * kQ15);

  // Not cached: the unit impulse set before the load stays.
  shown = Show({.irValue = 127, .positionBUser = true, .userIrB = 134});
  EXPECT_EQ(shown.samples[0], 1.0);
  EXPECT_EQ(shown.samples[1], 0.0);

  // Position 7's mode does not change position 8.
  shown = Show({.irValue = 127, .positionAUser = true, .userIrA = 133});
  EXPECT_EQ(shown.samples[0], Stored(0.8));
}

TEST_F(ShowIrTest, MissingFactoryCacheFileFallsBackToTheWav) {
  std::filesystem::remove(*mCache.IrFilePath(CabinetIrOfPosition(2)));
  WavLayout layout;
  std::vector<int> values(3000, 4096);  // 0.125, longer than the image
  WriteBytes(mCache.FactoryIrWavPath(1), MakeWav(layout, Pcm16(values)));
  const IrWorkingBuffer shown = Show({.irValue = 32});  // e = 2.0
  EXPECT_EQ(shown.samples[0], 0.125);
  EXPECT_EQ(shown.samples[2999], 0.125) << "the WAV fills the whole buffer";
  EXPECT_EQ(shown.samples[3000], 0.0);
  EXPECT_EQ(shown.gain, 1.0) << "reading a WAV leaves the gain as it was";
}

}  // namespace
}  // namespace qd3::test
