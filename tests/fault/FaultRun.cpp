#include "tests/fault/FaultRun.h"

namespace qd3::test {

const char* FaultName(Fault fault) {
  switch (fault) {
    case Fault::kDropOne:
      return "drop one answer";
    case Fault::kDropMany:
      return "drop many answers";
    case Fault::kCorrupt:
      return "corrupt the next checksum";
    case Fault::kRefuseWrites:
      return "refuse writes";
    case Fault::kSilent:
      return "fall silent";
    case Fault::kUnplug:
      return "unplug and back";
    case Fault::kOtherVersion:
      return "back with another firmware";
    case Fault::kBurst:
      return "answer in bursts";
    case Fault::kDelay:
      return "answer late";
    case Fault::kJitter:
      return "answer with jitter";
    case Fault::kDamagedChunk:
      return "damage an IR chunk";
  }
  return "?";
}

FaultRun::FaultRun(sim::PedalState state) : h(std::move(state)) {
  h.editor.SetPlatformServices(&platform);
  h.OpenWindow({1, 53, 54, 70, 71, 73, 74, 138, 139, 140});
  h.editor.SetDeviceMessageSink([this](std::span<const uint8_t> m) { OnSend(m); });
}

void FaultRun::Arm(Fault fault, std::function<bool(const Bytes&)> trigger) {
  mFault = fault;
  mTrigger = std::move(trigger);
  mStruck = false;
}

void FaultRun::OnSend(std::span<const uint8_t> message) {
  Bytes bytes(message.begin(), message.end());
  if (mTrigger && !mStruck && mTrigger(bytes)) Strike();
  h.sent.messages.push_back(bytes);
  h.ports.SendDeviceMessage(message);
}

void FaultRun::Strike() {
  mStruck = true;
  mBoxesAtStrike = platform.Calls().size();
  sim::PedalService& pedal = h.link.Pedal();
  switch (mFault) {
    case Fault::kDropOne:
      pedal.DropNextReplies(1);
      break;
    case Fault::kDropMany:
      pedal.DropNextReplies(kManyDrops);
      break;
    case Fault::kCorrupt:
      pedal.CorruptNextChecksum();
      break;
    case Fault::kRefuseWrites:
      pedal.RefuseNextWrites(kAllWrites);
      break;
    case Fault::kSilent:
      pedal.SetSilent(true);
      break;
    case Fault::kUnplug:
      h.link.SetUnplugged(true);
      mPlugBackAt = h.now + kUnplugTime;
      break;
    case Fault::kOtherVersion:
      h.link.SetUnplugged(true);
      pedal.ReportVersion(kOtherFirmwareVersion);
      mPlugBackAt = h.now + kRestartTime;
      break;
    case Fault::kBurst:
      h.link.SetTiming(sim::WireTiming{.burst = true});
      break;
    case Fault::kDelay:
      h.link.SetTiming(sim::WireTiming{.replyDelay = kReplyDelay});
      break;
    case Fault::kJitter:
      h.link.SetTiming(sim::WireTiming{.jitter = kJitter, .jitterSeed = 7});
      break;
    case Fault::kDamagedChunk:
      pedal.DamageNextIrChunk();
      break;
  }
}

void FaultRun::RunFor(std::chrono::microseconds duration) {
  constexpr std::chrono::microseconds kIdleStep{20000};
  const auto end = h.now + duration;
  while (h.now < end) {
    h.RunFor(kIdleStep);
    h.editor.OnIdleTick();
    if (mPlugBackAt.count() >= 0 && h.now >= mPlugBackAt) {
      mPlugBackAt = std::chrono::microseconds{-1};
      h.link.SetUnplugged(false);
      if (h.ports.RefreshPorts().reopened) h.editor.Reconnect();
    } else if (mPlugBackAt.count() >= 0) {
      // The host sees the ports go, and the editor is told, as the program does.
      if (h.ports.RefreshPorts().vanished) h.editor.Reconnect();
    }
  }
}

bool FaultRun::TransferUnderWay() const {
  const DeviceSession& s = h.editor.session;
  return (s.readAllActive && s.connected) || s.backupActive || s.restoreActive ||
         h.editor.FactoryWriteRunning() || s.firmwareMode || s.irUploadNext || s.bulkBeginPending ||
         mPlugBackAt.count() >= 0 || h.editor.AwaitingSessionAnswer();
}

bool FaultRun::RunUntilQuiet(std::chrono::microseconds quiet, std::chrono::microseconds limit) {
  constexpr std::chrono::microseconds kStep{100000};
  const auto end = h.now + limit;
  std::chrono::microseconds quietFor{0};
  while (h.now < end) {
    RunFor(kStep);
    quietFor = TransferUnderWay() ? std::chrono::microseconds{0} : quietFor + kStep;
    if (quietFor >= quiet) return true;
  }
  return false;
}

void FaultRun::ClearFaults() {
  h.link.Pedal().ClearFaults();
  h.link.SetTiming(sim::WireTiming{});
  if (h.link.Unplugged()) {
    h.link.SetUnplugged(false);
    h.ports.RefreshPorts();
  }
  mPlugBackAt = std::chrono::microseconds{-1};
}

std::vector<std::string> FaultRun::BoxesSinceStrike() const {
  std::vector<std::string> boxes;
  const auto& calls = platform.Calls();
  for (size_t i = mStruck ? mBoxesAtStrike : calls.size(); i < calls.size(); ++i) {
    if (calls[i].kind == ScriptedPlatformServices::ECall::kMessageBox) {
      boxes.push_back(calls[i].text);
    }
  }
  return boxes;
}

}  // namespace qd3::test
