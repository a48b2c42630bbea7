#include "host/app/AudioDeviceChoice.h"

namespace qd3 {
namespace {

std::optional<AudioDevice> Resolve(const std::vector<AudioDevice>& devices, std::string& stored,
                                   bool input, bool& changed) {
  const auto hasChannels = [input](const AudioDevice& d) {
    return (input ? d.inputChannels : d.outputChannels) > 0;
  };
  for (const AudioDevice& d : devices) {
    if (hasChannels(d) && d.name == stored) return d;
  }
  const AudioDevice* fallback = nullptr;
  for (const AudioDevice& d : devices) {
    if (hasChannels(d) && (input ? d.defaultInput : d.defaultOutput)) {
      fallback = &d;
      break;
    }
  }
  if (!fallback) {
    for (const AudioDevice& d : devices) {
      if (hasChannels(d)) {
        fallback = &d;
        break;
      }
    }
  }
  if (!fallback) return std::nullopt;
  stored = fallback->name;
  changed = true;
  return *fallback;
}

// The channel when the device has it, else the fallback, else channel 1.
bool FitChannel(unsigned& channel, unsigned fallback, unsigned deviceChannels) {
  const auto fits = [&](unsigned c) { return c >= 1 && c <= deviceChannels; };
  if (fits(channel)) return false;
  const unsigned replacement = fits(fallback) ? fallback : 1;
  if (replacement == channel) return false;
  channel = replacement;
  return true;
}

}  // namespace

AudioDeviceChoice ChooseAudioDevices(const std::vector<AudioDevice>& devices,
                                     std::string& storedInput, std::string& storedOutput) {
  AudioDeviceChoice choice;
  choice.input = Resolve(devices, storedInput, true, choice.namesChanged);
  choice.output = Resolve(devices, storedOutput, false, choice.namesChanged);
  return choice;
}

bool FitChannelsToDevices(const AudioDeviceChoice& choice, AppSettings& settings) {
  const AppSettings defaults;
  bool changed = false;
  if (choice.input) {
    changed |= FitChannel(settings.in1, defaults.in1, choice.input->inputChannels);
    changed |= FitChannel(settings.in2, defaults.in2, choice.input->inputChannels);
  }
  if (choice.output) {
    changed |= FitChannel(settings.out1, defaults.out1, choice.output->outputChannels);
    changed |= FitChannel(settings.out2, defaults.out2, choice.output->outputChannels);
  }
  return changed;
}

}  // namespace qd3
