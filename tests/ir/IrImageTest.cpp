// Building the IR image from the working buffer, reading it back, and packing it.

#include <gtest/gtest.h>

#include <string>

#include "ir/IrImage.h"
#include "protocol/Name32.h"
#include "protocol/TransferBuffer.h"

namespace qd3::test {
namespace {

std::array<uint8_t, kNameSize> Name(std::string_view text) {
  std::array<uint8_t, kNameSize> name{};
  WriteName32(text, name);
  return name;
}

int Sample16(const IrImageBytes& image, std::size_t i) {
  const std::size_t at = kIrFileSamplesOffset + 2 * i;
  return static_cast<int16_t>(static_cast<uint16_t>(image[at] | image[at + 1] << 8));
}

int Gain16(const IrImageBytes& image) {
  return static_cast<int16_t>(static_cast<uint16_t>(image[2] | image[3] << 8));
}

TEST(IrImage, SilenceGetsGainOneAndZeroSamples) {
  const IrImageResult result = MakeIrImage(IrWorkingBuffer{}, Name("Quiet"));
  EXPECT_EQ(result.gain, 1.0);
  EXPECT_EQ(result.image[0], 1);
  EXPECT_EQ(result.image[1], 0);
  EXPECT_EQ(std::string(result.image.begin() + 4, result.image.begin() + 36),
            "Quiet" + std::string(27, ' '));
  for (std::size_t i = 0; i < kIrFileSampleCount; ++i) ASSERT_EQ(Sample16(result.image, i), 0);
}

TEST(IrImage, GainOfOneIsStoredAs32767NotMinusOne) {
  // 32768 does not fit a signed 16-bit field and would read back as -1.0.
  IrWorkingBuffer buffer;
  buffer.samples[0] = 0.5;  // N = 0.5: gain 1.697 capped at 1.0
  const IrImageResult result = MakeIrImage(buffer, Name("Loud"));
  EXPECT_EQ(result.gain, 1.0);
  EXPECT_EQ(Gain16(result.image), 32767);
}

TEST(IrImage, GainNormalisesTheFirst1200SamplesOnly) {
  IrWorkingBuffer buffer;
  for (std::size_t i = 0; i < 4; ++i) buffer.samples[i] = 0.9;  // N = 1.8
  buffer.samples[1200] = 0.9;  // beyond the image: not counted, not stored
  const IrImageResult result = MakeIrImage(buffer, Name("Cab"));
  EXPECT_DOUBLE_EQ(result.gain, 0.4714045207910316);  // 1.2 / (1.8 * sqrt 2)
  EXPECT_EQ(Gain16(result.image), 15446);             // 15446.98 truncated
  EXPECT_EQ(Sample16(result.image, 0), 29491) << "samples are stored without the gain";
}

TEST(IrImage, SamplesTruncateTowardZeroAndSaturateAtFullScale) {
  struct Case {
    double sample;
    int stored;
  };
  const std::vector<Case> cases = {{0.5, 16384},   {-0.5, -16384}, {0.99999, 32767},
                                   {1.0, 32767},   {1.5, 32767},   {-1.0, -32768},
                                   {-2.0, -32768}, {-0.00001, 0},  {0.00002, 0},
                                   {-0.00004, -1}, {1e300, 32767}, {-1e300, -32768}};
  IrWorkingBuffer buffer;
  for (std::size_t i = 0; i < cases.size(); ++i) buffer.samples[i] = cases[i].sample;
  const IrImageResult result = MakeIrImage(buffer, Name("Clip"));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(Sample16(result.image, i), cases[i].stored) << cases[i].sample;
  }
  EXPECT_GE(result.gain, 0.0);
  EXPECT_LE(result.gain, 1.0);
}

TEST(IrImage, ReadsBackGainAndSamplesOfAnExactImageOnly) {
  IrWorkingBuffer source;
  for (std::size_t i = 0; i < kIrFileSampleCount; ++i) source.samples[i] = (i % 7) * 0.1 - 0.3;
  const IrImageResult made = MakeIrImage(source, Name("Back"));

  IrWorkingBuffer target;
  target.samples.fill(0.25);
  EXPECT_FALSE(LoadIrImage(std::span(made.image).first(2435), target));
  EXPECT_EQ(target.samples[0], 0.25);
  EXPECT_EQ(target.gain, 1.0);

  ASSERT_TRUE(LoadIrImage(made.image, target));
  EXPECT_EQ(target.gain, Gain16(made.image) / 32768.0);
  for (std::size_t i = 0; i < kIrFileSampleCount; ++i) {
    ASSERT_NEAR(target.samples[i], source.samples[i], 1.0 / 32768) << i;
  }
  EXPECT_EQ(target.samples[1200], 0.25) << "samples beyond the image stay";
}

TEST(IrImage, NameComesFromTheFileNameWithoutExtension) {
  auto text = [](std::string_view path) {
    const auto name = IrNameFromWavPath(path);
    return std::string(name.begin(), name.end());
  };
  EXPECT_EQ(text("C:\\IRs\\My Cab.wav"), "My Cab" + std::string(26, ' '));
  EXPECT_EQ(text("/home/me/irs/Greenback 4x12.wav"), "Greenback 4x12" + std::string(18, ' '));
  EXPECT_EQ(text("plain.wav"), "plain" + std::string(27, ' '));
  EXPECT_EQ(text("/x/A very long impulse response file name.wav"),
            "A very long impulse response fil");
}

TEST(IrImage, PacksInto2785GroupsStartingWithTheFormatWord) {
  IrWorkingBuffer buffer;
  buffer.samples[0] = 0.7;
  const IrImageResult made = MakeIrImage(buffer, Name("Pack"));
  TransferBuffer transfer;
  ASSERT_EQ(transfer.Pack(made.image), PackStatus::kPacked);
  EXPECT_EQ(transfer.Total(), 2785);
  const auto groups = transfer.Groups();
  EXPECT_EQ(groups[0], 0x00);  // 0000000 1000000: the format word 0x01 0x00
  EXPECT_EQ(groups[1], 0x40);
  EXPECT_EQ(groups.back(), 0x00) << "the padding group";
}

}  // namespace
}  // namespace qd3::test
