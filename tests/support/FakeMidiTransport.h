#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "protocol/IMidiTransport.h"

namespace qd3::test {

// An in-memory MIDI transport: a fixed list of port names per direction, a log
// of every port operation, and a "wire" that collects what is sent. Deliver plays
// the transport's input thread. Port and callback operations are for one thread;
// Send may be entered from several, and reports it when two calls overlap.
class FakeMidiTransport : public IMidiTransport {
 public:
  std::vector<std::string> inputNames;
  std::vector<std::string> outputNames;
  bool hasInput = true;
  bool hasOutput = true;
  bool refuseOpen = false;  // OpenPort fails, like a port that vanished
  // Send writes one byte at a time and yields between bytes, which gives a second
  // sender every chance to interleave if nothing keeps it out.
  bool slowWire = false;
  // Output port changes leave this byte on the wire, so that a change landing
  // inside a message shows.
  bool markPortChangesOnWire = false;
  static constexpr uint8_t kPortChangeMark = 0xFD;

  std::vector<std::string> log;  // "close in", "open out 1 as RtMidi Output", ...
  std::vector<uint8_t> wire;
  std::vector<size_t> sentSizes;
  std::atomic<bool> sendsOverlapped{false};

  // The bytes to push through the callback at the moment it is cancelled: a
  // message in flight during shutdown.
  std::vector<uint8_t> deliverOnCancel;

  bool HasPort(MidiDirection direction) const override {
    return direction == MidiDirection::kInput ? hasInput : hasOutput;
  }

  std::vector<std::string> PortNames(MidiDirection direction) override {
    if (!HasPort(direction)) return {};
    return direction == MidiDirection::kInput ? inputNames : outputNames;
  }

  bool OpenPort(MidiDirection direction, unsigned index, const std::string& ourName) override {
    MarkPortChange(direction);
    log.push_back("open " + Tag(direction) + " " + std::to_string(index) + " as " + ourName);
    return !refuseOpen;
  }

  void ClosePort(MidiDirection direction) override {
    MarkPortChange(direction);
    log.push_back("close " + Tag(direction));
  }

  void SetInputCallback(InputCallback callback, void* user) override {
    log.push_back("set callback");
    mCallback = callback;
    mUser = user;
  }

  void CancelInputCallback() override {
    log.push_back("cancel callback");
    if (!deliverOnCancel.empty()) Deliver(deliverOnCancel);
    mCallback = nullptr;
    mUser = nullptr;
  }

  bool Send(std::span<const uint8_t> message) override {
    if (mInSend.fetch_add(1) != 0) sendsOverlapped = true;
    for (uint8_t byte : message) {
      wire.push_back(byte);
      if (slowWire) std::this_thread::yield();
    }
    sentSizes.push_back(message.size());
    mInSend.fetch_sub(1);
    return true;
  }

  // One complete incoming message, as the transport's input thread hands it on.
  void Deliver(std::span<const uint8_t> message) {
    if (mCallback != nullptr) mCallback(message.data(), message.size(), mUser);
  }
  bool HasCallback() const { return mCallback != nullptr; }

 private:
  void MarkPortChange(MidiDirection direction) {
    if (markPortChangesOnWire && direction == MidiDirection::kOutput) {
      wire.push_back(kPortChangeMark);
    }
  }
  static std::string Tag(MidiDirection direction) {
    return direction == MidiDirection::kInput ? "in" : "out";
  }

  InputCallback mCallback = nullptr;
  void* mUser = nullptr;
  std::atomic<int> mInSend{0};
};

}  // namespace qd3::test
