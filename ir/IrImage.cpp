#include "ir/IrImage.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "protocol/Name32.h"

namespace qd3 {
namespace {

constexpr int kImageFormatWord = 1;
constexpr double kQ15Scale = 32768.0;
constexpr double kGainHeadroom = 1.2;
constexpr double kMaxGain = 1.0;
constexpr std::size_t kExtensionLength = 4;  // ".wav"

// sample * 32768 truncated toward zero, held inside the signed 16-bit range.
int16_t ToQ15(double value) {
  const double scaled = std::trunc(value * kQ15Scale);
  if (!(scaled == scaled)) return 0;  // NaN
  return static_cast<int16_t>(std::clamp(scaled, double{std::numeric_limits<int16_t>::min()},
                                         double{std::numeric_limits<int16_t>::max()}));
}

void Put16(IrImageBytes& image, std::size_t offset, int16_t value) {
  const auto u = static_cast<uint16_t>(value);
  image[offset] = static_cast<uint8_t>(u & 0xFF);
  image[offset + 1] = static_cast<uint8_t>(u >> 8);
}

int16_t Get16(std::span<const uint8_t> image, std::size_t offset) {
  return static_cast<int16_t>(static_cast<uint16_t>(image[offset] | image[offset + 1] << 8));
}

}  // namespace

IrImageResult MakeIrImage(const IrWorkingBuffer& buffer, std::span<const uint8_t, kNameSize> name) {
  IrImageResult result;
  double energy = 0.0;
  for (std::size_t i = 0; i < kIrFileSampleCount; ++i)
    energy += buffer.samples[i] * buffer.samples[i];
  const double norm = std::sqrt(energy);
  // N = 0 divides to infinity and is capped like any other quiet IR.
  double gain = 1.0 / (norm * std::sqrt(2.0)) * kGainHeadroom;
  if (!(gain <= kMaxGain)) gain = kMaxGain;
  result.gain = gain;

  IrImageBytes& image = result.image;
  Put16(image, kIrFileFormatOffset, kImageFormatWord);
  Put16(image, kIrFileGainOffset, ToQ15(gain));
  std::copy(name.begin(), name.end(), image.begin() + kIrFileNameOffset);
  for (std::size_t i = 0; i < kIrFileSampleCount; ++i) {
    Put16(image, kIrFileSamplesOffset + i * kIrFileSampleWidth, ToQ15(buffer.samples[i]));
  }
  return result;
}

std::array<uint8_t, kNameSize> IrNameFromWavPath(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  file.remove_suffix(std::min(file.size(), kExtensionLength));
  std::array<uint8_t, kNameSize> name{};
  WriteName32(file, name);
  return name;
}

bool LoadIrImage(std::span<const uint8_t> image, IrWorkingBuffer& buffer) {
  if (image.size() != kIrFileSize) return false;
  buffer.gain = Get16(image, kIrFileGainOffset) / kQ15Scale;
  for (std::size_t i = 0; i < kIrFileSampleCount; ++i) {
    buffer.samples[i] = Get16(image, kIrFileSamplesOffset + i * kIrFileSampleWidth) / kQ15Scale;
  }
  return true;
}

}  // namespace qd3
