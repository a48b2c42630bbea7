#include "host/app/AppSettings.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace qd3 {
namespace {

constexpr char kAudio[] = "audio";
constexpr char kMidi[] = "midi";
constexpr char kGui[] = "GUI";

std::string Format(const char* format, auto value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

AppSettings SettingsFile::Read() const {
  const AppSettings defaults;
  AppSettings s;
  const auto getUnsigned = [&](const char* section, const char* key, unsigned fallback) {
    return static_cast<unsigned>(mIni.GetInt(section, key, static_cast<long>(fallback)));
  };
  s.driver = getUnsigned(kAudio, "driver", defaults.driver);
  s.audioIn = mIni.GetString(kAudio, "indev", defaults.audioIn, kMaxDeviceNameLength);
  s.audioOut = mIni.GetString(kAudio, "outdev", defaults.audioOut, kMaxDeviceNameLength);
  s.in1 = getUnsigned(kAudio, "in1", defaults.in1);
  s.in2 = getUnsigned(kAudio, "in2", defaults.in2);
  s.out1 = getUnsigned(kAudio, "out1", defaults.out1);
  s.out2 = getUnsigned(kAudio, "out2", defaults.out2);
  s.buffer = static_cast<int>(mIni.GetInt(kAudio, "buffer", defaults.buffer));
  s.sampleRate = static_cast<int>(mIni.GetInt(kAudio, "sr", defaults.sampleRate));
  s.midiIn = mIni.GetString(kMidi, "indev", defaults.midiIn, kMaxDeviceNameLength);
  s.midiOut = mIni.GetString(kMidi, "outdev", defaults.midiOut, kMaxDeviceNameLength);
  s.inChannel = getUnsigned(kMidi, "inchan", defaults.inChannel);
  s.outChannel = getUnsigned(kMidi, "outchan", defaults.outChannel);
  const std::string scale = mIni.GetString(kGui, "scale", "0.5");
  // The file is the same whatever the desktop's locale: a '.' always separates
  // the decimals.
  double value = 0.0;
  const auto [end, error] = std::from_chars(scale.data(), scale.data() + scale.size(), value);
  s.scale = (error == std::errc() && end != scale.data() && value > 0.0) ? value : kDefaultScale;
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
  mValues = mFile.Read();
  mFile.WriteAudioAndMidi(mValues);
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
