#pragma once

// The editor's side of a session with the pedal, without a window: the host's MIDI
// ports and receive queues, the device timer's chain for the bank transfers, and the
// dispatcher's rows those transfers need, on ticks from an ITickSource.
//
// Connect plays the editor's handshake: device-info request (at once, then every 33
// ticks as the editor's poll), firmware-version check, checksum-verified device info,
// the checksum block, the global-settings block (answered with kCmdBulkEnd and the
// current preset's request, as the editor does) and the current preset's dump. The
// presets are not synchronised: there is no cache to keep in step.
//
// Backup and Restore run the editor's BankExport and BankImport objects exactly as its
// timer and dispatcher drive them: the first message on a tick, the next on each answer,
// the replies routed to them as they arrive, the steps' messages sent in order.
//
// One slot at a time (get, put, diff of a slot; SessionDriverSlot.cpp): a record or an IR
// fetched on request, an IR uploaded with the editor's IrUpload and a record stored. Each
// waits for its answer within bounds and says what did not come.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/TickSource.h"
#include "host/IMidiPortSettings.h"
#include "host/MidiPorts.h"
#include "ir/IrFetch.h"
#include "ir/IrUpload.h"
#include "presets/BankTransfers.h"
#include "presets/PresetRecord.h"
#include "protocol/Checksum14.h"
#include "protocol/DeviceSession.h"
#include "protocol/IMidiTransport.h"
#include "protocol/TransferBuffer.h"

namespace qd3::cli {

// 10 s of ticks for the pedal to answer the handshake.
inline constexpr int kConnectTimeoutTicks = 100;

struct DriverOutcome {
  int exitCode = 0;     // see ExitCodes.h
  std::string message;  // what went wrong, or what a transfer finished with

  bool Ok() const { return exitCode == 0; }
};

using ProgressFn = std::function<void(double fraction)>;

class SessionDriver {
 public:
  SessionDriver(IMidiTransport& transport, ITickSource& ticks);
  ~SessionDriver();

  SessionDriver(const SessionDriver&) = delete;
  SessionDriver& operator=(const SessionDriver&) = delete;

  // Opens the two ports by the names the transport lists; a name it does not list is
  // refused (exit 3) and nothing is opened.
  DriverOutcome OpenPorts(const std::string& inPort, const std::string& outPort);

  // The handshake above; exit 3 when the pedal stays silent for 10 s or its firmware
  // version is refused (the editor's message).
  DriverOutcome Connect();

  // Bank export after Connect. On success `bank` holds the file's bytes.
  DriverOutcome Backup(std::vector<uint8_t>& bank, const ProgressFn& progress);

  // Bank import after Connect: exit 2 for a bank the import refuses before sending, 3 for
  // the pedal's refusal or a stall. Ends, as the editor's timer does, with the session
  // unconnected.
  DriverOutcome Restore(std::span<const uint8_t> bank, const ProgressFn& progress);

  // After Restore: Connect again and compare the pedal's checksum block with the bank's
  // records. `differing` receives the slots that differ.
  DriverOutcome VerifyRestore(std::vector<int>& differing);

  // After Connect: the record of slot 0..127 (kCmdRequestPreset). A dump that does not
  // come within 2 s, or fails its checksum, is asked for again, 3 times; then exit 3.
  DriverOutcome FetchRecord(int slot, PresetRecord& record);
  // After Connect: the image of IR `number` (kCmdRequestIr), by the editor's IrFetch.
  DriverOutcome FetchIr(int number, Bytes& image);
  // After Connect: the image into IR `number` by the editor's IrUpload, done when the
  // pedal confirms it stored it; its refusal or silence is exit 3.
  DriverOutcome UploadIr(int number, std::span<const uint8_t> image, const ProgressFn& progress);
  // Sends kCmdStorePreset for slot 0..127. The pedal does not answer it: a fresh Connect
  // and PedalChecksums() tell whether it took.
  void StoreRecord(int slot, const PresetRecord& record);

  // From the last handshake.
  const std::array<Checksum14Pair, kPresetCount>& PedalChecksums() const { return mChecksums; }
  int PatchOffset() const { return mPatchOffset; }
  int FirmwareVersion() const { return mFirmwareVersion; }  // tenths
  const std::string& Serial() const { return mSerial; }
  // kCmdDeviceError replies ("ERROR!"), counted; no transfer state changes with them.
  int DeviceErrors() const { return mDeviceErrors; }

  const DeviceSession& Session() const { return mSession; }

 private:
  enum class Stage : uint8_t { kPolling, kAwaitChecksums, kAwaitGlobals, kAwaitPreset, kReady };

  // The names given to OpenPorts, for the host's port selection; nothing is saved.
  class PortNames final : public IMidiPortSettings {
   public:
    std::string Name(MidiDirection direction) const override;
    void SetName(MidiDirection direction, std::string name) override;
    void Save() override {}

   private:
    std::string mIn = kMidiPortOff;
    std::string mOut = kMidiPortOff;
  };

  // One pass of the device timer, then the tick's time with the queues drained.
  void Tick();
  void TimerPass();
  void Drain();
  void HandleDeviceMessage(const uint8_t* bytes, size_t length);
  void HandleRecordMessage(std::span<const uint8_t> m);
  void HandleDataBlockUnconnected(std::span<const uint8_t> m);
  void HandleDataBlockConnected(std::span<const uint8_t> m);
  void HandleLongMessage(std::span<const uint8_t> m);
  void HandleShortMessage(std::span<const uint8_t> m);
  void Send(std::span<const uint8_t> message);
  void ApplyTransferStep(const TransferStep& step);
  // Ticks until a transfer step ends; nullopt when none did within `maxTicks`.
  std::optional<TransferStep> RunTransfer(int maxTicks);
  // The one-slot answers, from the dispatcher's rows.
  void HandleAwaitedDump(std::span<const uint8_t> m);
  void HandleSingleIrMessage(DeviceCommand command, std::span<const uint8_t> m);
  void HandleUploadReply(DeviceCommand command);
  // Sends a fetch's or an upload's messages and shows its progress; its end goes to
  // mSingleEnd.
  void ApplySingleStep(const TransferStep& step);
  // Ticks with `onTick` before each until mSingleEnd is set; false when `maxTicks` passed.
  bool RunSingle(const std::function<TransferStep()>& onTick, int maxTicks);

  IMidiTransport& mTransport;
  ITickSource& mTicks;
  PortNames mPortNames;
  MidiPorts mPorts;

  DeviceSession mSession;
  BankTransfers mTransfers;

  Stage mStage = Stage::kPolling;
  std::optional<std::string> mRefusal;   // the version check's message
  std::optional<TransferStep> mEndStep;  // the step that ended the running transfer
  ProgressFn mProgress;
  std::array<Checksum14Pair, kPresetCount> mChecksums{};
  int mPatchOffset = 0;
  int mFirmwareVersion = 0;
  std::string mSerial;
  int mDeviceErrors = 0;

  // One slot at a time: the slot whose dump is awaited (-1: none) and what it brought.
  int mAwaitedSlot = -1;
  std::optional<PresetRecord> mAwaitedRecord;
  int mDamagedDumps = 0;
  IrFetch mIrFetch;
  int mWantedIr = -1;
  std::optional<ReceivedIr> mFetchedIr;
  TransferBuffer mUploadBuffer;
  IrUpload mUpload{mSession, mUploadBuffer};
  bool mUploadRefused = false;
  std::optional<TransferStep> mSingleEnd;  // the step that ended a fetch or an upload
};

}  // namespace qd3::cli
