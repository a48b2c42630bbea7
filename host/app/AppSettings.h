#pragma once

#include <filesystem>
#include <string>

#include "host/IMidiPortSettings.h"
#include "host/app/IniFile.h"

namespace qd3 {

inline constexpr char kSettingsFileName[] = "settings.ini";
inline constexpr char kDefaultAudioInputName[] = "Built-in Input";
inline constexpr char kDefaultAudioOutputName[] = "Built-in Output";
inline constexpr double kDefaultScale = 0.5;
// Device names are kept to what the settings file's fixed buffers held.
inline constexpr size_t kMaxDeviceNameLength = 99;

// Audio drivers: 0 the platform's default API, 1 JACK.
inline constexpr unsigned kAudioDriverDefault = 0;
inline constexpr unsigned kAudioDriverJack = 1;

// What a stored value may be; outside, the default takes its place and is written back.
// Channels are 1-based; their upper bound is the chosen device's channel count.
inline constexpr int kMinBufferFrames = 16;
inline constexpr int kMaxBufferFrames = 8192;
inline constexpr int kMinSampleRate = 8000;
inline constexpr int kMaxSampleRate = 192000;
// Window sizes from 640 x 400 to 5760 x 3600 are the scales 1/3 to 3.
inline constexpr double kMinScale = 1.0 / 3.0;
inline constexpr double kMaxScale = 3.0;

// Everything the settings file holds, with the values a first start uses.
struct AppSettings {
  // section audio
  unsigned driver = kAudioDriverDefault;
  std::string audioIn = kDefaultAudioInputName;
  std::string audioOut = kDefaultAudioOutputName;
  unsigned in1 = 1;
  unsigned in2 = 2;
  unsigned out1 = 1;
  unsigned out2 = 2;
  int buffer = 512;        // frames
  int sampleRate = 44100;  // Hz
  // section midi
  std::string midiIn = kDefaultMidiInputName;
  std::string midiOut = kDefaultMidiOutputName;
  unsigned inChannel = 0;   // 0 = all
  unsigned outChannel = 0;  // 0 = all
  // section GUI
  double scale = kDefaultScale;

  friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

// Reading and writing AppSettings in one settings file.
class SettingsFile {
 public:
  explicit SettingsFile(const std::filesystem::path& baseFolder)
      : mIni(baseFolder / kSettingsFileName) {}

  const std::filesystem::path& Path() const { return mIni.Path(); }
  // Every key; a missing file or key keeps the default, and so does a value outside
  // its range (driver 0..1, buffer, sample rate and scale as above, channels 0).
  AppSettings Read() const;
  // The same; `scaleReplaced` tells whether a stored scale was out of range.
  AppSettings Read(bool& scaleReplaced) const;
  // Sections audio and midi, every key, in their fixed order.
  bool WriteAudioAndMidi(const AppSettings& settings);
  // Section GUI: scale with "%f".
  bool WriteScale(double scale);

 private:
  IniFile mIni;
};

// The settings of the running program: the values, and the port names the MIDI
// ports store through IMidiPortSettings (saving writes audio and midi).
class SettingsStore : public IMidiPortSettings {
 public:
  explicit SettingsStore(const std::filesystem::path& baseFolder) : mFile(baseFolder) {}

  // Reads the file, then writes sections audio and midi back in full, and the
  // scale when the stored one was replaced.
  void Load();
  AppSettings& Values() { return mValues; }
  const AppSettings& Values() const { return mValues; }
  SettingsFile& File() { return mFile; }

  std::string Name(MidiDirection direction) const override;
  void SetName(MidiDirection direction, std::string name) override;
  void Save() override;

 private:
  SettingsFile mFile;
  AppSettings mValues;
};

// Port names held in memory only: the demo pedal's ports are chosen without
// touching the names the player stored for the real pedal.
class TransientPortSettings : public IMidiPortSettings {
 public:
  TransientPortSettings(std::string input, std::string output)
      : mInput(std::move(input)), mOutput(std::move(output)) {}
  std::string Name(MidiDirection direction) const override {
    return direction == MidiDirection::kInput ? mInput : mOutput;
  }
  void SetName(MidiDirection direction, std::string name) override {
    (direction == MidiDirection::kInput ? mInput : mOutput) = std::move(name);
  }
  void Save() override {}

 private:
  std::string mInput;
  std::string mOutput;
};

}  // namespace qd3
