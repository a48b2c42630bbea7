#pragma once

// qd3-sim's two MIDI ports: the pedal's input (the editor's requests arrive there) and its
// output (the pedal's answers leave there). ALSA goes through RtMidi; JACK goes through
// libjack directly (see JackPedalPorts.cpp for why).

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qd3::sim {

// Runs on the MIDI system's input thread (JACK's process thread on JACK) with each whole
// message, and must not wait. An empty message stands for one that was too long for the
// port to hold and was lost.
using PortInput = void (*)(std::span<const uint8_t> message, void* user);

// What stops the ports from opening.
class PortError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PedalPorts {
 public:
  virtual ~PedalPorts() = default;

  // The output first (the pedal's answers need it), then the input. Both throw PortError.
  virtual void OpenOutput(const std::string& client, const std::string& port) = 0;
  virtual void OpenInput(const std::string& client, const std::string& port, PortInput input,
                         void* user) = 0;
  // The clients' names as the MIDI system knows them.
  virtual std::string OutputClient() const = 0;
  virtual std::string InputClient() const = 0;

  // From one thread at a time. SendBurst hands the messages over together, in order, so
  // that they leave back to back (on JACK in the same period, when it holds them).
  virtual void Send(std::span<const uint8_t> message) = 0;
  virtual void SendBurst(std::span<const std::vector<uint8_t>> messages) = 0;

  // No input callback runs once CloseInput has returned.
  virtual void CloseInput() = 0;
  virtual void CloseOutput() = 0;
};

std::unique_ptr<PedalPorts> MakeAlsaPedalPorts();
std::unique_ptr<PedalPorts> MakeJackPedalPorts();

}  // namespace qd3::sim
