#include "cli/SessionDriver.h"

#include <algorithm>
#include <cstdio>

#include "cli/ExitCodes.h"
#include "params/ParamCatalogue.h"
#include "presets/ChecksumTable.h"
#include "protocol/Handshake.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "protocol/TransferTexts.h"
#include "settings/GlobalSettingsBlock.h"

namespace qd3::cli {
namespace {

// An upper bound far beyond any bank (128 presets and 256 IRs, each allowed the
// transfers' own 5 s of silence), so that no loop runs forever.
constexpr int kTransferMaxTicks = 200000;

constexpr char kTextNoAnswer[] =
    "No answer from the pedal within 10 s: check the MIDI ports, the cable and that the "
    "pedal is on.";
constexpr char kTextHandshakeStalled[] =
    "The pedal answered the poll but stopped answering within 10 s.";
constexpr char kTextTransferNeverEnded[] = "The transfer did not end; the pedal stalled.";

}  // namespace

std::string SessionDriver::PortNames::Name(MidiDirection direction) const {
  return direction == MidiDirection::kInput ? mIn : mOut;
}

void SessionDriver::PortNames::SetName(MidiDirection direction, std::string name) {
  (direction == MidiDirection::kInput ? mIn : mOut) = std::move(name);
}

SessionDriver::SessionDriver(IMidiTransport& transport, ITickSource& ticks)
    : mTransport(transport), mTicks(ticks), mPorts(transport, mPortNames), mTransfers(mSession) {}

SessionDriver::~SessionDriver() {
  mPorts.SetExiting();
  mPorts.Shutdown();
}

DriverOutcome SessionDriver::OpenPorts(const std::string& inPort, const std::string& outPort) {
  const auto has = [&](MidiDirection direction, const std::string& name) {
    const auto names = mTransport.PortNames(direction);
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  if (!mTransport.HasPort(MidiDirection::kInput) || !mTransport.HasPort(MidiDirection::kOutput)) {
    return {kExitPedalFailed, "No MIDI system to open ports on."};
  }
  if (!has(MidiDirection::kInput, inPort)) {
    return {kExitPedalFailed, "No MIDI input port named '" + inPort + "' (see qd3ctl ports)."};
  }
  if (!has(MidiDirection::kOutput, outPort)) {
    return {kExitPedalFailed, "No MIDI output port named '" + outPort + "' (see qd3ctl ports)."};
  }
  mPortNames.SetName(MidiDirection::kInput, inPort);
  mPortNames.SetName(MidiDirection::kOutput, outPort);
  mPorts.Start();
  return {};
}

// ---- the device timer ---------------------------------------------------------------------

void SessionDriver::Tick() {
  TimerPass();
  mTicks.PassTick([this] { Drain(); });
}

void SessionDriver::TimerPass() {
  if (mSession.restoreFinished) {
    mSession.restoreFinished = false;
    // The pedal's presets changed wholesale: find it again.
    mSession.connected = false;
    mSession.pollEnabled = true;
  }
  // Exactly one of these per tick, in the editor's priority order.
  if (const std::optional<RoutedStep> routed = mTransfers.OnTick()) {
    ApplyTransferStep(routed->step);
    return;
  }
  if (!mSession.connected && PollDue(mSession)) Send(BuildRequestBlock(kBlockDeviceInfo));
}

void SessionDriver::Drain() {
  mPorts.DrainMidiQueues(
      [this](const uint8_t* bytes, size_t length) { HandleDeviceMessage(bytes, length); });
  mPorts.ReportDroppedInput();
}

void SessionDriver::Send(std::span<const uint8_t> message) {
  mPorts.SendDeviceMessage(message);
}

void SessionDriver::ApplyTransferStep(const TransferStep& step) {
  for (const Bytes& m : step.messages) Send(m);
  if (step.progress && mProgress) mProgress(*step.progress);
  if (step.end != TransferEnd::kRunning) mEndStep = step;
}

// ---- the dispatcher's rows ----------------------------------------------------------------

void SessionDriver::HandleDeviceMessage(const uint8_t* bytes, size_t length) {
  if (bytes == nullptr) return;
  const std::span<const uint8_t> m(bytes, length);
  if (length == kRecordMessageSize) {
    HandleRecordMessage(m);
  } else if (length > kStatusMaxSize) {
    HandleLongMessage(m);
  } else {
    HandleShortMessage(m);
  }
}

void SessionDriver::HandleRecordMessage(std::span<const uint8_t> m) {
  const auto command = MatchFromDevice(m);
  if (command == kCmdPresetDump) {
    if (!mSession.connected) return;
    if (const std::optional<TransferStep> step = mTransfers.OnPresetDump(m)) {
      ApplyTransferStep(*step);
    } else if (mAwaitedSlot >= 0) {
      HandleAwaitedDump(m);
    } else if (mStage == Stage::kAwaitPreset) {
      mStage = Stage::kReady;
    }
  } else if (command == kCmdDataBlock) {
    if (mSession.connected) {
      HandleDataBlockConnected(m);
    } else {
      HandleDataBlockUnconnected(m);
    }
  }
}

void SessionDriver::HandleDataBlockUnconnected(std::span<const uint8_t> m) {
  const int version = *ReadVersion(m);
  if (std::optional<std::string> refusal = FirmwareVersionRefusal(version)) {
    mRefusal = std::move(refusal);
    return;
  }
  if (!VerifyRecordChecksum(m) || m[kSelectorOffset] != kBlockDeviceInfo) return;
  mSession.connected = true;
  mFirmwareVersion = version;
  mSerial = ReadSerialNumber(m);
  mStage = Stage::kAwaitChecksums;
  Send(BuildRequestBlock(kBlockPresetChecksums));
}

void SessionDriver::HandleDataBlockConnected(std::span<const uint8_t> m) {
  if (!VerifyRecordChecksum(m)) return;
  const int type = m[kSelectorOffset];
  if (type == kBlockPresetChecksums && mStage == Stage::kAwaitChecksums) {
    mChecksums = ChecksumPairsFromBlock(*ReadRecordData(m));
    // Nothing to synchronise without a cache: the global settings come next at once.
    mStage = Stage::kAwaitGlobals;
    Send(BuildRequestBlock(kBlockGlobalSettings));
  } else if (type == kBlockGlobalSettings && mStage == Stage::kAwaitGlobals) {
    const ReceivedGlobalSettings received = DecodeGlobalSettings(*ReadRecordData(m));
    for (const auto& value : received.values) {
      if (value.param == kParamPatchOffset) mPatchOffset = value.raw > 0 ? 1 : 0;
    }
    mStage = Stage::kAwaitPreset;
    Send(BuildBulkEnd());
    Send(BuildRequestPreset(received.currentPreset));
  }
}

void SessionDriver::HandleLongMessage(std::span<const uint8_t> m) {
  // A 42-byte message is only ever an IR name, never a short IR end chunk.
  if (m.size() == kIrNameMessageSize) return;
  if (ReadModel(m) != kModelDevice || !mSession.connected) return;
  const auto command = MatchFromDevice(m);
  if (!command) return;
  if (const std::optional<TransferStep> step = mTransfers.OnIrMessage(*command, m)) {
    ApplyTransferStep(*step);
  } else {
    HandleSingleIrMessage(*command, m);
  }
}

void SessionDriver::HandleShortMessage(std::span<const uint8_t> m) {
  if (ReadModel(m) != kModelDevice) return;
  const auto command = MatchFromDevice(m);
  if (!command) return;
  switch (*command) {
    case kCmdWriteAck:
    case kCmdWriteNext:
    case kCmdWriteNak:
      // No factory write runs here, so a stray reply reaches nothing.
      ApplyTransferStep(mTransfers.OnWriteReply(*command).step);
      break;
    case kCmdIrChunkAck:
    case kCmdIrStored:
      HandleUploadReply(*command);
      break;
    case kCmdDeviceError:
      ++mDeviceErrors;
      HandleUploadReply(*command);
      break;
    default:
      break;
  }
}

// ---- what the commands ask for ------------------------------------------------------------

DriverOutcome SessionDriver::Connect() {
  mSession.connected = false;
  mSession.pollEnabled = true;
  mSession.pollTicks = kPollTicks;
  mStage = Stage::kPolling;
  mRefusal.reset();
  for (int tick = 0; tick < kConnectTimeoutTicks; ++tick) {
    Tick();
    if (mRefusal) return {kExitPedalFailed, *mRefusal};
    if (mStage == Stage::kReady) return {};
  }
  return {kExitPedalFailed, mStage == Stage::kPolling ? kTextNoAnswer : kTextHandshakeStalled};
}

std::optional<TransferStep> SessionDriver::RunTransfer(int maxTicks) {
  for (int tick = 0; tick < maxTicks && !mEndStep; ++tick) Tick();
  return mEndStep;
}

DriverOutcome SessionDriver::Backup(std::vector<uint8_t>& bank, const ProgressFn& progress) {
  mProgress = progress;
  mEndStep.reset();
  mTransfers.Export().Start();
  const auto end = RunTransfer(kTransferMaxTicks);
  mProgress = nullptr;
  if (!end) return {kExitPedalFailed, kTextTransferNeverEnded};
  if (end->end != TransferEnd::kFinished) {
    // An export abandoned because the connection went has nothing to say of its own.
    return {kExitPedalFailed, end->message.empty() ? kTextNoAnswer : end->message};
  }
  const auto bytes = mTransfers.Export().FileBytes();
  bank.assign(bytes.begin(), bytes.end());
  return {kExitOk, end->message};
}

DriverOutcome SessionDriver::Restore(std::span<const uint8_t> bank, const ProgressFn& progress) {
  mEndStep.reset();
  const TransferStep start = mTransfers.Import().Start(bank);
  if (start.end == TransferEnd::kFailed) return {kExitBadFile, start.message};
  mProgress = progress;
  ApplyTransferStep(start);
  // The last acknowledgement ends the import; the next timer pass lets the session go,
  // as the editor's does before it polls again.
  const auto end = RunTransfer(kTransferMaxTicks);
  mProgress = nullptr;
  if (!end) return {kExitPedalFailed, kTextTransferNeverEnded};
  if (end->end != TransferEnd::kFinished) return {kExitPedalFailed, end->message};
  TimerPass();
  return {kExitOk, kTextFinished};
}

DriverOutcome SessionDriver::VerifyRestore(std::vector<int>& differing) {
  DriverOutcome connected = Connect();
  if (!connected.Ok()) return connected;
  differing = SlotsDifferingFromBank(mTransfers.Import().Checksums(), mChecksums);
  return {};
}

}  // namespace qd3::cli
