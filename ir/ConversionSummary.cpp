#include "ir/ConversionSummary.h"

#include <cstdio>

namespace qd3 {
namespace {

constexpr double kMillisecondsPerSecond = 1000.0;
constexpr double kPercent = 100.0;
constexpr int kLineSize = 160;

std::string Format(const char* format, auto... values) {
  char line[kLineSize];
  std::snprintf(line, sizeof line, format, values...);
  return line;
}

std::string SourceFormat(const WavSummary& s) {
  return Format("%d-bit %s", s.bitsPerSample, s.isFloat ? "float" : "PCM");
}

const char* ChannelText(int channels) {
  return channels == 1 ? "mono" : "stereo";
}

}  // namespace

std::string ConversionSummaryText(const WavSummary& s, double gain) {
  const double seconds = s.sampleRate > 0 ? static_cast<double>(s.frames) / s.sampleRate : 0.0;
  const double keptMs = s.keptSamples / kDeviceIrSampleRate * kMillisecondsPerSecond;
  std::string text =
      Format("%s, %d Hz, %s, %lld frames (%.3f s)\n", SourceFormat(s).c_str(), s.sampleRate,
             ChannelText(s.channels), static_cast<long long>(s.frames), seconds);
  text += Format("kept: %s, %s, first %d samples = %.1f ms (%.1f %% of the file)\n",
                 s.channels > 1 ? "first channel" : "the channel",
                 s.sampleRate == static_cast<int>(kDeviceIrSampleRate) ? "at 44.1 kHz"
                                                                       : "resampled to 44.1 kHz",
                 s.keptSamples, keptMs, s.keptShare * kPercent);
  text += Format("gain %.4f", gain);
  return text;
}

std::string ConversionSummaryLine(std::string text) {
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at)) {
    text.replace(at, 1, "  \xC2\xB7  ");
  }
  return text;
}

}  // namespace qd3
