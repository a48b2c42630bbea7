#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "host/IMidiPortSettings.h"
#include "host/MidiReceiveQueues.h"
#include "protocol/IMidiTransport.h"

namespace qd3 {

// Our own names for the ports we open on the transport.
inline constexpr char kOurInputPortName[] = "RtMidi Input";
inline constexpr char kOurOutputPortName[] = "RtMidi Output";

// The host's one MIDI input and one MIDI output port: the port lists shown in the
// preferences, selection by stored name, the synchronous send and the receive
// queues fed by the transport's input thread.
//
// Threads: SelectMidiPort, ProbePorts, Start and Shutdown on the UI thread;
// SendDeviceMessage from any thread; DrainMidiQueues from exactly one thread at
// a time (the audio thread, or whatever pass takes its place). The transport and
// the settings must outlive this object.
class MidiPorts {
 public:
  MidiPorts(IMidiTransport& transport, IMidiPortSettings& settings);
  // Runs Shutdown when the shell has not.
  ~MidiPorts();

  MidiPorts(const MidiPorts&) = delete;
  MidiPorts& operator=(const MidiPorts&) = delete;

  // Start-up once the transport's objects exist: installs the input callback,
  // builds the port lists, then selects the input and the output port by their
  // stored names.
  void Start();

  // Rebuilds both port lists: "off" first, then the transport's names in order.
  void ProbePorts();

  // What a refresh of the port lists found.
  struct PortRefresh {
    bool listsChanged = false;
    // A stored port that was missing from the previous lists is back and open
    // again: the pedal was plugged back in.
    bool reopened = false;
    // An open stored port is no longer listed: the pedal was unplugged.
    bool vanished = false;
  };
  // Called when ports may have come or gone (a JACK registration event, or the
  // once-a-second look at ALSA's list): rebuilds the lists, and reopens each
  // direction whose stored port name had vanished and is listed again. A port
  // that vanishes keeps its stored name, so that it can come back; only a name
  // missing when it is selected falls back to "off".
  PortRefresh RefreshPorts();
  const std::vector<std::string>& PortList(MidiDirection direction) const;

  // The only way a port is opened or closed. Resolves name to a port index
  // ("off" is 0, a port name j is j + 1; an unknown name stores "off" and saves
  // the settings), closes the direction's port and opens the resolved one.
  // False when the direction has no object, or when the transport refuses to open
  // the port.
  bool SelectMidiPort(MidiDirection direction, const std::string& name);

  // Sends one whole message on the output. Messages sent from several threads at
  // once leave one after the other, never interleaved. False, with nothing sent,
  // when there is no output object; otherwise the transport's verdict.
  bool SendDeviceMessage(std::span<const uint8_t> message);

  // The drain pass: every short message to onShort, then every SysEx message to
  // onSysex(const uint8_t*, size_t), in arrival order.
  template <typename ShortHandler, typename SysexHandler>
  void DrainMidiQueues(ShortHandler&& onShort, SysexHandler&& onSysex) {
    mQueues.Drain(onShort, onSysex);
  }
  template <typename SysexHandler>
  void DrainMidiQueues(SysexHandler&& onSysex) {
    mQueues.Drain(IgnoreShortMidiMessage, onSysex);
  }

  // Shutdown, in order: SetExiting first thing (the input callback then keeps
  // nothing); once the audio stream has stopped, Shutdown cancels the input
  // callback and closes both ports. Both may be called more than once.
  void SetExiting() noexcept { mQueues.SetExiting(); }
  void Shutdown();

  MidiReceiveQueues& Queues() { return mQueues; }

  // UI or main thread, after a drain pass: prints the receive queues' first
  // report of lost messages on stderr (each cause once in the program's life).
  void ReportDroppedInput();

 private:
  // 0 = closed, j + 1 = the transport's port j; stores "off" when nothing matches.
  unsigned ResolvePortIndex(MidiDirection direction, const std::string& name);
  static bool IsOff(const std::string& name);
  static bool Lists(const std::vector<std::string>& list, const std::string& name);

  IMidiTransport& mTransport;
  IMidiPortSettings& mSettings;
  MidiReceiveQueues mQueues;
  std::vector<std::string> mInputPorts;
  std::vector<std::string> mOutputPorts;
  // Held around every use of the transport's output side, so that two sends,
  // or a send and a port change, never overlap on it.
  std::mutex mOutputMutex;
  bool mCallbackInstalled = false;
  bool mShutDown = false;
};

}  // namespace qd3
