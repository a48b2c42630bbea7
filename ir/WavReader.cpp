#include "ir/WavReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace qd3 {
namespace {

constexpr std::string_view kRiffId = "RIFF";
constexpr std::string_view kWaveId = "WAVE";
constexpr std::string_view kFmtId = "fmt ";
constexpr std::string_view kJunkId = "JUNK";
constexpr std::string_view kDataId = "data";

constexpr uint32_t kFmtBaseSize = 16;  // the fmt fields read below
constexpr int kFormatTagPcm = 1;
constexpr int kFormatTagFloat = 3;
constexpr int kFormatTagExtensible = 0xFFFE;
// The extension of an extensible fmt chunk: cbSize, valid bits, channel mask, then the
// 16-byte sub-format GUID, whose first two bytes are a format code and whose other 14
// bytes are the same for every standard code.
constexpr std::size_t kSubFormatOffset = 8;  // from the end of the 16 fmt fields
constexpr std::size_t kGuidSize = 16;
constexpr std::array<uint8_t, 14> kGuidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                               0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr int kUnknownSubFormat = -1;
constexpr int kMaxChannels = 2;
constexpr int kBitsPerByte = 8;
constexpr std::size_t kImageSamples = 1200;
// Larger files are refused before reading: minutes of 32-bit stereo at 192 kHz.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{512} << 20;

// Divisors of the integer decodings. The odd .49999 keeps the largest positive code just
// below 1.0 while the wrap rule ("above 1.0, minus 2.0") turns codes with the top bit set
// into negative values.
constexpr double kUnsigned8Scale = 127.0;
constexpr double kSigned16Scale = 32768.0;
constexpr double kUnsigned24Scale = 8388607.49999;
constexpr double kSigned32Scale = 2147483647.49999;
constexpr double kWrapLimit = 1.0;
constexpr double kWrapSpan = 2.0;

// Reads little-endian fields in sequence; every read fails rather than leave the bytes.
class ByteCursor {
 public:
  explicit ByteCursor(std::span<const uint8_t> bytes) : mBytes(bytes) {}

  std::size_t Position() const { return mPos; }
  std::size_t Remaining() const { return mBytes.size() - mPos; }

  bool Skip(std::size_t count) {
    if (count > Remaining()) return false;
    mPos += count;
    return true;
  }
  std::optional<uint32_t> U32() {
    if (Remaining() < 4) return std::nullopt;
    const uint8_t* p = mBytes.data() + mPos;
    mPos += 4;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
  }
  std::optional<uint16_t> U16() {
    if (Remaining() < 2) return std::nullopt;
    const uint8_t* p = mBytes.data() + mPos;
    mPos += 2;
    return static_cast<uint16_t>(p[0] | p[1] << 8);
  }
  // The next 4 bytes as a chunk id; empty at the end of the file.
  std::optional<std::string_view> Id() {
    if (Remaining() < 4) return std::nullopt;
    const std::string_view id(reinterpret_cast<const char*>(mBytes.data() + mPos), 4);
    mPos += 4;
    return id;
  }
  // Whether the next 4 bytes equal `id`; empty at the end of the file.
  std::optional<bool> WordIs(std::string_view id) {
    const auto word = Id();
    if (!word) return std::nullopt;
    return *word == id;
  }
  // Reads 4-byte words until one equals `id`; false when the file ends first.
  bool ScanFor(std::string_view id) {
    for (;;) {
      const auto same = WordIs(id);
      if (!same) return false;
      if (*same) return true;
    }
  }

 private:
  std::span<const uint8_t> mBytes;
  std::size_t mPos = 0;
};

struct Format {
  int formatTag = 0;
  int channels = 0;
  int sampleRate = 0;
  int blockAlign = 0;
  int bits = 0;
};

WavReadResult Failure(WavStatus status, const WavSummary& summary, int bits = 0) {
  return {status, WavStatusText(status, bits), summary};
}

// The format code of an extensible fmt chunk's sub-format GUID (the bytes after the 16
// fmt fields); kUnknownSubFormat when the GUID is not of the standard form.
int SubFormatCode(std::span<const uint8_t> extension) {
  const auto guid = extension.subspan(kSubFormatOffset, kGuidSize);
  if (!std::equal(kGuidTail.begin(), kGuidTail.end(), guid.begin() + 2)) {
    return kUnknownSubFormat;
  }
  return guid[0] | guid[1] << 8;
}

// Decodes one sample of `bits` bits at `p`; 32-bit samples are IEEE float when `isFloat`.
double DecodeSample(const uint8_t* p, int bits, bool isFloat) {
  switch (bits) {
    case 8:
      return p[0] / kUnsigned8Scale - 1.0;
    case 16: {
      const auto v = static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
      return v / kSigned16Scale;
    }
    case 24: {
      const uint32_t v = p[0] | p[1] << 8 | static_cast<uint32_t>(p[2]) << 16;
      const double s = v / kUnsigned24Scale;
      return s > kWrapLimit ? s - kWrapSpan : s;
    }
    default: {
      const uint32_t u =
          p[0] | p[1] << 8 | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
      if (!isFloat) {
        const auto v = static_cast<int32_t>(u);
        const double s = v / kSigned32Scale;
        return s > kWrapLimit ? s - kWrapSpan : s;
      }
      float f = 0.0F;
      std::memcpy(&f, &u, sizeof f);
      // NaN and infinities would poison the gain; they carry no sound anyway.
      return std::isfinite(f) ? static_cast<double>(f) : 0.0;
    }
  }
}

}  // namespace

