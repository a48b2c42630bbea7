#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/IMidiPortSettings.h"

namespace qd3::test {

// Stored port names in memory; Save records what a settings file would hold.
class FakeMidiPortSettings : public IMidiPortSettings {
 public:
  std::string input = kDefaultMidiInputName;
  std::string output = kDefaultMidiOutputName;
  // One entry per Save: the input and output names written.
  std::vector<std::pair<std::string, std::string>> saved;

  std::string Name(MidiDirection direction) const override {
    return direction == MidiDirection::kInput ? input : output;
  }
  void SetName(MidiDirection direction, std::string name) override {
    (direction == MidiDirection::kInput ? input : output) = std::move(name);
  }
  void Save() override { saved.emplace_back(input, output); }
};

}  // namespace qd3::test
