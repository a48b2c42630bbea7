#include "simulator/SimulatedMidiLink.h"

namespace qd3::sim {

SimulatedMidiLink::SimulatedMidiLink(LinkOptions options, PedalState state)
    : service_(std::move(state), options.delivery, options.timing,
               [this](std::span<const uint8_t> message) { Deliver(message); }) {}

SimulatedMidiLink::~SimulatedMidiLink() = default;

bool SimulatedMidiLink::HasPort(MidiDirection) const {
  return true;
}

std::vector<std::string> SimulatedMidiLink::PortNames(MidiDirection) {
  return {kSimulatorPortName};
}

bool SimulatedMidiLink::OpenPort(MidiDirection direction, unsigned index, const std::string&) {
  if (index != 0) return false;
  if (direction == MidiDirection::Output) {
    outputOpen_ = true;
  } else {
    std::lock_guard lock(callbackMutex_);
    inputOpen_ = true;
  }
  return true;
}

void SimulatedMidiLink::ClosePort(MidiDirection direction) {
  if (direction == MidiDirection::Output) {
    outputOpen_ = false;
  } else {
    std::lock_guard lock(callbackMutex_);
    inputOpen_ = false;
  }
}

void SimulatedMidiLink::SetInputCallback(InputCallback callback, void* user) {
  std::lock_guard lock(callbackMutex_);
  callback_ = callback;
  callbackUser_ = user;
}

void SimulatedMidiLink::CancelInputCallback() {
  std::lock_guard lock(callbackMutex_);
  callback_ = nullptr;
  callbackUser_ = nullptr;
}

bool SimulatedMidiLink::Send(std::span<const uint8_t> message) {
  if (!outputOpen_) return false;
  service_.Receive(message);
  return true;
}

std::size_t SimulatedMidiLink::PendingReplies() const {
  return service_.line().Pending();
}

void SimulatedMidiLink::Deliver(std::span<const uint8_t> message) {
  std::lock_guard lock(callbackMutex_);
  if (!inputOpen_ || callback_ == nullptr) {
    ++lostReplies_;
    return;
  }
  callback_(message.data(), message.size(), callbackUser_);
}

}  // namespace qd3::sim
