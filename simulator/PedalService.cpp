#include "simulator/PedalService.h"

#include <algorithm>

namespace qd3::sim {

PedalService::PedalService(PedalState state, DeliveryMode mode, WireTiming timing,
                           ReplyLine::Sink sink, ReplyLine::BurstSink burstSink)
    : mOdel(std::move(state)), mLine(mode, timing, std::move(sink), std::move(burstSink)) {}

Micros PedalService::Post(Replies replies, bool write, std::unique_lock<std::mutex>& lock) {
  // Posting under the model's lock keeps the answers of two senders in the order the
  // model made them. An immediate line runs the sink inside Post, and a sink that answers
  // back would need the lock again, so that line is fed after unlocking.
  if (mLine.Mode() == DeliveryMode::kImmediate) lock.unlock();
  return mLine.PostSequence(std::move(replies), write);
}

void PedalService::Receive(std::span<const uint8_t> message) {
  std::unique_lock lock(mUtex);
  const bool immediate = mLine.Mode() == DeliveryMode::kImmediate;
  if (!immediate && mLine.Now() < mWriteAnsweredAt) ++mMessagesDuringWrite;
  Replies replies = mOdel.Receive(message);
  const bool write = mOdel.LastWasWrite();
  const bool answered = !replies.empty();
  const Micros arrives = Post(std::move(replies), write, lock);
  if (write && answered && !immediate) mWriteAnsweredAt = arrives;
}

int PedalService::MessagesDuringWrite() const {
  std::lock_guard lock(mUtex);
  return mMessagesDuringWrite;
}

bool PedalService::TurnKnob(int index, int raw) {
  if (!IsPedalControl(index) || raw < 0 || raw > kMax7) return false;
  std::unique_lock lock(mUtex);
  Post(mOdel.TurnKnob(index, raw), false, lock);
  return true;
}

void PedalService::InjectReply(Bytes message) {
  mLine.Post(std::move(message));
}

void PedalService::DropNextReplies(int count) {
  Modify([&](PedalModel& m) { m.Faults().dropReplies = std::max(0, count); });
}

void PedalService::DamageNextIrChunk() {
  Modify([](PedalModel& m) { m.Faults().damageNextIrChunk = true; });
}

void PedalService::CorruptNextChecksum() {
  Modify([](PedalModel& m) { m.Faults().corruptNextChecksum = true; });
}

void PedalService::RefuseNextWrites(int count) {
  Modify([&](PedalModel& m) { m.Faults().refuseWrites = std::max(0, count); });
}

void PedalService::ReportVersion(std::optional<int> version) {
  Modify([&](PedalModel& m) { m.Faults().reportedVersion = version; });
}

void PedalService::SetSilent(bool silent) {
  Modify([&](PedalModel& m) { m.Faults().silent = silent; });
}

void PedalService::FailFirmwareCheck(bool fail) {
  Modify([&](PedalModel& m) { m.Faults().failFirmwareCheck = fail; });
}

void PedalService::ClearFaults() {
  Modify([](PedalModel& m) { m.Faults() = Faults{}; });
}

void PedalService::SetFirmwareVersion(int version) {
  Modify([&](PedalModel& m) { m.State().firmwareVersion = std::clamp(version, 0, kMax7); });
}

PedalState PedalService::Snapshot() const {
  return Inspect([](const PedalModel& m) { return m.State(); });
}

StateFileStatus PedalService::SaveState(const std::filesystem::path& path) const {
  return SaveStateFile(Snapshot(), path);
}

StateFileStatus PedalService::LoadState(const std::filesystem::path& path) {
  PedalState loaded;
  const StateFileStatus status = LoadStateFile(path, loaded);
  if (status == StateFileStatus::kOk) Modify([&](PedalModel& m) { m.State() = std::move(loaded); });
  return status;
}

void PedalService::SetLogSink(LogSink sink) {
  Modify([&](PedalModel& m) { m.SetLogSink(std::move(sink)); });
}

}  // namespace qd3::sim
