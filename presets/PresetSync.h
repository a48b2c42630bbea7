#pragma once

// The synchronisation run: after the pedal's checksum block, every slot whose checksum
// differs from the cached one is read, lowest first, one request in flight at a time.
//
//   checksum block with differences -> tick: kCmdBulkBegin -> tick: first request
//   -> each good dump: the next request at once -> after the last: global settings
//
// The run's state is the session's own (readAllActive, readIndex, readTotal, readDone,
// bulkBeginPending) and the checksum table's pending flags; this object adds the wait
// for a dump that never comes. Caching the record and labelling its row are the
// caller's: a good dump is handed back as the slot it stored.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "presets/ChecksumTable.h"
#include "protocol/DeviceSession.h"
#include "protocol/ReplyWatchdog.h"
#include "protocol/TransferStep.h"

namespace qd3 {

// A dump that does not arrive is asked for again after this many 100 ms ticks (2 s: a
// dump needs about 6 ms on the wire, so the pedal has long stopped answering), at most
// kSyncMaxRetries times; then the run ends without it.
inline constexpr int kSyncWaitTicks = 20;
inline constexpr int kSyncMaxRetries = 3;
// A slot whose dump fails its checksum this many times in a row is skipped for this run.
inline constexpr int kSyncMaxBadDumps = 5;
inline constexpr const char* kTextSyncGaveUp =
    "The QD3 stopped answering while its presets were read. The presets not read "
    "yet will be fetched at the next connection.";

inline constexpr const char* kTextSyncCancelled =
    "Reading cancelled. The presets not read yet will be fetched at the next connection.";

class PresetSync {
 public:
  PresetSync(DeviceSession& session, ChecksumTable& checksums);

  // The pedal's verified checksum block: marks the stale slots and either asks for the
  // global settings at once or arms the run for the timer.
  TransferStep OnChecksumBlock(std::span<const uint8_t, kChecksumBlockSize> data);

  // Whether the timer serves the run on this tick: the bracket and first request
  // before the first dump, the wait for a missing dump afterwards.
  bool Active() const { return mSession.readAllActive; }
  TransferStep OnTick();

  // Whether a dump arriving now is one of the run's: only after its first request, so
  // that an answer already under way when the run began counts as the current preset.
  bool OwnsDump() const { return mSession.readAllActive && mSession.readIndex >= 0; }

  struct DumpResult {
    std::optional<int> storedSlot;  // a good dump: cache it and label its row
    TransferStep step;              // the next request, or the end of the run
  };
  // A 267-byte dump of the run. A bad checksum asks for the same slot again, up to
  // kSyncMaxBadDumps times; then the slot is left pending for the next connection and the
  // run goes on. `patchOffset` (0 or 1) numbers such slots in the message at the end.
  DumpResult OnDump(std::span<const uint8_t> message, int patchOffset = 0);

  // The player's Cancel: the run ends as after its last dump (the global settings are
  // asked for, so the session goes on), the slots not read stay pending. Empty when no
  // run is active.
  TransferStep Cancel();
  // Whether `message` is the dump the cancelled run still had coming; it is dropped then,
  // for taken as the current preset it would replace the edit buffer.
  bool DropLateDump(std::span<const uint8_t> message);
  // Every device tick: a dump that has not come within kSyncWaitTicks of the Cancel is not
  // waited for any longer, so a later dump of that slot counts again.
  void AgeLateDump();

 private:
  TransferStep Start();
  TransferStep Finish();
  // The next slot to ask for, or the end of the run.
  TransferStep Next(int patchOffset);
  std::optional<int> LowestPendingNotSkipped() const;

  DeviceSession& mSession;
  ChecksumTable& mChecksums;
  ReplyWatchdog mWatchdog{kSyncWaitTicks, kSyncMaxRetries};
  int mBadDumps = 0;          // in a row, of the slot asked for
  std::vector<int> mSkipped;  // slots whose dumps stayed bad in this run
  int mCancelledSlot = -1;    // asked for by a cancelled run and not yet come
  int mCancelledTicks = 0;    // ticks left to wait for it
};

}  // namespace qd3
