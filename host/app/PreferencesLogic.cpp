#include "host/app/PreferencesLogic.h"

#include <algorithm>

namespace qd3 {

void PreferencesLogic::FillList(MidiDirection direction, bool storeOffWhenMissing) {
  const bool input = direction == MidiDirection::kInput;
  std::vector<std::string>& list = input ? mInputs : mOutputs;
  int& selected = input ? mSelectedIn : mSelectedOut;
  list = mHost.PortList(direction);
  if (list.empty() || list.front() != kMidiPortOff) list.insert(list.begin(), kMidiPortOff);

  IMidiPortSettings& ports = mHost.PortSettings();
  const std::string stored = ports.Name(direction);
  const auto found = std::find(list.begin(), list.end(), stored);
  if (found == list.end() && !storeOffWhenMissing) {
    // A port that went while the dialog is open keeps its stored name, so that
    // it is reopened when it comes back; the list shows no selection meanwhile.
    selected = -1;
  } else if (found == list.end()) {
    ports.SetName(direction, kMidiPortOff);
    ports.Save();
    selected = 0;
  } else {
    selected = static_cast<int>(found - list.begin());
  }
}

void PreferencesLogic::Open() {
  FillList(MidiDirection::kInput, true);
  FillList(MidiDirection::kOutput, true);
  mOpened = Current();
}

void PreferencesLogic::Refresh() {
  FillList(MidiDirection::kInput, false);
  FillList(MidiDirection::kOutput, false);
}

const std::vector<std::string>& PreferencesLogic::Entries(MidiDirection direction) const {
  return direction == MidiDirection::kInput ? mInputs : mOutputs;
}

int PreferencesLogic::Selected(MidiDirection direction) const {
  return direction == MidiDirection::kInput ? mSelectedIn : mSelectedOut;
}

void PreferencesLogic::OnSelection(MidiDirection direction, int index) {
  const std::vector<std::string>& list = Entries(direction);
  if (index < 0 || index >= static_cast<int>(list.size())) return;
  (direction == MidiDirection::kInput ? mSelectedIn : mSelectedOut) = index;
  const std::string name = list[static_cast<size_t>(index)];
  mHost.PortSettings().SetName(direction, name);
  mHost.SelectMidiPort(direction, name);
}

void PreferencesLogic::Apply() {
  mHost.RestartAudio();
}

void PreferencesLogic::Ok() {
  // The comparison covers driver, devices, channels, buffer, sample rate and the
  // MIDI names and channels, as the stream recorded them when it started.
  // The draw scale is no business of the stream.
  AppSettings now = mHost.Settings();
  now.scale = mHost.RunningAudioSettings().scale;
  if (!(now == mHost.RunningAudioSettings())) mHost.RestartAudio();
  mHost.SaveSettings();
}

void PreferencesLogic::Cancel() {
  if (Current() == mOpened) return;
  mHost.Settings() = mOpened.settings;
  mHost.PortSettings().SetName(MidiDirection::kInput, mOpened.portIn);
  mHost.PortSettings().SetName(MidiDirection::kOutput, mOpened.portOut);
  mHost.ReinitialiseAudio();
}

PreferencesLogic::Snapshot PreferencesLogic::Current() {
  IMidiPortSettings& ports = mHost.PortSettings();
  return {mHost.Settings(), ports.Name(MidiDirection::kInput), ports.Name(MidiDirection::kOutput)};
}

}  // namespace qd3
