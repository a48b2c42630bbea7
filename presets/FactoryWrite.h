#pragma once

// The factory-bank write: the 128 kCmdWriteFactoryPreset messages of the embedded bank
// (34,176 bytes) sent unchanged, one per 100 ms tick with `factoryNext` (or at once on
// each acknowledgement, see TransferPacing in BankTransfers.h), whether or not
// the pedal is `connected`, bracketed by kCmdBulkBegin and kCmdBulkEnd and followed by
// kCmdFactoryReset 1. Progress (`factoryIndex` + 1) / `factoryTotal` goes to the factory
// overlay ("factorypresetcontrols"); every overlay in the steps below means that one.
//
// kCmdWriteAck and kCmdWriteNext advance; kCmdWriteNak sends the same message again, at
// most 10 times in a row, and the 11th refusal stops the write with "Communication
// error!". 5 s without an answer to a sent message stops it with a message too; both
// stops close the bracket. After the last kCmdWriteAck the step sends kCmdBulkEnd and
// kCmdFactoryReset 1 and ends kFinished: the editor clears the preset cache and rebuilds
// the list. "Finished successfully!" follows the pedal's kCmdResetDone through the
// editor's timer (`resetDoneSeen`); if that reply does not come within 5 s, the watch
// tick says so.
//
// Replies reach this object only while it runs: a stray acknowledgement (one arriving
// after a bank import ended, say) must never start a factory reset.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "presets/BankFile.h"
#include "protocol/DeviceSession.h"
#include "protocol/ReplyWatchdog.h"
#include "protocol/TransferStep.h"

namespace qd3 {

inline constexpr std::size_t kFactoryBankSize = 34176;  // 128 messages of 267 bytes
inline constexpr uint8_t kFactoryBankVersion = 11;      // byte 6 of each message, read as 1.1
inline constexpr int kFactoryMaxResends = 10;

inline constexpr char kTextFactoryWarningCaption[] = "Warning";
inline constexpr char kTextFactoryConfirm[] =
    "This operation will update the factory presets\n and reset the device to its factory "
    "default settings. \nAre you sure you want to do this?";
inline constexpr char kTextFactoryVersionFormat[] =
    "File version is %.1f. This can cause incompatibility problems. \nAre you sure you want "
    "to use it?";
inline constexpr char kTextFactoryStalled[] =
    "The pedal stopped answering. The factory preset update was stopped.";
inline constexpr char kTextFactoryResetUnconfirmed[] =
    "The factory presets were written, but the pedal did not confirm their reset.";
inline constexpr char kTextFactoryBankEmpty[] = "The factory preset bank holds no messages.";

// The question asked when byte 6 of the bank is not 11, filled with byte 6 / 10;
// nullopt when it is 11. An empty bank gives nullopt.
std::optional<std::string> FactoryBankVersionWarning(std::span<const uint8_t> bank);
// After the player accepted: for every 0xF0 at index i, byte i + 6 becomes 11.
void SetFactoryBankVersion(std::span<uint8_t> bank);

class FactoryWrite {
 public:
  explicit FactoryWrite(DeviceSession& session);

  // After the confirmations, with the (version-corrected) bank: copies it into the
  // factory bank buffer, `factoryTotal` = number of 0xF7 bytes, `factoryIndex` 0,
  // `bulkBeginPending` and `factoryNext` true, overlay shown at 0.
  TransferStep Start(std::span<const uint8_t> bank);

  // Timer step "factoryNext": the bracket, or the next message.
  TransferStep OnTick();
  // Every timer tick, before the priority chain: counts the silence while a message or
  // the reset waits for its answer.
  TransferStep OnWatchTick();

  // Dispatcher rows while no bank import runs (`restoreActive` false).
  TransferStep OnWriteAck();
  TransferStep OnWriteNext();
  TransferStep OnWriteNak();
  // Dispatcher, kCmdResetDone (besides setting `resetDoneSeen`).
  void OnResetDone();

  bool Running() const { return mStage != Stage::kIdle; }

 private:
  enum class Stage : uint8_t { kIdle, kWriting, kAwaitingReset };

  TransferStep Stop(const char* text);

  DeviceSession& mSession;
  std::vector<uint8_t> mBank;
  std::vector<BankMessageSpan> mMessages;
  ReplyWatchdog mWatchdog{kReplyStallTicks, 0};
  Stage mStage = Stage::kIdle;
  bool mBracketOpen = false;
  int mRefusals = 0;  // in a row, for the message outstanding
};

}  // namespace qd3
