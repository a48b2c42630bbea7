#pragma once

// The session with the pedal: polling until one answers, the firmware check and the
// status lines, the blocks it answers the session's requests with (global settings,
// the two MIDI maps), its parameter echoes, and RECONNECT.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

#include "editor/EditorState.h"
#include "editor/Outbox.h"
#include "editor/ParamWriter.h"
#include "editor/ScreenWriter.h"
#include "params/ParamCatalogue.h"
#include "protocol/DeviceSession.h"
#include "protocol/SessionWatch.h"

namespace qd3 {

class Connection {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    DeviceSession& session;
    SessionWatch& watch;
    const ParamCatalogue& params;
    ParamWriter& writer;
    std::array<uint8_t, 128>& programMap;
    MapsRead& mapsRead;
  };
  explicit Connection(const Needs& needs) : mNeeds(needs) {}
  // Told of each connection with the pedal's serial number.
  using ConnectedSink = std::function<void(const std::string& serial)>;
  void SetConnectedSink(ConnectedSink sink) { mConnected = std::move(sink); }

  // The device timer's link while not connected.
  void Poll();
  // The session's own requests while connected: sent again after silence; when the
  // pedal stays deaf, it is looked for again.
  void ServeSessionWatch();
  // A transfer of the session (the watch, the synchronisation) ended because the pedal
  // stopped answering: its message, said once per loss, and the pedal is looked for again.
  void Lost(TransferStep step);
  // "RECONNECT": forget the pedal and poll again.
  void Reconnect();
  // Part of closing the window: says goodbye to a connected pedal.
  void EditorClosing();

  // A data block before the connection: the device-info reply, or the hardware settings.
  void OnDataBlockUnconnected(std::span<const uint8_t> m);
  void OnGlobalSettings(std::span<const uint8_t> m);
  void OnControllerMap(std::span<const uint8_t> m);
  void OnProgramMap(std::span<const uint8_t> m);
  void OnParamEcho(std::span<const uint8_t> m);

 private:
  void SetParameterFromBlock(int index, int raw);

  Needs mNeeds;
  ConnectedSink mConnected;
  bool mLossReported = false;  // until the pedal answers the session again
};

}  // namespace qd3
