#include "simulator/SimulatedMidiLink.h"

namespace qd3::sim {

SimulatedMidiLink::SimulatedMidiLink(LinkOptions options, PedalState state)
    : mService(
          std::move(state), options.delivery, options.timing,
          [this](std::span<const uint8_t> message) { Deliver(message); },
          [this](std::span<const Bytes> messages) { DeliverBurst(messages); }) {}

SimulatedMidiLink::~SimulatedMidiLink() = default;

bool SimulatedMidiLink::HasPort(MidiDirection) const {
  return true;
}

std::vector<std::string> SimulatedMidiLink::PortNames(MidiDirection) {
  if (mUnplugged) return {};
  return {kSimulatorPortName};
}

bool SimulatedMidiLink::OpenPort(MidiDirection direction, unsigned index, const std::string&) {
  if (index != 0 || mUnplugged) return false;
  if (direction == MidiDirection::kOutput) {
    mOutputOpen = true;
  } else {
    std::lock_guard lock(mCallbackMutex);
    mInputOpen = true;
  }
  return true;
}

void SimulatedMidiLink::ClosePort(MidiDirection direction) {
  if (direction == MidiDirection::kOutput) {
    mOutputOpen = false;
  } else {
    std::lock_guard lock(mCallbackMutex);
    mInputOpen = false;
  }
}

void SimulatedMidiLink::SetUnplugged(bool unplugged) {
  mUnplugged = unplugged;
  if (!unplugged) return;
  ClosePort(MidiDirection::kOutput);
  ClosePort(MidiDirection::kInput);
}

void SimulatedMidiLink::SetInputCallback(InputCallback callback, void* user) {
  std::lock_guard lock(mCallbackMutex);
  mCallback = callback;
  mCallbackUser = user;
}

void SimulatedMidiLink::CancelInputCallback() {
  std::lock_guard lock(mCallbackMutex);
  mCallback = nullptr;
  mCallbackUser = nullptr;
}

bool SimulatedMidiLink::Send(std::span<const uint8_t> message) {
  if (!mOutputOpen) return false;
  mService.Receive(message);
  return true;
}

std::size_t SimulatedMidiLink::PendingReplies() const {
  return mService.Line().Pending();
}

void SimulatedMidiLink::Deliver(std::span<const uint8_t> message) {
  std::lock_guard lock(mCallbackMutex);
  if (!mInputOpen || mCallback == nullptr) {
    ++mLostReplies;
    return;
  }
  mCallback(message.data(), message.size(), mCallbackUser);
}

void SimulatedMidiLink::DeliverBurst(std::span<const Bytes> messages) {
  std::lock_guard lock(mCallbackMutex);
  for (const Bytes& message : messages) {
    if (!mInputOpen || mCallback == nullptr) {
      ++mLostReplies;
      continue;
    }
    mCallback(message.data(), message.size(), mCallbackUser);
  }
}

}  // namespace qd3::sim
