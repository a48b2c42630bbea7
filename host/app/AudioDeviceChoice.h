#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/app/AppSettings.h"

namespace qd3 {

// One audio device as the audio API probed it.
struct AudioDevice {
  unsigned id = 0;  // the API's device id
  std::string name;
  unsigned inputChannels = 0;
  unsigned outputChannels = 0;
  bool defaultInput = false;
  bool defaultOutput = false;
};

// The devices the stored names resolve to.
struct AudioDeviceChoice {
  std::optional<AudioDevice> input;
  std::optional<AudioDevice> output;
  // A stored name was replaced by the direction's default device's name.
  bool namesChanged = false;
  bool Usable() const { return input.has_value() && output.has_value(); }
};

// Resolves the stored input and output names among `devices`: a device of that
// name with channels in that direction, else the direction's default device
// (whose name then replaces the stored one), else the first device with channels
// in that direction (also stored), else none.
AudioDeviceChoice ChooseAudioDevices(const std::vector<AudioDevice>& devices,
                                     std::string& storedInput, std::string& storedOutput);

// Puts every stored 1-based channel (in1, in2 on the input device, out1, out2 on the
// output device) back to its default when the device has no such channel, or to
// channel 1 when the default does not exist there either. True when one changed, so
// the caller writes the settings back.
bool FitChannelsToDevices(const AudioDeviceChoice& choice, AppSettings& settings);

}  // namespace qd3
