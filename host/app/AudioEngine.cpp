#include "host/app/AudioEngine.h"

#include <RtAudio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qd3 {

AudioEngine::AudioEngine(std::function<void()> drain) : drain_(std::move(drain)) {}

AudioEngine::~AudioEngine() {
  Stop();
}

bool AudioEngine::CreateApi(unsigned driver) {
  Stop();
  audio_.reset();
  devices_.clear();
  try {
    audio_ = std::make_unique<RtAudio>(driver == kAudioDriverJack ? RtAudio::UNIX_JACK
                                                                  : RtAudio::UNSPECIFIED);
    // Probing a machine without the API's server or sound card would otherwise
    // print a warning per device.
    audio_->showWarnings(false);
    return true;
  } catch (const RtAudioError& error) {
    lastError_ = error.getMessage();
    audio_.reset();
    return false;
  }
}

std::vector<AudioDevice> AudioEngine::Probe() {
  devices_.clear();
  if (!audio_) return devices_;
  try {
    const unsigned count = audio_->getDeviceCount();
    for (unsigned id = 0; id < count; ++id) {
      const RtAudio::DeviceInfo info = audio_->getDeviceInfo(id);
      if (!info.probed) continue;
      devices_.push_back({id, info.name, info.inputChannels, info.outputChannels,
                          info.isDefaultInput, info.isDefaultOutput});
    }
  } catch (const RtAudioError& error) {
    lastError_ = error.getMessage();
  }
  return devices_;
}

int AudioEngine::Callback(void* output, void*, unsigned frames, double, unsigned, void* user) {
  auto* self = static_cast<AudioEngine*>(user);
  for (unsigned done = 0; done < frames; done += kSubBlockFrames) self->drain_();
  std::memset(output, 0, sizeof(float) * frames * self->channels_);
  return 0;
}

bool AudioEngine::Open(const AudioDevice& device, const AppSettings& settings, unsigned rate) {
  RtAudio::StreamParameters out;
  out.deviceId = device.id;
  channels_ = std::min(2u, device.outputChannels);
  out.nChannels = channels_;
  // out1 is 1-based; the pair must fit on the device.
  const unsigned first = settings.out1 > 0 ? settings.out1 - 1 : 0;
  out.firstChannel = first + channels_ <= device.outputChannels ? first : 0;
  unsigned frames = settings.buffer > 0 ? static_cast<unsigned>(settings.buffer) : 512u;
  RtAudio::StreamOptions options;
  options.streamName = "QD3Control";
  try {
    audio_->openStream(&out, nullptr, RTAUDIO_FLOAT32, rate, &frames, &AudioEngine::Callback, this,
                       &options);
    audio_->startStream();
    streamRate_ = rate;
    return true;
  } catch (const RtAudioError& error) {
    lastError_ = error.getMessage();
    try {
      if (audio_->isStreamOpen()) audio_->closeStream();
    } catch (const RtAudioError&) {
    }
    return false;
  }
}

bool AudioEngine::Start(AppSettings& settings, bool& namesChanged) {
  Stop();
  namesChanged = false;
  if (!audio_) return false;
  const AudioDeviceChoice choice =
      ChooseAudioDevices(devices_, settings.audioIn, settings.audioOut);
  namesChanged = choice.namesChanged;
  if (!choice.Usable()) {
    lastError_ = "no usable audio input and output device";
    return false;
  }
  const unsigned stored = settings.sampleRate > 0 ? static_cast<unsigned>(settings.sampleRate) : 0;
  running_ = stored > 0 && Open(*choice.output, settings, stored);
  if (!running_) {
    // A server running at another rate (JACK) refuses the stored one; the stream
    // only paces MIDI, so the device's own rate serves as well. The setting stays.
    try {
      const unsigned preferred = audio_->getDeviceInfo(choice.output->id).preferredSampleRate;
      if (preferred > 0 && preferred != stored)
        running_ = Open(*choice.output, settings, preferred);
    } catch (const RtAudioError& error) {
      lastError_ = error.getMessage();
    }
  }
  return running_;
}

void AudioEngine::Stop() {
  if (!audio_) return;
  try {
    if (audio_->isStreamRunning()) audio_->stopStream();
    if (audio_->isStreamOpen()) audio_->closeStream();
  } catch (const RtAudioError& error) {
    lastError_ = error.getMessage();
  }
  running_ = false;
}

}  // namespace qd3
