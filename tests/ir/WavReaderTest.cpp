// Reading WAV files into the working IR: layouts, every sample width, resampling, and
// bad files that must leave the buffer alone.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ir/WavReader.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WavBytes.h"

namespace qd3::test {
namespace {

constexpr double kSentinel = 0.123;
constexpr double kSentinelGain = 0.7;

IrWorkingBuffer Sentinel() {
  IrWorkingBuffer buffer;
  buffer.samples.fill(kSentinel);
  buffer.gain = kSentinelGain;
  return buffer;
}

TEST(WavReader, Mono16BitAt44100IsCopiedAndTheRestZeroed) {
  std::vector<int> values(2000);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int>(i * 13) - 9000;
  IrWorkingBuffer buffer = Sentinel();
  const WavReadResult result = ReadWav(MakeWav({}, Pcm16(values)), buffer);
  ASSERT_TRUE(result.Ok()) << result.reason;
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(buffer.samples[i], values[i] / 32768.0);
  for (std::size_t i = values.size(); i < kIrWorkingSamples; ++i) EXPECT_EQ(buffer.samples[i], 0.0);
  EXPECT_EQ(buffer.gain, kSentinelGain) << "reading a WAV never changes the gain";
  EXPECT_EQ(result.summary.frames, 2000);
  EXPECT_EQ(result.summary.resampledLength, 2000);
  EXPECT_EQ(result.summary.keptSamples, 1200);
  EXPECT_DOUBLE_EQ(result.summary.keptShare, 0.6);
}

struct DecodeCase {
  const char* what;
  int tag;
  int bits;
  Bytes sample;  // one mono sample
  double expected;
  double tolerance;
  Bytes fmtExtra = {};
};

constexpr int kExtensible = 0xFFFE;
const Bytes kPcmSubFormat16 = ExtensibleFmt(1, 16);

TEST(WavReader, DecodesEveryWidthByItsRule) {
  const std::vector<DecodeCase> cases = {
      {"8-bit 127", 1, 8, {127}, 0.0, 0.0},
      {"8-bit 0", 1, 8, {0}, -1.0, 0.0},
      {"8-bit 254", 1, 8, {254}, 1.0, 0.0},
      {"16-bit -32768", 1, 16, {0x00, 0x80}, -1.0, 0.0},
      {"16-bit 16384", 1, 16, {0x00, 0x40}, 0.5, 0.0},
      {"24-bit FFFFFF", 1, 24, {0xFF, 0xFF, 0xFF}, 0.0, 1e-6},
      {"24-bit 800000", 1, 24, {0x00, 0x00, 0x80}, -1.0, 1e-6},
      {"24-bit 7FFFFF", 1, 24, {0xFF, 0xFF, 0x7F}, 1.0 - 6e-8, 6e-8},
      {"32-bit int min", 1, 32, {0, 0, 0, 0x80}, -1.0, 1e-9},
      {"32-bit int max", 1, 32, {0xFF, 0xFF, 0xFF, 0x7F}, 1.0, 1e-9},
      {"32-bit float", 3, 32, Float32({0.25F}), 0.25, 0.0},
      {"32-bit float, tag 0xFFFE", kExtensible, 32, Float32({-0.75F}), -0.75, 0.0,
       ExtensibleFmt(3, 32)},
      // Integer PCM in the extensible format is integer at every width, 32 bits included.
      {"8-bit 0, tag 0xFFFE PCM", kExtensible, 8, {0}, -1.0, 0.0, ExtensibleFmt(1, 8)},
      {"16-bit 16384, tag 0xFFFE PCM", kExtensible, 16, {0x00, 0x40}, 0.5, 0.0, kPcmSubFormat16},
      {"24-bit 800000, tag 0xFFFE PCM",
       kExtensible,
       24,
       {0x00, 0x00, 0x80},
       -1.0,
       1e-6,
       ExtensibleFmt(1, 24)},
      {"32-bit int max, tag 0xFFFE PCM",
       kExtensible,
       32,
       {0xFF, 0xFF, 0xFF, 0x7F},
       1.0,
       1e-9,
       ExtensibleFmt(1, 32)},
      {"32-bit 0x20000000, tag 0xFFFE PCM",
       kExtensible,
       32,
       {0, 0, 0, 0x20},
       0.25,
       1e-9,
       ExtensibleFmt(1, 32)},
      {"24 valid bits in 32, tag 0xFFFE PCM",
       kExtensible,
       32,
       {0, 0, 0, 0xC0},
       -0.5,
       1e-9,
       ExtensibleFmt(1, 24)},
      {"32-bit float NaN", 3, 32, Float32({std::numeric_limits<float>::quiet_NaN()}), 0.0, 0.0},
  };
  for (const DecodeCase& c : cases) {
    WavLayout layout;
    layout.formatTag = c.tag;
    layout.bits = c.bits;
    layout.fmtExtra = c.fmtExtra;
    IrWorkingBuffer buffer = Sentinel();
    const WavReadResult result = ReadWav(MakeWav(layout, c.sample), buffer);
    ASSERT_TRUE(result.Ok()) << c.what << ": " << result.reason;
    EXPECT_NEAR(buffer.samples[0], c.expected, c.tolerance) << c.what;
    EXPECT_LT(buffer.samples[0], 1.0 + 1e-12) << c.what;
    EXPECT_EQ(buffer.samples[1], 0.0) << c.what;
    EXPECT_EQ(result.summary.isFloat, c.tag == 3 || (c.tag == kExtensible && c.fmtExtra.at(8) == 3))
        << c.what;
  }
  IrWorkingBuffer buffer;
  WavLayout max24;
  max24.bits = 24;
  ReadWav(MakeWav(max24, {0xFF, 0xFF, 0x7F}), buffer);
  EXPECT_LT(buffer.samples[0], 1.0) << "0x7FFFFF stays just below full scale";
}

TEST(WavReader, JunkListAndLongFmtLayoutsAreFound) {
  const Bytes samples = Pcm16({1000, -2000, 3000});
  WavLayout junk;
  junk.junk = Bytes(28, 0);
  WavLayout list;
  list.between = {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 4, 0, 0, 0, 'a', 'b', 'c', 0};
  WavLayout extended;
  extended.fmtExtra = {0, 0};  // fmt size 18, cbSize 0
  for (const WavLayout& layout : {junk, list, extended}) {
    IrWorkingBuffer buffer;
    const WavReadResult result = ReadWav(MakeWav(layout, samples), buffer);
    ASSERT_TRUE(result.Ok()) << result.reason;
    EXPECT_EQ(buffer.samples[0], 1000 / 32768.0);
    EXPECT_EQ(buffer.samples[2], 3000 / 32768.0);
  }
}

TEST(WavReader, StereoKeepsTheFirstChannel) {
  WavLayout layout;
  layout.channels = 2;
  IrWorkingBuffer buffer;
  ASSERT_TRUE(ReadWav(MakeWav(layout, Pcm16({100, -7, 200, -7, 300, -7})), buffer).Ok());
  EXPECT_EQ(buffer.samples[0], 100 / 32768.0);
  EXPECT_EQ(buffer.samples[1], 200 / 32768.0);
  EXPECT_EQ(buffer.samples[2], 300 / 32768.0);
  EXPECT_EQ(buffer.samples[3], 0.0);
}

TEST(WavReader, Resampling48kHzKeeps5142OfItsFrames) {
  std::vector<int> ramp(5597);
  for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int>(i);
  WavLayout layout;
  layout.sampleRate = 48000;
  IrWorkingBuffer buffer;
  const WavReadResult result = ReadWav(MakeWav(layout, Pcm16(ramp)), buffer);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.summary.resampledLength, 5142);
  // A ramp interpolates to the read position itself: out[j] = p_j / 32768 with p
  // accumulated in steps of 48000 / 44100.
  double position = 0.0;
  for (std::size_t j = 0; j < kIrWorkingSamples; ++j) {
    ASSERT_NEAR(buffer.samples[j] * 32768.0, position, 1e-9) << j;
    position += 48000 / 44100.0;
  }
}

TEST(WavReader, InterpolationPastTheLastFrameUsesTheLastFrame) {
  WavLayout layout;
  layout.sampleRate = 22050;  // r = 0.5: every input frame gives two outputs
  IrWorkingBuffer buffer;
  const WavReadResult result = ReadWav(MakeWav(layout, Pcm16({16384, -16384, 8192})), buffer);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.summary.resampledLength, 6);
  const std::vector<double> expected = {0.5, 0.0, -0.5, -0.125, 0.25, 0.25, 0.0};
  for (std::size_t j = 0; j < expected.size(); ++j)
    EXPECT_DOUBLE_EQ(buffer.samples[j], expected[j]);
}

