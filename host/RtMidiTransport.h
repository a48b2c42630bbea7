#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "protocol/IMidiTransport.h"

class RtMidiIn;
class RtMidiOut;

namespace qd3 {

// Which MIDI API an RtMidi object ended up on.
enum class MidiApi { kNone, kAlsa, kJack };
// "ALSA", "JACK" or "none", as the preferences show it.
const char* MidiApiName(MidiApi api);

// The MIDI transport over RtMidi: one input object (client "RtMidi Input
// Client") and one output object (client "RtMidi Output Client").
//
// The API follows the audio driver setting: 0 the platform's default (ALSA on
// Linux), 1 JACK; when the chosen API's object cannot be created the other one is
// tried. JACK is used only while a JACK server runs (JackServerRunning), so
// driver 1 without a server ends on ALSA. When no input object can be created there is no output
// object either; when only the output fails, the input exists alone.
//
// RtMidi reports errors by exception or, once an error callback is installed, by
// calling it; neither crosses this class. The text of the latest error is kept
// for LastError, and RtMidi no longer prints it once the objects exist (what it
// prints while the constructor fails cannot be silenced).
class RtMidiTransport final : public IMidiTransport {
 public:
  explicit RtMidiTransport(unsigned audioDriver);
  ~RtMidiTransport() override;

  RtMidiTransport(const RtMidiTransport&) = delete;
  RtMidiTransport& operator=(const RtMidiTransport&) = delete;

  bool HasPort(MidiDirection direction) const override;
  std::vector<std::string> PortNames(MidiDirection direction) override;
  bool OpenPort(MidiDirection direction, unsigned index, const std::string& ourName) override;
  void ClosePort(MidiDirection direction) override;
  void SetInputCallback(InputCallback callback, void* user) override;
  void CancelInputCallback() override;
  bool Send(std::span<const uint8_t> message) override;

  MidiApi Api(MidiDirection direction) const;
  std::string LastError() const;

 private:
  struct Glue;  // the functions RtMidi calls back

  void RecordError(const std::string& text);

  std::unique_ptr<RtMidiIn> mIn;
  std::unique_ptr<RtMidiOut> mOut;
  MidiApi mInApi = MidiApi::kNone;
  MidiApi mOutApi = MidiApi::kNone;

  // The host's callback, reached from RtMidi's input thread without a lock. The
  // in-flight count lets CancelInputCallback wait until no call is running.
  std::atomic<InputCallback> mCallback{nullptr};
  std::atomic<void*> mCallbackUser{nullptr};
  std::atomic<int> mCallbacksInFlight{0};

  mutable std::mutex mErrorMutex;
  std::string mLastError;
};

}  // namespace qd3
