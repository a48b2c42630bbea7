#include "host/MidiPorts.h"

#include <cstring>

namespace qd3 {

MidiPorts::MidiPorts(IMidiTransport& transport, IMidiPortSettings& settings)
    : transport_(transport), settings_(settings) {
  inputPorts_.emplace_back(kMidiPortOff);
  outputPorts_.emplace_back(kMidiPortOff);
}

MidiPorts::~MidiPorts() {
  Shutdown();
}

void MidiPorts::Start() {
  if (transport_.HasPort(MidiDirection::Input)) {
    transport_.SetInputCallback(&MidiReceiveQueues::InputCallback, &queues_);
    callbackInstalled_ = true;
  }
  ProbePorts();
  SelectMidiPort(MidiDirection::Input, settings_.Name(MidiDirection::Input));
  SelectMidiPort(MidiDirection::Output, settings_.Name(MidiDirection::Output));
}

void MidiPorts::ProbePorts() {
  inputPorts_.assign(1, kMidiPortOff);
  for (std::string& name : transport_.PortNames(MidiDirection::Input)) {
    inputPorts_.push_back(std::move(name));
  }
  std::vector<std::string> outputs;
  {
    std::lock_guard lock(outputMutex_);
    outputs = transport_.PortNames(MidiDirection::Output);
  }
  outputPorts_.assign(1, kMidiPortOff);
  for (std::string& name : outputs) outputPorts_.push_back(std::move(name));
}

const std::vector<std::string>& MidiPorts::PortList(MidiDirection direction) const {
  return direction == MidiDirection::Input ? inputPorts_ : outputPorts_;
}

bool MidiPorts::IsOff(const std::string& name) {
  // The four bytes "off\0": the C string is "off", whatever a std::string may
  // carry behind an embedded NUL.
  return name.size() >= 3 && std::memcmp(name.c_str(), "off", 4) == 0;
}

unsigned MidiPorts::ResolvePortIndex(MidiDirection direction, const std::string& name) {
  if (IsOff(name)) return 0;

  std::vector<std::string> names;
  if (direction == MidiDirection::Output) {
    std::lock_guard lock(outputMutex_);
    names = transport_.PortNames(direction);
  } else {
    names = transport_.PortNames(direction);
  }
  for (size_t j = 0; j < names.size(); ++j) {
    if (names[j] == name) return static_cast<unsigned>(j + 1);
  }

  // The stored port is gone (or was never chosen): fall back to "off" for good.
  settings_.SetName(direction, kMidiPortOff);
  settings_.Save();
  return 0;
}

bool MidiPorts::SelectMidiPort(MidiDirection direction, const std::string& name) {
  const unsigned index = ResolvePortIndex(direction, name);
  if (!transport_.HasPort(direction)) return false;

  const char* ourName = direction == MidiDirection::Input ? kOurInputPortName : kOurOutputPortName;
  std::unique_lock<std::mutex> lock;
  if (direction == MidiDirection::Output) lock = std::unique_lock(outputMutex_);
  transport_.ClosePort(direction);
  if (index == 0) return true;
  return transport_.OpenPort(direction, index - 1, ourName);
}

bool MidiPorts::SendDeviceMessage(std::span<const uint8_t> message) {
  std::lock_guard lock(outputMutex_);
  if (!transport_.HasPort(MidiDirection::Output)) return false;
  return transport_.Send(message);
}

void MidiPorts::Shutdown() {
  queues_.SetExiting();
  if (shutDown_) return;
  shutDown_ = true;
  if (callbackInstalled_) {
    transport_.CancelInputCallback();
    callbackInstalled_ = false;
  }
  if (transport_.HasPort(MidiDirection::Input)) transport_.ClosePort(MidiDirection::Input);
  std::lock_guard lock(outputMutex_);
  if (transport_.HasPort(MidiDirection::Output)) transport_.ClosePort(MidiDirection::Output);
}

}  // namespace qd3
