#pragma once

// The simulated QD3 pedal: takes one complete SysEx message at a time, changes its state
// as the pedal would and returns the messages it answers with, in order. It knows nothing
// of time or threads (see PedalService for those); every call is deterministic.
//
// Messages it does not understand, with a wrong version byte, or of the wrong length are
// ignored without an answer. The faults of Faults apply to what it answers.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/DeviceMessages.h"
#include "protocol/IrReceiveState.h"
#include "simulator/Faults.h"
#include "simulator/FirmwareLoader.h"
#include "simulator/PedalState.h"
#include "simulator/TrafficLog.h"

namespace qd3::sim {

using Replies = std::vector<Bytes>;

// What the pedal was told that has no answer, for tests that check the editor's brackets.
struct PedalCounters {
  int handled = 0;  // messages understood
  int ignored = 0;  // messages dropped as not understood or not allowed
  int bulkBegins = 0;
  int bulkEnds = 0;
  int editorClosings = 0;
  int firmwareUpdates = 0;  // images the loader accepted
};

// Whether the pedal has a control for catalogue index `index`: the sound parameters 0..64,
// the global settings 80..90 and the knob controller numbers 91..98.
bool IsPedalControl(int index);

class PedalModel {
 public:
  PedalModel();
  explicit PedalModel(PedalState state);

  // One message from the editor; the answers in the order they leave.
  Replies Receive(std::span<const uint8_t> message);

  // The player turns a control on the pedal: sound parameter (catalogue index 0..64),
  // global setting (80..90) or knob controller number (91..98) to `raw`. The pedal keeps
  // the value, limited to its range, and reports it with kCmdParamEcho. Other indices and
  // raw values outside 0..127 change nothing and send nothing.
  Replies TurnKnob(int index, int raw);

  PedalState& State() { return mState; }
  const PedalState& State() const { return mState; }
  sim::Faults& Faults() { return mFaults; }
  const sim::Faults& Faults() const { return mFaults; }
  const PedalCounters& Counters() const { return mCounters; }
  bool BulkOpen() const { return mBulkOpen; }
  bool InLoader() const { return mLoader.Active(); }
  const Bytes& LastFirmwareImage() const { return mLoader.LastImage(); }
  // Whether the message Receive took last stored something: a preset (kCmdStorePreset,
  // the store parameter, a restored preset), a factory-bank record or a whole IR (an
  // upload or a restore). Refused writes store nothing.
  bool LastWasWrite() const { return mWroteThis; }

  // Every message in and out, formatted by FormatTraffic. Empty: no log.
  void SetLogSink(LogSink sink) { mLog = std::move(sink); }

 private:
  void Dispatch(DeviceCommand command, std::span<const uint8_t> message);
  void HandleLoader(std::span<const uint8_t> message);

  // Presets and blocks (PedalModel.cpp).
  void StorePreset(std::span<const uint8_t> message);
  void SelectPreset(int slot);
  void ParamChange(int deviceParam, int value);
  void StoreEditBuffer(int slot);
  void ReceiveBlock(std::span<const uint8_t> message);
  void SendBlock(int type);
  void FactoryReset(int kind);

  // Writes that are acknowledged (PedalModelWrites.cpp).
  void WriteFactoryPreset(std::span<const uint8_t> message);
  void RestorePreset(std::span<const uint8_t> message);
  void RestoreIr(DeviceCommand command, std::span<const uint8_t> message);
  bool TakeRefusal();

  // Impulse responses (PedalModelIr.cpp).
  void UploadIr(DeviceCommand command, std::span<const uint8_t> message);
  void SendIr(int number);
  void SendIrNames(int group);

  // Queues a reply after the reply faults have had their say.
  void Answer(Bytes message);
  void AnswerStatus(DeviceCommand command);
  // The incoming message is dropped; `why` goes to the log.
  void Ignore(std::string_view why);
  // A remark on the incoming message for the log, for refusals that do answer.
  void Note(std::string_view what);
  // Logs the queued replies and hands over those not dropped.
  Replies Flush();
  void Log(Direction direction, std::span<const uint8_t> message, std::string_view note = {});

  PedalState mState;
  sim::Faults mFaults;
  PedalCounters mCounters;
  FirmwareLoader mLoader;
  bool mBulkOpen = false;

  IrReceiveState mUpload;  // kCmdIrBegin / kCmdIrData / kCmdIrEnd from the editor
  bool mUploadActive = false;
  IrReceiveState mRestore;  // kCmdRestoreIrBegin / Data / End of a bank import
  bool mRestoreActive = false;

  struct Outgoing {
    Bytes message;
    std::string note;  // for the log
    bool dropped = false;
  };
  std::vector<Outgoing> mPending;  // replies to the message being handled
  std::string mInNote;             // log remark on the message being handled
  bool mIgnoredThis = false;
  bool mWroteThis = false;

  LogSink mLog;
};

}  // namespace qd3::sim
