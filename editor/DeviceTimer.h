#pragma once

// The 100 ms device timer: what the last replies left to do, then exactly one link of
// the priority chain per tick (firmware, factory write, bank import, bank export,
// polling), and while connected the synchronisation or the session's own requests,
// the IR upload and the IR fetch.

#include "editor/BankActivities.h"
#include "editor/Connection.h"
#include "editor/ImpulseResponses.h"
#include "editor/PresetMirror.h"

namespace qd3 {

class DeviceTimer {
 public:
  struct Needs {
    DeviceSession& session;
    Outbox& outbox;
    Connection& connection;
    PresetMirror& mirror;
    ImpulseResponses& ir;
    BankActivities& banks;
  };
  explicit DeviceTimer(const Needs& needs) : mNeeds(needs) {}

  void OnTick();

 private:
  void ServeConnectedTransfers();

  Needs mNeeds;
};

}  // namespace qd3
