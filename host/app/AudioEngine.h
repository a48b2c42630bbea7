#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/app/AppSettings.h"
#include "host/app/AudioDeviceChoice.h"

class RtAudio;

namespace qd3 {

// The one audio output stream. It carries no sound: its callback writes silence
// and, before each 64-frame sub-block, runs the drain pass, which is how incoming
// MIDI gets handled at a steady pace. RtAudio's errors (RtAudioError) are caught
// here and turn into "no stream".
class AudioEngine {
 public:
  static constexpr unsigned kSubBlockFrames = 64;

  // `drain` runs on the audio thread.
  explicit AudioEngine(std::function<void()> drain);
  ~AudioEngine();
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;

  // The audio API object for a driver setting (0 the platform's default, 1 JACK);
  // an open stream is closed first. False when RtAudio cannot create it.
  bool CreateApi(unsigned driver);
  // Probes the API's devices.
  std::vector<AudioDevice> Probe();
  const std::vector<AudioDevice>& Devices() const { return mDevices; }

  // Resolves the stored device names (replacing unknown ones by the defaults,
  // `namesChanged` then set), opens an output-only stream with the stored device,
  // sample rate and buffer size, and starts it. False when no usable device
  // exists or the stream cannot be opened.
  bool Start(AppSettings& settings, bool& namesChanged);
  // Stops after the callback has finished its buffer, then closes the stream.
  void Stop();
  bool Running() const { return mRunning; }
  // What the last failure said, for the console.
  const std::string& LastError() const { return mLastError; }
  unsigned StreamSampleRate() const { return mStreamRate; }

 private:
  static int Callback(void* output, void* input, unsigned frames, double time, unsigned status,
                      void* user);
  bool Open(const AudioDevice& device, const AppSettings& settings, unsigned rate);

  std::function<void()> mDrain;
  std::unique_ptr<RtAudio> mAudio;
  std::vector<AudioDevice> mDevices;
  unsigned mChannels = 2;
  unsigned mStreamRate = 0;
  bool mRunning = false;
  std::string mLastError;
};

}  // namespace qd3
