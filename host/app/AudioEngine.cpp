#include "host/app/AudioEngine.h"

#include <RtAudio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/JackServerProbe.h"
#include "host/QuietStderr.h"

namespace qd3 {

AudioEngine::AudioEngine(std::function<void()> drain) : mDrain(std::move(drain)) {}

AudioEngine::~AudioEngine() {
  Stop();
}

bool AudioEngine::CreateApi(unsigned driver) {
  Stop();
  // RtAudio and libasound print each failed probe; LastError keeps what counts.
  const QuietStderr quiet;
  mAudio.reset();
  mDevices.clear();
  try {
    // JACK without a server would list no device at all: ALSA takes its place.
    RtAudio::Api api = RtAudio::UNSPECIFIED;
    if (driver == kAudioDriverJack) {
      api = JackServerRunning() ? RtAudio::UNIX_JACK : RtAudio::LINUX_ALSA;
    }
    mAudio = std::make_unique<RtAudio>(api);
    // Probing a machine without the API's server or sound card would otherwise
    // print a warning per device.
    mAudio->showWarnings(false);
    return true;
  } catch (const RtAudioError& error) {
    mLastError = error.getMessage();
    mAudio.reset();
    return false;
  }
}

std::vector<AudioDevice> AudioEngine::Probe() {
  const QuietStderr quiet;
  mDevices.clear();
  if (!mAudio) return mDevices;
  try {
    const unsigned count = mAudio->getDeviceCount();
    for (unsigned id = 0; id < count; ++id) {
      const RtAudio::DeviceInfo info = mAudio->getDeviceInfo(id);
      if (!info.probed) continue;
      mDevices.push_back({id, info.name, info.inputChannels, info.outputChannels,
                          info.isDefaultInput, info.isDefaultOutput});
    }
  } catch (const RtAudioError& error) {
    mLastError = error.getMessage();
  }
  return mDevices;
}

int AudioEngine::Callback(void* output, void*, unsigned frames, double, unsigned, void* user) {
  auto* self = static_cast<AudioEngine*>(user);
  for (unsigned done = 0; done < frames; done += kSubBlockFrames) self->mDrain();
  std::memset(output, 0, sizeof(float) * frames * self->mChannels);
  return 0;
}

bool AudioEngine::Open(const AudioDevice& device, const AppSettings& settings, unsigned rate) {
  RtAudio::StreamParameters out;
  out.deviceId = device.id;
  mChannels = std::min(2u, device.outputChannels);
  out.nChannels = mChannels;
  // out1 is 1-based; the pair must fit on the device.
  const unsigned first = settings.out1 > 0 ? settings.out1 - 1 : 0;
  out.firstChannel = first <= device.outputChannels - mChannels ? first : 0;
  unsigned frames = settings.buffer >= kMinBufferFrames && settings.buffer <= kMaxBufferFrames
                        ? static_cast<unsigned>(settings.buffer)
                        : static_cast<unsigned>(AppSettings{}.buffer);
  RtAudio::StreamOptions options;
  options.streamName = "QD3Control";
  try {
    mAudio->openStream(&out, nullptr, RTAUDIO_FLOAT32, rate, &frames, &AudioEngine::Callback, this,
                       &options);
    mAudio->startStream();
    mStreamRate = rate;
    return true;
  } catch (const RtAudioError& error) {
    mLastError = error.getMessage();
    try {
      if (mAudio->isStreamOpen()) mAudio->closeStream();
    } catch (const RtAudioError&) {
    }
    return false;
  }
}

bool AudioEngine::Start(AppSettings& settings, bool& namesChanged) {
  Stop();
  const QuietStderr quiet;
  namesChanged = false;
  if (!mAudio) return false;
  const AudioDeviceChoice choice =
      ChooseAudioDevices(mDevices, settings.audioIn, settings.audioOut);
  // A channel the device lacks (out1=-1 once made the stream open with channel
  // 4294967295) is replaced and written back like a missing device name.
  namesChanged = FitChannelsToDevices(choice, settings) || choice.namesChanged;
  if (!choice.Usable()) {
    mLastError = "no usable audio input and output device";
    return false;
  }
  const unsigned stored = settings.sampleRate > 0 ? static_cast<unsigned>(settings.sampleRate) : 0;
  mRunning = stored > 0 && Open(*choice.output, settings, stored);
  if (!mRunning) {
    // A server running at another rate (JACK) refuses the stored one; the stream
    // only paces MIDI, so the device's own rate serves as well. The setting stays.
    try {
      const unsigned preferred = mAudio->getDeviceInfo(choice.output->id).preferredSampleRate;
      if (preferred > 0 && preferred != stored)
        mRunning = Open(*choice.output, settings, preferred);
    } catch (const RtAudioError& error) {
      mLastError = error.getMessage();
    }
  }
  return mRunning;
}

void AudioEngine::Stop() {
  if (!mAudio) return;
  try {
    if (mAudio->isStreamRunning()) mAudio->stopStream();
    if (mAudio->isStreamOpen()) mAudio->closeStream();
  } catch (const RtAudioError& error) {
    mLastError = error.getMessage();
  }
  mRunning = false;
}

}  // namespace qd3
