#include "simulator/PedalService.h"

#include <algorithm>

namespace qd3::sim {

PedalService::PedalService(PedalState state, DeliveryMode mode, WireTiming timing,
                           ReplyLine::Sink sink)
    : model_(std::move(state)), line_(mode, timing, std::move(sink)) {}

void PedalService::Post(Replies replies, std::unique_lock<std::mutex>& lock) {
  // Posting under the model's lock keeps the answers of two senders in the order the
  // model made them. An immediate line runs the sink inside Post, and a sink that answers
  // back would need the lock again, so that line is fed after unlocking.
  if (line_.mode() == DeliveryMode::kImmediate) lock.unlock();
  for (Bytes& reply : replies) line_.Post(std::move(reply));
}

void PedalService::Receive(std::span<const uint8_t> message) {
  std::unique_lock lock(mutex_);
  Post(model_.Receive(message), lock);
}

bool PedalService::TurnKnob(int index, int raw) {
  if (!IsPedalControl(index) || raw < 0 || raw > kMax7) return false;
  std::unique_lock lock(mutex_);
  Post(model_.TurnKnob(index, raw), lock);
  return true;
}

void PedalService::InjectReply(Bytes message) {
  line_.Post(std::move(message));
}

void PedalService::DropNextReplies(int count) {
  Modify([&](PedalModel& m) { m.faults().dropReplies = std::max(0, count); });
}

void PedalService::CorruptNextChecksum() {
  Modify([](PedalModel& m) { m.faults().corruptNextChecksum = true; });
}

void PedalService::RefuseNextWrites(int count) {
  Modify([&](PedalModel& m) { m.faults().refuseWrites = std::max(0, count); });
}

void PedalService::ReportVersion(std::optional<int> version) {
  Modify([&](PedalModel& m) { m.faults().reportedVersion = version; });
}

void PedalService::SetSilent(bool silent) {
  Modify([&](PedalModel& m) { m.faults().silent = silent; });
}

void PedalService::FailFirmwareCheck(bool fail) {
  Modify([&](PedalModel& m) { m.faults().failFirmwareCheck = fail; });
}

void PedalService::ClearFaults() {
  Modify([](PedalModel& m) { m.faults() = Faults{}; });
}

void PedalService::SetFirmwareVersion(int version) {
  Modify([&](PedalModel& m) { m.state().firmwareVersion = std::clamp(version, 0, kMax7); });
}

PedalState PedalService::Snapshot() const {
  return Inspect([](const PedalModel& m) { return m.state(); });
}

StateFileStatus PedalService::SaveState(const std::filesystem::path& path) const {
  return SaveStateFile(Snapshot(), path);
}

StateFileStatus PedalService::LoadState(const std::filesystem::path& path) {
  PedalState loaded;
  const StateFileStatus status = LoadStateFile(path, loaded);
  if (status == StateFileStatus::kOk) Modify([&](PedalModel& m) { m.state() = std::move(loaded); });
  return status;
}

void PedalService::SetLogSink(LogSink sink) {
  Modify([&](PedalModel& m) { m.SetLogSink(std::move(sink)); });
}

}  // namespace qd3::sim
