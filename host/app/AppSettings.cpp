#include "host/app/AppSettings.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace qd3 {
namespace {

constexpr char kAudio[] = "audio";
constexpr char kMidi[] = "midi";
constexpr char kGui[] = "GUI";
// Audio channels are small; the device's count is checked where the device is chosen.
constexpr long kMaxStoredChannel = 65535;
constexpr long kMaxMidiChannel = 16;  // 0 = all, 1..16

std::string Format(const char* format, auto value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

AppSettings SettingsFile::Read() const {
  bool scaleReplaced = false;
  return Read(scaleReplaced);
}

AppSettings SettingsFile::Read(bool& scaleReplaced) const {
  const AppSettings defaults;
  AppSettings s;
  // Values outside [low, high] give the fallback.
  const auto getInRange = [&](const char* section, const char* key, long fallback, long low,
                              long high) {
    const long value = mIni.GetInt(section, key, fallback);
    return value < low || value > high ? fallback : value;
  };
  // 1-based channels; the device's own count is checked where the device is chosen.
  const auto getChannel = [&](const char* key, unsigned fallback) {
    return static_cast<unsigned>(
        getInRange(kAudio, key, static_cast<long>(fallback), 1, kMaxStoredChannel));
  };
  s.driver = static_cast<unsigned>(
      getInRange(kAudio, "driver", defaults.driver, kAudioDriverDefault, kAudioDriverJack));
  s.audioIn = mIni.GetString(kAudio, "indev", defaults.audioIn, kMaxDeviceNameLength);
  s.audioOut = mIni.GetString(kAudio, "outdev", defaults.audioOut, kMaxDeviceNameLength);
  s.in1 = getChannel("in1", defaults.in1);
  s.in2 = getChannel("in2", defaults.in2);
  s.out1 = getChannel("out1", defaults.out1);
  s.out2 = getChannel("out2", defaults.out2);
  s.buffer = static_cast<int>(
      getInRange(kAudio, "buffer", defaults.buffer, kMinBufferFrames, kMaxBufferFrames));
  s.sampleRate = static_cast<int>(
      getInRange(kAudio, "sr", defaults.sampleRate, kMinSampleRate, kMaxSampleRate));
  s.midiIn = mIni.GetString(kMidi, "indev", defaults.midiIn, kMaxDeviceNameLength);
  s.midiOut = mIni.GetString(kMidi, "outdev", defaults.midiOut, kMaxDeviceNameLength);
  s.inChannel =
      static_cast<unsigned>(getInRange(kMidi, "inchan", defaults.inChannel, 0, kMaxMidiChannel));
  s.outChannel =
      static_cast<unsigned>(getInRange(kMidi, "outchan", defaults.outChannel, 0, kMaxMidiChannel));
  const std::string scale = mIni.GetString(kGui, "scale", "0.5");
  // The file is the same whatever the desktop's locale: a '.' always separates
  // the decimals.
  double value = 0.0;
  const auto [end, error] = std::from_chars(scale.data(), scale.data() + scale.size(), value);
  // "%f" keeps six decimals: the smallest window's scale is stored as 0.333333.
  constexpr double kStoredScaleTolerance = 1e-6;
  const bool usable = error == std::errc() && end != scale.data() &&
                      value >= kMinScale - kStoredScaleTolerance &&
                      value <= kMaxScale + kStoredScaleTolerance;
  s.scale = usable ? value : kDefaultScale;
  scaleReplaced = !usable && !mIni.GetString(kGui, "scale", "").empty();
  return s;
}

bool SettingsFile::WriteAudioAndMidi(const AppSettings& s) {
  bool ok = true;
  ok &= mIni.WriteString(kAudio, "driver", Format("%u", s.driver));
  ok &= mIni.WriteString(kAudio, "indev", s.audioIn);
  ok &= mIni.WriteString(kAudio, "outdev", s.audioOut);
  ok &= mIni.WriteString(kAudio, "in1", Format("%u", s.in1));
  ok &= mIni.WriteString(kAudio, "in2", Format("%u", s.in2));
  ok &= mIni.WriteString(kAudio, "out1", Format("%u", s.out1));
  ok &= mIni.WriteString(kAudio, "out2", Format("%u", s.out2));
  ok &= mIni.WriteString(kAudio, "buffer", Format("%i", s.buffer));
  ok &= mIni.WriteString(kAudio, "sr", Format("%i", s.sampleRate));
  ok &= mIni.WriteString(kMidi, "indev", s.midiIn);
  ok &= mIni.WriteString(kMidi, "outdev", s.midiOut);
  ok &= mIni.WriteString(kMidi, "inchan", Format("%u", s.inChannel));
  ok &= mIni.WriteString(kMidi, "outchan", Format("%u", s.outChannel));
  return ok;
}

bool SettingsFile::WriteScale(double scale) {
  // "%f", but with '.' under every locale.
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, scale, std::chars_format::fixed, 6);
  return mIni.WriteString(kGui, "scale", std::string(text, result.ptr));
}

void SettingsStore::Load() {
  bool scaleReplaced = false;
  mValues = mFile.Read(scaleReplaced);
  mFile.WriteAudioAndMidi(mValues);
  if (scaleReplaced) mFile.WriteScale(mValues.scale);
}

std::string SettingsStore::Name(MidiDirection direction) const {
  return direction == MidiDirection::kInput ? mValues.midiIn : mValues.midiOut;
}

void SettingsStore::SetName(MidiDirection direction, std::string name) {
  (direction == MidiDirection::kInput ? mValues.midiIn : mValues.midiOut) = std::move(name);
}

void SettingsStore::Save() {
  mFile.WriteAudioAndMidi(mValues);
}

}  // namespace qd3
