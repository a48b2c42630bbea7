#include "host/app/PreferencesLogic.h"

#include <algorithm>

namespace qd3 {

void PreferencesLogic::FillList(MidiDirection direction) {
  const bool input = direction == MidiDirection::Input;
  std::vector<std::string>& list = input ? inputs_ : outputs_;
  int& selected = input ? selectedIn_ : selectedOut_;
  list = host_.PortList(direction);
  if (list.empty() || list.front() != kMidiPortOff) list.insert(list.begin(), kMidiPortOff);

  IMidiPortSettings& ports = host_.PortSettings();
  const std::string stored = ports.Name(direction);
  const auto found = std::find(list.begin(), list.end(), stored);
  if (found == list.end()) {
    ports.SetName(direction, kMidiPortOff);
    ports.Save();
    selected = 0;
  } else {
    selected = static_cast<int>(found - list.begin());
  }
}

void PreferencesLogic::Open() {
  FillList(MidiDirection::Input);
  FillList(MidiDirection::Output);
  opened_ = Current();
}

const std::vector<std::string>& PreferencesLogic::Entries(MidiDirection direction) const {
  return direction == MidiDirection::Input ? inputs_ : outputs_;
}

int PreferencesLogic::Selected(MidiDirection direction) const {
  return direction == MidiDirection::Input ? selectedIn_ : selectedOut_;
}

void PreferencesLogic::OnSelection(MidiDirection direction, int index) {
  const std::vector<std::string>& list = Entries(direction);
  if (index < 0 || index >= static_cast<int>(list.size())) return;
  (direction == MidiDirection::Input ? selectedIn_ : selectedOut_) = index;
  const std::string name = list[static_cast<size_t>(index)];
  host_.PortSettings().SetName(direction, name);
  host_.SelectMidiPort(direction, name);
}

void PreferencesLogic::Apply() {
  host_.RestartAudio();
}

void PreferencesLogic::Ok() {
  // The comparison covers driver, devices, channels, buffer, sample rate and the
  // MIDI names and channels, as the stream recorded them when it started.
  // The draw scale is no business of the stream.
  AppSettings now = host_.Settings();
  now.scale = host_.RunningAudioSettings().scale;
  if (!(now == host_.RunningAudioSettings())) host_.RestartAudio();
  host_.SaveSettings();
}

void PreferencesLogic::Cancel() {
  if (Current() == opened_) return;
  host_.Settings() = opened_.settings;
  host_.PortSettings().SetName(MidiDirection::Input, opened_.portIn);
  host_.PortSettings().SetName(MidiDirection::Output, opened_.portOut);
  host_.ReinitialiseAudio();
}

PreferencesLogic::Snapshot PreferencesLogic::Current() {
  IMidiPortSettings& ports = host_.PortSettings();
  return {host_.Settings(), ports.Name(MidiDirection::Input), ports.Name(MidiDirection::Output)};
}

}  // namespace qd3
