#pragma once

// The simulated pedal as a MIDI transport, for the editor's host in place of RtMidi: one
// input and one output port, both named "QD3 Simulator". Send hands the message to the
// pedal; the pedal's answers reach the installed InputCallback from the reply line's
// thread (kPaced) or from the test's pump (kManual: Pump, PumpOne, AdvanceBy). The
// timing (burst, reply delay, jitter, write delay) is the reply line's WireTiming, given in
// LinkOptions or changed at any time with SetTiming.
//
// Nothing is delivered while the input port is closed or no callback is installed: the
// answer is lost, as on a real cable nobody listens to. Send fails while the output port
// is closed. After CancelInputCallback returns, the callback is not running and is not
// called again.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "protocol/IMidiTransport.h"
#include "simulator/DefaultState.h"
#include "simulator/PedalService.h"

namespace qd3::sim {

inline constexpr char kSimulatorPortName[] = "QD3 Simulator";

struct LinkOptions {
  DeliveryMode delivery = DeliveryMode::kManual;
  WireTiming timing;
};

class SimulatedMidiLink final : public IMidiTransport {
 public:
  explicit SimulatedMidiLink(LinkOptions options = {}, PedalState state = DefaultPedalState());
  ~SimulatedMidiLink() override;

  SimulatedMidiLink(const SimulatedMidiLink&) = delete;
  SimulatedMidiLink& operator=(const SimulatedMidiLink&) = delete;

  // ---- IMidiTransport ------------------------------------------------------------------------
  bool HasPort(MidiDirection direction) const override;
  std::vector<std::string> PortNames(MidiDirection direction) override;
  bool OpenPort(MidiDirection direction, unsigned index, const std::string& ourName) override;
  void ClosePort(MidiDirection direction) override;
  void SetInputCallback(InputCallback callback, void* user) override;
  void CancelInputCallback() override;
  bool Send(std::span<const uint8_t> message) override;

  // ---- The pedal and the wire ----------------------------------------------------------------
  PedalService& Pedal() { return mService; }
  const PedalService& Pedal() const { return mService; }

  std::size_t Pump() { return mService.Line().PumpAll(); }
  std::size_t PumpOne() { return mService.Line().PumpOne(); }
  std::size_t AdvanceBy(Micros step) { return mService.Line().AdvanceBy(step); }
  std::size_t PendingReplies() const;
  bool WaitIdle(std::chrono::milliseconds timeout) { return mService.Line().WaitIdle(timeout); }
  // For the answers to messages sent from now on.
  void SetTiming(WireTiming timing) { mService.Line().SetTiming(timing); }
  WireTiming Timing() const { return mService.Line().Timing(); }

  // Answers that reached no callback because the input was closed or had none.
  int LostReplies() const { return mLostReplies.load(); }

  // The cable is pulled: both ports vanish from the lists and close, nothing can be
  // opened or sent, and answers on the wire are lost. Plugged back, the ports are listed
  // again but stay closed until the host opens them, as after a real USB reconnection.
  void SetUnplugged(bool unplugged);
  bool Unplugged() const { return mUnplugged.load(); }

 private:
  void Deliver(std::span<const uint8_t> message);
  // A burst reaches the callback in one go: nothing closes the port or cancels the
  // callback halfway through.
  void DeliverBurst(std::span<const Bytes> messages);

  std::mutex mCallbackMutex;  // held while the callback runs
  InputCallback mCallback = nullptr;
  void* mCallbackUser = nullptr;
  bool mInputOpen = false;
  std::atomic<bool> mOutputOpen{false};
  std::atomic<bool> mUnplugged{false};
  std::atomic<int> mLostReplies{0};

  PedalService mService;  // last: its line stops before the callback state goes
};

}  // namespace qd3::sim
