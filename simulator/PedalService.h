#pragma once

// The simulated pedal on a wire: the model behind a lock, its answers put on a ReplyLine.
// Every member may be called from any thread. The model runs on the thread that hands it
// a message; the line delivers the answers from its own thread (paced), from the test's
// pump (manual) or at once on the sending thread (immediate). The answers to one message
// go on the line as one sequence, marked as a write's when the model stored something.

#include <filesystem>
#include <mutex>
#include <optional>
#include <span>
#include <utility>

#include "simulator/PedalModel.h"
#include "simulator/ReplyLine.h"
#include "simulator/StateFile.h"

namespace qd3::sim {

class PedalService {
 public:
  PedalService(PedalState state, DeliveryMode mode, WireTiming timing, ReplyLine::Sink sink,
               ReplyLine::BurstSink burstSink = nullptr);

  PedalService(const PedalService&) = delete;
  PedalService& operator=(const PedalService&) = delete;

  // One message from the editor.
  void Receive(std::span<const uint8_t> message);
  // The player turns a control on the pedal (see PedalModel::TurnKnob); false when the
  // index is not one the pedal has a control for.
  bool TurnKnob(int index, int raw);
  // Puts any bytes on the wire as if the pedal had sent them, past the model and its
  // faults: for tests of what the editor does with garbled or unexpected messages.
  void InjectReply(Bytes message);

  // ---- Faults ------------------------------------------------------------------------------
  void DropNextReplies(int count);
  void CorruptNextChecksum();
  void DamageNextIrChunk();
  void RefuseNextWrites(int count = 1);
  void ReportVersion(std::optional<int> version);
  void SetSilent(bool silent);
  void FailFirmwareCheck(bool fail);
  void ClearFaults();

  void SetFirmwareVersion(int version);  // 0..127, kept in the state

  // Messages that reached the pedal before the answer to an earlier write had arrived
  // whole (on the line's clock): an editor that waits for each acknowledgement sends none.
  // Writes without an answer (kCmdStorePreset) do not count, as nothing tells the editor
  // when they are done. Always 0 on an immediate line.
  int MessagesDuringWrite() const;

  // Locked access to the model: f(const PedalModel&) or f(PedalModel&).
  template <typename F>
  decltype(auto) Inspect(F&& f) const {
    std::lock_guard lock(mUtex);
    return std::forward<F>(f)(std::as_const(mOdel));
  }
  template <typename F>
  decltype(auto) Modify(F&& f) {
    std::lock_guard lock(mUtex);
    return std::forward<F>(f)(mOdel);
  }
  PedalState Snapshot() const;

  StateFileStatus SaveState(const std::filesystem::path& path) const;
  // Replaces the state only when the file is good.
  StateFileStatus LoadState(const std::filesystem::path& path);

  // Called with the model's lock held: the sink must not call back into this object.
  void SetLogSink(LogSink sink);

  ReplyLine& Line() { return mLine; }
  const ReplyLine& Line() const { return mLine; }

 private:
  // Puts the model's answers on the line in the order they were made; when the last of
  // them arrives. Returns with `lock` released on an immediate line.
  Micros Post(Replies replies, bool write, std::unique_lock<std::mutex>& lock);

  mutable std::mutex mUtex;
  PedalModel mOdel;
  Micros mWriteAnsweredAt{0};  // when the answer to the last answered write arrives
  int mMessagesDuringWrite = 0;
  ReplyLine mLine;  // last: its thread stops before the model goes
};

}  // namespace qd3::sim