std::string WavStatusText(WavStatus status, int bits) {
  switch (status) {
    case WavStatus::kOk:
      return {};
    case WavStatus::kNotRiffWave:
      return "not a RIFF/WAVE file";
    case WavStatus::kNoFmtChunk:
      return "no fmt chunk";
    case WavStatus::kTruncatedFmt:
      return "the file ends inside the fmt chunk";
    case WavStatus::kNoDataChunk:
      return "no data chunk";
    case WavStatus::kDataBeyondEnd:
      return "data size beyond the end of the file";
    case WavStatus::kBlockAlignZero:
      return "block align of 0";
    case WavStatus::kBlockAlignShort:
      return "block align smaller than one frame";
    case WavStatus::kNoChannels:
      return "no channels";
    case WavStatus::kTooManyChannels:
      return "more than two channels";
    case WavStatus::kUnsupportedWidth:
      return "unsupported sample width " + std::to_string(bits) + " bits";
    case WavStatus::kBadSampleRate:
      return "sample rate of 0";
    case WavStatus::kCannotOpen:
      return "file could not be opened";
    case WavStatus::kTooLarge:
      return "file too large";
    case WavStatus::kNoSubFormat:
      return "extensible format without its sub-format";
    case WavStatus::kUnsupportedSubFormat: {
      if (bits == kUnknownSubFormat) return "unsupported sub-format of the extensible format";
      char code[8];
      std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(bits) & 0xFFFFU);
      return std::string("unsupported sub-format ") + code + " of the extensible format";
    }
    case WavStatus::kUnsupportedFloatWidth:
      return "unsupported float sample width " + std::to_string(bits) + " bits";
    case WavStatus::kNoSamples:
      return "no samples";
  }
  return {};
}

