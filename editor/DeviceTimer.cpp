#include "editor/DeviceTimer.h"

namespace qd3 {

void DeviceTimer::OnTick() {
  DeviceSession& session = mNeeds.session;
  mNeeds.mirror.Sync().AgeLateDump();
  mNeeds.banks.AfterReplies();
  if (session.irRequestPending) {
    session.irRequestPending = false;
    mNeeds.ir.RequestSelectedUserIr();
  }
  // The waits of the transfers that have no other tick while they wait for an answer.
  mNeeds.banks.ApplyWatchdogs();

  // Exactly one of these per tick, in priority order.
  if (mNeeds.banks.ServeTick()) return;
  if (!session.connected) {
    mNeeds.connection.Poll();
    return;
  }
  ServeConnectedTransfers();
}

void DeviceTimer::ServeConnectedTransfers() {
  PresetSync& sync = mNeeds.mirror.Sync();
  // The synchronisation's bracket and first request take the tick alone.
  if (sync.Active() && mNeeds.session.readIndex == -1) {
    mNeeds.outbox.Apply(sync.OnTick(), kSyncProgress);
    return;
  }
  if (sync.Active()) {
    TransferStep step = sync.OnTick();
    // The pedal stopped answering: look for it again, as the session's own give-up does.
    if (step.end == TransferEnd::kFailed) {
      mNeeds.connection.Lost(std::move(step));
    } else {
      mNeeds.outbox.Apply(step, kSyncProgress);
    }
  } else {
    mNeeds.connection.ServeSessionWatch();
  }
  mNeeds.ir.OnTick();
}

}  // namespace qd3
