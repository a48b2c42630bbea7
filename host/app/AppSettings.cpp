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
    return static_cast<unsigned>(ini_.GetInt(section, key, static_cast<long>(fallback)));
  };
  s.driver = getUnsigned(kAudio, "driver", defaults.driver);
  s.audioIn = ini_.GetString(kAudio, "indev", defaults.audioIn, kMaxDeviceNameLength);
  s.audioOut = ini_.GetString(kAudio, "outdev", defaults.audioOut, kMaxDeviceNameLength);
  s.in1 = getUnsigned(kAudio, "in1", defaults.in1);
  s.in2 = getUnsigned(kAudio, "in2", defaults.in2);
  s.out1 = getUnsigned(kAudio, "out1", defaults.out1);
  s.out2 = getUnsigned(kAudio, "out2", defaults.out2);
  s.buffer = static_cast<int>(ini_.GetInt(kAudio, "buffer", defaults.buffer));
  s.sampleRate = static_cast<int>(ini_.GetInt(kAudio, "sr", defaults.sampleRate));
  s.midiIn = ini_.GetString(kMidi, "indev", defaults.midiIn, kMaxDeviceNameLength);
  s.midiOut = ini_.GetString(kMidi, "outdev", defaults.midiOut, kMaxDeviceNameLength);
  s.inChannel = getUnsigned(kMidi, "inchan", defaults.inChannel);
  s.outChannel = getUnsigned(kMidi, "outchan", defaults.outChannel);
  const std::string scale = ini_.GetString(kGui, "scale", "0.5");
  // The file is the same whatever the desktop's locale: a '.' always separates
  // the decimals.
  double value = 0.0;
  const auto [end, error] = std::from_chars(scale.data(), scale.data() + scale.size(), value);
  s.scale = (error == std::errc() && end != scale.data() && value > 0.0) ? value : kDefaultScale;
  return s;
}

bool SettingsFile::WriteAudioAndMidi(const AppSettings& s) {
  bool ok = true;
  ok &= ini_.WriteString(kAudio, "driver", Format("%u", s.driver));
  ok &= ini_.WriteString(kAudio, "indev", s.audioIn);
  ok &= ini_.WriteString(kAudio, "outdev", s.audioOut);
  ok &= ini_.WriteString(kAudio, "in1", Format("%u", s.in1));
  ok &= ini_.WriteString(kAudio, "in2", Format("%u", s.in2));
  ok &= ini_.WriteString(kAudio, "out1", Format("%u", s.out1));
  ok &= ini_.WriteString(kAudio, "out2", Format("%u", s.out2));
  ok &= ini_.WriteString(kAudio, "buffer", Format("%i", s.buffer));
  ok &= ini_.WriteString(kAudio, "sr", Format("%i", s.sampleRate));
  ok &= ini_.WriteString(kMidi, "indev", s.midiIn);
  ok &= ini_.WriteString(kMidi, "outdev", s.midiOut);
  ok &= ini_.WriteString(kMidi, "inchan", Format("%u", s.inChannel));
  ok &= ini_.WriteString(kMidi, "outchan", Format("%u", s.outChannel));
  return ok;
}

bool SettingsFile::WriteScale(double scale) {
  // "%f", but with '.' under every locale.
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, scale, std::chars_format::fixed, 6);
  return ini_.WriteString(kGui, "scale", std::string(text, result.ptr));
}

void SettingsStore::Load() {
  values_ = file_.Read();
  file_.WriteAudioAndMidi(values_);
}

std::string SettingsStore::Name(MidiDirection direction) const {
  return direction == MidiDirection::Input ? values_.midiIn : values_.midiOut;
}

void SettingsStore::SetName(MidiDirection direction, std::string name) {
  (direction == MidiDirection::Input ? values_.midiIn : values_.midiOut) = std::move(name);
}

void SettingsStore::Save() {
  file_.WriteAudioAndMidi(values_);
}

}  // namespace qd3