WavReadResult ReadWav(std::span<const uint8_t> bytes, IrWorkingBuffer& buffer) {
  WavSummary summary;
  ByteCursor in(bytes);

  // RIFF size WAVE.
  if (in.WordIs(kRiffId) != true || !in.U32() || in.WordIs(kWaveId) != true) {
    return Failure(WavStatus::kNotRiffWave, summary);
  }
  // "fmt " at once, or after a JUNK chunk passed over by a word scan.
  const auto first = in.Id();
  if (!first) return Failure(WavStatus::kNoFmtChunk, summary);
  if (*first != kFmtId && !(*first == kJunkId && in.ScanFor(kFmtId))) {
    return Failure(WavStatus::kNoFmtChunk, summary);
  }

  const auto fmtSize = in.U32();
  const auto tag = in.U16();
  const auto channels = in.U16();
  const auto rate = in.U32();
  const auto byteRate = in.U32();
  const auto blockAlign = in.U16();
  const auto bits = in.U16();
  if (!bits) return Failure(WavStatus::kTruncatedFmt, summary);
  (void)byteRate;  // not needed: frames follow from the block align
  const std::size_t extensionSize = *fmtSize > kFmtBaseSize ? *fmtSize - kFmtBaseSize : 0;
  const std::span<const uint8_t> extension =
      bytes.subspan(in.Position(), std::min(extensionSize, in.Remaining()));
  if (!in.Skip(extensionSize)) return Failure(WavStatus::kTruncatedFmt, summary);
  const Format format{*tag, *channels, static_cast<int>(std::min<uint32_t>(*rate, INT32_MAX)),
                      *blockAlign, *bits};
  summary.formatTag = format.formatTag;
  summary.bitsPerSample = format.bits;
  summary.sampleRate = format.sampleRate;
  summary.channels = format.channels;
  if (format.formatTag == kFormatTagExtensible) {
    if (extension.size() < kSubFormatOffset + kGuidSize) {
      return Failure(WavStatus::kNoSubFormat, summary);
    }
    const int code = SubFormatCode(extension);
    if (code == kFormatTagFloat) {
      summary.isFloat = true;
      if (format.bits != 32)
        return Failure(WavStatus::kUnsupportedFloatWidth, summary, format.bits);
    } else if (code != kFormatTagPcm) {
      return Failure(WavStatus::kUnsupportedSubFormat, summary, code);
    }
  } else {
    summary.isFloat = format.bits == 32 && format.formatTag != kFormatTagPcm;
  }

  if (!in.ScanFor(kDataId)) return Failure(WavStatus::kNoDataChunk, summary);
  const auto dataSize = in.U32();
  if (!dataSize) return Failure(WavStatus::kNoDataChunk, summary);
  if (*dataSize > in.Remaining()) return Failure(WavStatus::kDataBeyondEnd, summary);

  if (format.bits != 8 && format.bits != 16 && format.bits != 24 && format.bits != 32) {
    return Failure(WavStatus::kUnsupportedWidth, summary, format.bits);
  }
  if (format.channels == 0) return Failure(WavStatus::kNoChannels, summary);
  if (format.channels > kMaxChannels) return Failure(WavStatus::kTooManyChannels, summary);
  if (format.blockAlign == 0) return Failure(WavStatus::kBlockAlignZero, summary);
  const int width = format.bits / kBitsPerByte;
  const int frameBytes = width * format.channels;
  // Samples are read interleaved, one after the other; a shorter block align would let
  // them run past the data.
  if (format.blockAlign < frameBytes) return Failure(WavStatus::kBlockAlignShort, summary);
  if (format.sampleRate == 0) return Failure(WavStatus::kBadSampleRate, summary);

  const int64_t frames = *dataSize / static_cast<uint32_t>(format.blockAlign);
  if (frames == 0) return Failure(WavStatus::kNoSamples, summary);
  const double ratio = format.sampleRate / kDeviceIrSampleRate;
  const bool same = ratio == 1.0;
  const int64_t length =
      same ? frames : static_cast<int64_t>(std::floor(static_cast<double>(frames) / ratio));
  summary.frames = frames;
  summary.resampledLength = length;
  summary.keptSamples = static_cast<int>(std::min<int64_t>(length, kImageSamples));
  summary.keptShare = length > 0 ? summary.keptSamples / static_cast<double>(length) : 0.0;
  // A few frames at a high rate may resample to nothing: as silent as an empty file.
  if (length == 0) return Failure(WavStatus::kNoSamples, summary);

  // Only the first channel is kept, so only its samples are decoded.
  const uint8_t* data = bytes.data() + in.Position();
  const auto firstChannel = [&](int64_t frame) {
    const int64_t f = std::clamp<int64_t>(frame, 0, frames - 1);
    return DecodeSample(data + f * frameBytes, format.bits, summary.isFloat);
  };

  std::array<double, kIrWorkingSamples> out{};
  const auto count = static_cast<std::size_t>(std::min<int64_t>(length, kIrWorkingSamples));
  if (same) {
    for (std::size_t j = 0; j < count; ++j) out[j] = firstChannel(static_cast<int64_t>(j));
  } else {
    // The read position is accumulated, not multiplied, so that rounding runs as it
    // always has. Past the last frame the last frame stands in for its neighbour.
    double position = 0.0;
    for (std::size_t j = 0; j < count; ++j) {
      const auto k = static_cast<int64_t>(std::floor(position));
      const double a = firstChannel(k);
      const double b = k + 1 < frames ? firstChannel(k + 1) : a;
      out[j] = a + (b - a) * (position - static_cast<double>(k));
      position += ratio;
    }
  }
  buffer.samples = out;
  return {WavStatus::kOk, {}, summary};
}

WavReadResult ReadWav(const std::filesystem::path& path, IrWorkingBuffer& buffer) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return {WavStatus::kCannotOpen, WavStatusText(WavStatus::kCannotOpen), {}};
  if (size > kMaxFileBytes) return {WavStatus::kTooLarge, WavStatusText(WavStatus::kTooLarge), {}};
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  if (!file || !file.read(reinterpret_cast<char*>(bytes.data()),
                          static_cast<std::streamsize>(bytes.size()))) {
    return {WavStatus::kCannotOpen, WavStatusText(WavStatus::kCannotOpen), {}};
  }
  return ReadWav(std::span<const uint8_t>(bytes), buffer);
}

}  // namespace qd3
