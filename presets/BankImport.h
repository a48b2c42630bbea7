#pragma once

// The bank import: the messages of a bank file replayed to the pedal with the restore
// commands (see RestoreRewriter), one per 100 ms tick while `connected`, bracketed by
// kCmdBulkBegin and kCmdBulkEnd.
//
// Pacing: the first tick sends only kCmdBulkBegin (`bulkBeginPending`); each later tick
// with `restoreNext` takes message `restoreIndex`, rewrites and sends it and shows
// (`restoreIndex` + 1) / `restoreTotal`. IR data chunks (0x78) are not acknowledged: the
// index moves on and `restoreNext` is set at once. Every other message waits for
// kCmdWriteAck or kCmdWriteNext, on which BankTransfers normally sends the next message at
// once (see TransferPacing) unless it is an IR data chunk. The last kCmdWriteAck sends kCmdBulkEnd
// and sets `restoreFinished`; the editor's timer then finishes (message, cache rebuild,
// reconnection).
//
// A bank whose IR transfers or preset records fail their checksums is refused before
// anything is sent.
//
// Ends early: kCmdWriteNak -> "Communication error!" with how many of the file's presets
// the pedal had taken; 5 s without an answer to a sent message, or suspended that long
// without a connection -> a message. Both close the bracket with kCmdBulkEnd. What the
// pedal already took stays stored.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "presets/BankFile.h"
#include "protocol/DeviceSession.h"
#include "protocol/ReplyWatchdog.h"
#include "protocol/TransferStep.h"
#include "protocol/TransferTexts.h"

namespace qd3 {

inline constexpr char kTextImportStalled[] =
    "The pedal stopped answering. The import was stopped; the presets sent so far stay on "
    "the pedal.";
inline constexpr char kTextBankTooLarge[] =
    "The bank file is larger than the import buffer. Nothing was sent to the pedal.";
inline constexpr char kTextImportConfirm[] =
    "This operation will overwrite the current Presets!\nAre you sure to continue?";

// "Communication error! The pedal refused the bank file after 12 of its 128 presets had
// been written; those stay on the pedal and the rest was not sent."
std::string ImportRefusedText(int presetsWritten, int presetsInFile);

class BankImport {
 public:
  // Why `bank` cannot be imported (the check Start makes), nullopt when it can.
  static std::optional<std::string> Refusal(std::span<const uint8_t> bank);

  // `bulkBuffer` is the editor's 1,048,576-byte buffer, shared with the bank export.
  BankImport(DeviceSession& session, std::span<uint8_t> bulkBuffer);

  // After the confirmation and the open dialog, with the file's bytes. A bank that fails
  // ValidateBankFile is refused (kFailed with the reason) before anything changes or is
  // sent. Otherwise the bank is copied into the buffer, `bulkLength` = its size,
  // `restoreTotal` = its message count, `restoreIndex` 0, `restoreActive`, `restoreNext`
  // and `bulkBeginPending` true, and progress 0 is shown.
  TransferStep Start(std::span<const uint8_t> bank);

  // Timer step "restoreActive" (every tick while it is set; sends only while `connected`).
  TransferStep OnTick();

  // Dispatcher rows while `restoreActive`.
  TransferStep OnWriteAck();
  TransferStep OnWriteNext();
  TransferStep OnWriteNak();

  // Whether the message the import sends next is an IR data chunk, which the pedal does
  // not acknowledge and which therefore leaves only on the tick.
  bool NextIsIrChunk() const;

  // The record checksums of the bank last started, for the check after reconnection.
  const BankChecksums& Checksums() const { return mChecksums; }

 private:
  TransferStep Advance(bool finishOnLast);
  TransferStep Stall();
  // The preset dumps among the messages before `index`.
  int PresetsSentBefore(int index) const;

  DeviceSession& mSession;
  std::span<uint8_t> mBuffer;
  std::vector<BankMessageSpan> mMessages;
  BankChecksums mChecksums{};
  RestoreRewriter mRewriter;
  ReplyWatchdog mWatchdog{kReplyStallTicks, 0};
  bool mBracketOpen = false;
};

}  // namespace qd3
