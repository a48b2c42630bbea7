#pragma once

#include <string>

#include "protocol/IMidiTransport.h"

namespace qd3 {

// Stored name meaning "this direction stays closed". Only the C string counts:
// a name whose first four bytes are "off" and its terminating NUL is "off".
inline constexpr char kMidiPortOff[] = "off";
// Stored names before the user has picked a port; they never match a real port,
// so a first start closes both directions and stores "off".
inline constexpr char kDefaultMidiInputName[] = "no input";
inline constexpr char kDefaultMidiOutputName[] = "no output";

// The two stored MIDI port names (keys indev and outdev of section midi of the
// settings file). The application shell implements it over its settings file.
class IMidiPortSettings {
 public:
  virtual ~IMidiPortSettings() = default;

  virtual std::string Name(MidiDirection direction) const = 0;
  virtual void SetName(MidiDirection direction, std::string name) = 0;
  // Writes the settings file now.
  virtual void Save() = 0;
};

}  // namespace qd3
