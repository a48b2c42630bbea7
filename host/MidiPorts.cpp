#include "host/MidiPorts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qd3 {

MidiPorts::MidiPorts(IMidiTransport& transport, IMidiPortSettings& settings)
    : mTransport(transport), mSettings(settings) {
  mInputPorts.emplace_back(kMidiPortOff);
  mOutputPorts.emplace_back(kMidiPortOff);
}

MidiPorts::~MidiPorts() {
  Shutdown();
}

void MidiPorts::Start() {
  if (mTransport.HasPort(MidiDirection::kInput)) {
    mTransport.SetInputCallback(&MidiReceiveQueues::InputCallback, &mQueues);
    mCallbackInstalled = true;
  }
  ProbePorts();
  SelectMidiPort(MidiDirection::kInput, mSettings.Name(MidiDirection::kInput));
  SelectMidiPort(MidiDirection::kOutput, mSettings.Name(MidiDirection::kOutput));
}

void MidiPorts::ProbePorts() {
  mInputPorts.assign(1, kMidiPortOff);
  for (std::string& name : mTransport.PortNames(MidiDirection::kInput)) {
    mInputPorts.push_back(std::move(name));
  }
  std::vector<std::string> outputs;
  {
    std::lock_guard lock(mOutputMutex);
    outputs = mTransport.PortNames(MidiDirection::kOutput);
  }
  mOutputPorts.assign(1, kMidiPortOff);
  for (std::string& name : outputs) mOutputPorts.push_back(std::move(name));
}

bool MidiPorts::Lists(const std::vector<std::string>& list, const std::string& name) {
  // Entry 0 is our "off", never a port.
  return std::find(list.begin() + 1, list.end(), name) != list.end();
}

MidiPorts::PortRefresh MidiPorts::RefreshPorts() {
  const std::vector<std::string> oldInputs = mInputPorts;
  const std::vector<std::string> oldOutputs = mOutputPorts;
  ProbePorts();
  PortRefresh result;
  result.listsChanged = oldInputs != mInputPorts || oldOutputs != mOutputPorts;
  for (MidiDirection direction : {MidiDirection::kInput, MidiDirection::kOutput}) {
    const bool input = direction == MidiDirection::kInput;
    const std::string stored = mSettings.Name(direction);
    if (IsOff(stored) || !mTransport.HasPort(direction)) continue;
    const bool listedBefore = Lists(input ? oldInputs : oldOutputs, stored);
    const bool listedNow = Lists(input ? mInputPorts : mOutputPorts, stored);
    if (listedBefore && !listedNow) result.vanished = true;
    if (listedBefore || !listedNow) continue;
    if (SelectMidiPort(direction, stored)) result.reopened = true;
  }
  return result;
}

const std::vector<std::string>& MidiPorts::PortList(MidiDirection direction) const {
  return direction == MidiDirection::kInput ? mInputPorts : mOutputPorts;
}

bool MidiPorts::IsOff(const std::string& name) {
  // The four bytes "off\0": the C string is "off", whatever a std::string may
  // carry behind an embedded NUL.
  return name.size() >= 3 && std::memcmp(name.c_str(), "off", 4) == 0;
}

unsigned MidiPorts::ResolvePortIndex(MidiDirection direction, const std::string& name) {
  if (IsOff(name)) return 0;

  std::vector<std::string> names;
  if (direction == MidiDirection::kOutput) {
    std::lock_guard lock(mOutputMutex);
    names = mTransport.PortNames(direction);
  } else {
    names = mTransport.PortNames(direction);
  }
  for (size_t j = 0; j < names.size(); ++j) {
    if (names[j] == name) return static_cast<unsigned>(j + 1);
  }

  // The stored port is gone (or was never chosen): fall back to "off" for good.
  mSettings.SetName(direction, kMidiPortOff);
  mSettings.Save();
  return 0;
}

bool MidiPorts::SelectMidiPort(MidiDirection direction, const std::string& name) {
  const unsigned index = ResolvePortIndex(direction, name);
  if (!mTransport.HasPort(direction)) return false;

  const char* ourName = direction == MidiDirection::kInput ? kOurInputPortName : kOurOutputPortName;
  std::unique_lock<std::mutex> lock;
  if (direction == MidiDirection::kOutput) lock = std::unique_lock(mOutputMutex);
  mTransport.ClosePort(direction);
  if (index == 0) return true;
  return mTransport.OpenPort(direction, index - 1, ourName);
}

bool MidiPorts::SendDeviceMessage(std::span<const uint8_t> message) {
  std::lock_guard lock(mOutputMutex);
  if (!mTransport.HasPort(MidiDirection::kOutput)) return false;
  return mTransport.Send(message);
}

void MidiPorts::Shutdown() {
  mQueues.SetExiting();
  if (mShutDown) return;
  mShutDown = true;
  if (mCallbackInstalled) {
    mTransport.CancelInputCallback();
    mCallbackInstalled = false;
  }
  if (mTransport.HasPort(MidiDirection::kInput)) mTransport.ClosePort(MidiDirection::kInput);
  std::lock_guard lock(mOutputMutex);
  if (mTransport.HasPort(MidiDirection::kOutput)) mTransport.ClosePort(MidiDirection::kOutput);
}

void MidiPorts::ReportDroppedInput() {
  const std::string report = mQueues.TakeDropReport();
  if (!report.empty()) std::fputs(report.c_str(), stderr);
}

}  // namespace qd3
