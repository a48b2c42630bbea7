#pragma once

// The bank export: every preset and every user IR they use, fetched one request per
// 100 ms tick and collected as received into the bulk buffer, which then becomes the
// bank file (see BankFile.h).
//
// Pacing: each tick with `backupNext` sends kCmdRequestPreset for `backupPresetIndex`
// (0..127, then incremented); after the presets it sends kCmdRequestIr for the lowest
// n >= `backupIrIndex` with `backupIrWanted`[n] (clearing the flag, `backupIrIndex` =
// n + 1); when none is left `backupIrIndex` becomes 256 and the next tick finishes. The
// replies set `backupNext` again: each preset dump, and each kCmdIrEnd. BankTransfers
// normally takes that step at once from the reply's handler (see TransferPacing), so the
// tick sends only the first request and finishes.
//
// Only whole, checked answers are kept: an IR transfer when it is the one asked for, began
// with its kCmdIrBegin, brought every chunk its group count calls for and its checksum
// holds; a dump when its checksum holds. IR messages nobody asked for are not kept.
//
// Ends: connection lost -> abandoned without a file and without a word; the buffer would
// overflow -> stopped with a message before a byte is written past it. A try fails when
// its answer does not end within 2 s of the request or of its last message, or ends
// unusable; what arrived of it is dropped and it is asked for again, and after 3 retries
// the export stops with a message naming what did not arrive; a preset dump that fails
// its checksum is asked for again, at most 3 times. None of the stops writes a file.

#include <cstdint>
#include <span>
#include <string>

#include "protocol/DeviceMessages.h"
#include "protocol/DeviceSession.h"
#include "protocol/IrReceiveState.h"
#include "protocol/ReplyWatchdog.h"
#include "protocol/TransferStep.h"
#include "protocol/TransferTexts.h"

namespace qd3 {

inline constexpr char kTextExportTooLarge[] =
    "The bank does not fit into 1,048,576 bytes. The export was stopped and no file was "
    "written.";
inline constexpr char kTextExportDumpDamaged[] =
    "The pedal sent a damaged preset several times. The export was stopped and no file was "
    "written.";
// A dump that fails its checksum is asked for again this many times before the export
// stops: a damaged record must never reach a bank file.
inline constexpr int kExportBadDumpRetries = 3;
// A request whose answer does not come is sent again after 2 s (100 ms ticks), 3 times.
inline constexpr int kExportWaitTicks = 20;
inline constexpr int kExportRetries = 3;
inline constexpr char kTextExportStalled[] =
    "The pedal stopped answering. The export was stopped and no file was written.";
// "QD3 did not send impulse response 4 completely. The export was stopped and no file was
// written."
std::string ExportIrIncompleteText(int irNumber);

class BankExport {
 public:
  // `bulkBuffer` is the editor's 1,048,576-byte buffer, shared with the bank import.
  BankExport(DeviceSession& session, std::span<uint8_t> bulkBuffer);

  // After the save dialog: `backupActive` and `backupNext` true, both indexes 0,
  // `bulkLength` 0, every `backupIrWanted` flag cleared.
  void Start();

  // Timer step "backupActive". Also abandons the export when not `connected`
  // (kFailed with an empty message: nothing to tell the player).
  TransferStep OnTick();

  // Dispatcher, kCmdPresetDump while `backupActive`: marks the user IRs the dump uses
  // (bytes 82/83 with 95..98), appends the 267 bytes, shows progress
  // `backupPresetIndex` / 128 and sets `backupNext`. A dump whose checksum fails is not
  // kept: the same slot is asked for again, at most kExportBadDumpRetries times.
  TransferStep OnPresetDump(std::span<const uint8_t> message);
  // Dispatcher, kCmdIrBegin / kCmdIrData / kCmdIrEnd while `backupActive`: appends the
  // messages of the IR asked for; a whole, checked end shows `backupIrIndex` / 256 and
  // sets `backupNext`, any other end is a failed try.
  TransferStep OnIrMessage(DeviceCommand command, std::span<const uint8_t> message);

  // The player's Cancel: the export ends now, without a file (kFailed, no message).
  TransferStep Cancel() { return Stop(""); }
  // The slot whose dump was asked for and has not come, -1 when no dump is awaited. Its
  // late answer, after a Cancel, belongs to nobody.
  int AwaitedSlot() const;

  // After a kFinished step: the bank file's bytes, the first `bulkLength` of the buffer.
  // The editor writes them (SaveBankFile) and says "Finished successfully!" only when the
  // write succeeded.
  std::span<const uint8_t> FileBytes() const;

 private:
  TransferStep Append(std::span<const uint8_t> message);
  TransferStep Stop(const std::string& text);
  // The answer under way is unusable or did not come: dropped, and asked for again while
  // retries are left.
  TransferStep TryAgain(WatchdogVerdict verdict);
  bool WaitingForIr() const { return mRequestedIr >= 0; }

  DeviceSession& mSession;
  std::span<uint8_t> mBuffer;
  ReplyWatchdog mWatchdog{kExportWaitTicks, kExportRetries};
  int mBadDumps = 0;              // damaged dumps of the slot asked for last
  Bytes mLastRequest;             // the request a lost answer is asked for again with
  int mRequestStart = 0;          // `bulkLength` when it left
  int mRequestedIr = -1;          // the IR asked for last, -1 while the presets are fetched
  bool mIrPartSeen = false;       // some of the requested IR arrived, in any try
  IrReceiveState mIr;             // the requested IR's groups, counted and summed
  bool mCollecting = false;       // its begin came and its end has not
  bool mOtherIrUnderWay = false;  // a late answer for another IR is arriving
};

}  // namespace qd3
