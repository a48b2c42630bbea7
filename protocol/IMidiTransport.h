#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qd3 {

enum class MidiDirection { kInput, kOutput };

// One MIDI API as the host uses it: list ports, open one per direction, send whole
// messages, receive whole messages on the transport's own thread. RtMidi is one
// implementation; the in-process simulated pedal is another.
class IMidiTransport {
 public:
  // Runs on the transport's receive thread, once per complete message. It must
  // not block: the host only copies the bytes into its receive queues.
  using InputCallback = void (*)(const uint8_t* data, size_t size, void* user);

  virtual ~IMidiTransport() = default;

  // False when the direction's underlying object could not be created.
  virtual bool HasPort(MidiDirection direction) const = 0;
  virtual std::vector<std::string> PortNames(MidiDirection direction) = 0;
  // Opens port index (0-based, in PortNames order) under our own port name.
  virtual bool OpenPort(MidiDirection direction, unsigned index, const std::string& ourName) = 0;
  virtual void ClosePort(MidiDirection direction) = 0;
  virtual void SetInputCallback(InputCallback callback, void* user) = 0;
  virtual void CancelInputCallback() = 0;
  // Synchronous: returns when the transport has passed the message on.
  virtual bool Send(std::span<const uint8_t> message) = 0;
};

}  // namespace qd3