TEST(WavReader, SummaryOfAStereoSecondAt48kHz) {
  WavLayout layout;
  layout.channels = 2;
  layout.sampleRate = 48000;
  IrWorkingBuffer buffer;
  const WavReadResult result = ReadWav(MakeWav(layout, Bytes(48000 * 4, 0)), buffer);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.summary.frames, 48000);
  // floor(48000 / (48000 / 44100.0)): the ratio's rounding lands just below 44100.
  EXPECT_EQ(result.summary.resampledLength, 44099);
  EXPECT_EQ(result.summary.keptSamples, 1200);
  EXPECT_DOUBLE_EQ(result.summary.keptShare, 1200 / 44099.0);
  EXPECT_EQ(result.summary.channels, 2);
  EXPECT_FALSE(result.summary.isFloat);
}

struct BadCase {
  const char* what;
  Bytes bytes;
  WavStatus status;
  const char* reason;
};

Bytes Cut(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

Bytes Replace(Bytes bytes, std::size_t at, std::string_view with) {
  for (std::size_t i = 0; i < with.size(); ++i) bytes[at + i] = static_cast<uint8_t>(with[i]);
  return bytes;
}

TEST(WavReader, EveryBadFileLeavesBufferAndGainUntouched) {
  const Bytes good = MakeWav({}, Pcm16({1000, 2000}));
  auto with = [](auto change) {
    WavLayout layout;
    change(layout);
    return MakeWav(layout, Pcm16({1000, 2000, 3000, 4000, 5000, 6000}));
  };
  WavLayout stereo;
  stereo.channels = 2;
  WavLayout at96kHz;
  at96kHz.sampleRate = 96000;
  const std::vector<BadCase> cases = {
      {"empty file", {}, WavStatus::kNotRiffWave, "not a RIFF/WAVE file"},
      {"RIFX", Replace(good, 0, "RIFX"), WavStatus::kNotRiffWave, "not a RIFF/WAVE file"},
      {"AVI", Replace(good, 8, "AVI "), WavStatus::kNotRiffWave, "not a RIFF/WAVE file"},
      {"LIST first", Replace(good, 12, "LIST"), WavStatus::kNoFmtChunk, "no fmt chunk"},
      {"JUNK without fmt", Replace(with([](WavLayout& w) { w.junk = Bytes(8, 0); }), 28, "fmX "),
       WavStatus::kNoFmtChunk, "no fmt chunk"},
      {"fmt cut short", Cut(good, 30), WavStatus::kTruncatedFmt,
       "the file ends inside the fmt chunk"},
      {"no data", Replace(good, 36, "dat!"), WavStatus::kNoDataChunk, "no data chunk"},
      {"data size too big", with([](WavLayout& w) { w.dataSize = 13; }), WavStatus::kDataBeyondEnd,
       "data size beyond the end of the file"},
      {"block align 0", with([](WavLayout& w) { w.blockAlign = 0; }), WavStatus::kBlockAlignZero,
       "block align of 0"},
      {"block align short", with([](WavLayout& w) { w.blockAlign = 1; }),
       WavStatus::kBlockAlignShort, "block align smaller than one frame"},
      {"three channels", with([](WavLayout& w) { w.channels = 3; }), WavStatus::kTooManyChannels,
       "more than two channels"},
      {"no channels", with([](WavLayout& w) { w.channels = 0; }), WavStatus::kNoChannels,
       "no channels"},
      {"12 bits", with([](WavLayout& w) { w.bits = 12; }), WavStatus::kUnsupportedWidth,
       "unsupported sample width 12 bits"},
      {"0 Hz", with([](WavLayout& w) { w.sampleRate = 0; }), WavStatus::kBadSampleRate,
       "sample rate of 0"},
      {"no data bytes", MakeWav({}, {}), WavStatus::kNoSamples, "no samples"},
      {"data size 0 with bytes after it", with([](WavLayout& w) { w.dataSize = 0; }),
       WavStatus::kNoSamples, "no samples"},
      {"less than one stereo frame", MakeWav(stereo, {0x10, 0x20}), WavStatus::kNoSamples,
       "no samples"},
      {"one frame at 96 kHz resamples to nothing", MakeWav(at96kHz, Pcm16({1000})),
       WavStatus::kNoSamples, "no samples"},
      {"extensible without its sub-format", with([](WavLayout& w) { w.formatTag = kExtensible; }),
       WavStatus::kNoSubFormat, "extensible format without its sub-format"},
      {"extensible cut inside the GUID", with([](WavLayout& w) {
         w.formatTag = kExtensible;
         w.fmtExtra = Bytes(kPcmSubFormat16.begin(), kPcmSubFormat16.end() - 1);
       }),
       WavStatus::kNoSubFormat, "extensible format without its sub-format"},
      {"extensible A-law", with([](WavLayout& w) {
         w.formatTag = kExtensible;
         w.fmtExtra = ExtensibleFmt(6, 16);
       }),
       WavStatus::kUnsupportedSubFormat, "unsupported sub-format 0x0006 of the extensible format"},
      {"extensible with a vendor GUID", with([](WavLayout& w) {
         w.formatTag = kExtensible;
         w.fmtExtra = ExtensibleFmt(1, 16, Bytes(14, 0x5A));
       }),
       WavStatus::kUnsupportedSubFormat, "unsupported sub-format of the extensible format"},
      {"extensible float of 16 bits", with([](WavLayout& w) {
         w.formatTag = kExtensible;
         w.fmtExtra = ExtensibleFmt(3, 16);
       }),
       WavStatus::kUnsupportedFloatWidth, "unsupported float sample width 16 bits"},
  };
  for (const BadCase& c : cases) {
    IrWorkingBuffer buffer = Sentinel();
    const WavReadResult result = ReadWav(c.bytes, buffer);
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_EQ(result.reason, c.reason) << c.what;
    EXPECT_EQ(buffer.gain, kSentinelGain) << c.what;
    for (const double s : buffer.samples) ASSERT_EQ(s, kSentinel) << c.what;
  }
}

TEST(WavReader, EveryTruncationOfAGoodFileIsRefusedWithoutReadingPastIt) {
  // Under the address sanitizer a read past the copy's end fails the test.
  WavLayout layout;
  layout.junk = Bytes(12, 0);
  layout.between = Bytes(8, 'x');
  const Bytes good = MakeWav(layout, Pcm16({1, 2, 3, 4}));
  for (std::size_t size = 0; size < good.size(); ++size) {
    const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    IrWorkingBuffer buffer = Sentinel();
    EXPECT_FALSE(ReadWav(cut, buffer).Ok()) << size;
    EXPECT_EQ(buffer.samples[0], kSentinel) << size;
  }
}

TEST(WavReader, FilesAreReadFromDisk) {
  TempFolder folder;
  const auto path = folder.Path() / "cab.wav";
  WriteBytes(path, MakeWav({}, Pcm16({8192})));
  IrWorkingBuffer buffer = Sentinel();
  ASSERT_TRUE(ReadWav(path, buffer).Ok());
  EXPECT_EQ(buffer.samples[0], 0.25);

  IrWorkingBuffer untouched = Sentinel();
  const WavReadResult missing = ReadWav(folder.Path() / "none.wav", untouched);
  EXPECT_EQ(missing.status, WavStatus::kCannotOpen);
  EXPECT_EQ(missing.reason, "file could not be opened");
  EXPECT_EQ(ReadWav(folder.Path(), untouched).status, WavStatus::kCannotOpen) << "a folder";
  EXPECT_EQ(untouched.samples[0], kSentinel);
}

}  // namespace
}  // namespace qd3::test
