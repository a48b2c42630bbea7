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

}  // namespace

AudioDeviceChoice ChooseAudioDevices(const std::vector<AudioDevice>& devices,
                                     std::string& storedInput, std::string& storedOutput) {
  AudioDeviceChoice choice;
  choice.input = Resolve(devices, storedInput, true, choice.namesChanged);
  choice.output = Resolve(devices, storedOutput, false, choice.namesChanged);
  return choice;
}

}  // namespace qd3
