#include "editor/UndoRedo.h"

#include <utility>

#include "editor/EditorState.h"
#include "presets/SlotLabels.h"
#include "presets/StoreRecord.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

constexpr char kTextUndoWaits[] =
    "Undo and redo wait until the transfer with the QD3 has finished.";
constexpr char kTextConnectToUndoStore[] =
    "Undoing or redoing a store writes to the QD3: connect it first.";
constexpr char kTextUnsavedOnUndo[] =
    "Undo goes to another preset, and the current preset's unsaved changes are lost. "
    "Go on?";

}  // namespace

SoundValues UndoRedo::Capture() const {
  return CaptureSound(mNeeds.params);
}

// ---- recording ----

void UndoRedo::NoteEdit(int param, const SoundValues& before) {
  if (mOpen) return;  // the open step takes the whole change when it closes
  const SoundValues after = Capture();
  UndoStep* top = mHistory.Top();
  if (mGesture.open && mJoinId != 0 && top && top->id == mJoinId && top->joinParam == param &&
      top->slot == mNeeds.session.currentPreset) {
    top->soundAfter = after;
    top->lastTick = mTick;
    // Turned back to where the run began: nothing is left to undo.
    if (top->soundAfter == top->soundBefore && top->writes.empty()) {
      mHistory.DropTop();
      mJoinId = 0;
    }
    return;
  }
  if (after == before) return;
  UndoStep step;
  step.what = mNeeds.params[param].Info().name;
  step.what += " change";
  step.slot = mNeeds.session.currentPreset;
  step.soundBefore = before;
  step.soundAfter = after;
  step.joinParam = param;
  step.lastTick = mTick;
  const uint64_t id = mHistory.Push(std::move(step)).id;
  mJoinId = mGesture.open ? id : 0;
  if (mGesture.open && mGesture.wheel) mWheelId = id;
}

void UndoRedo::BeginGesture(int param, bool wheel) {
  mGesture = {param, wheel, true};
  mJoinId = 0;
  if (!wheel) return;
  const UndoStep* top = mHistory.NextUndo();
  if (top && top->id == mWheelId && top->joinParam == param &&
      mTick - top->lastTick <= kWheelJoinTicks) {
    mJoinId = mWheelId;
  }
}

void UndoRedo::EndGesture() {
  mGesture = {};
  mJoinId = 0;
}

void UndoRedo::OpenStep(std::string what) {
  if (mOpen) return;
  UndoStep step;
  step.what = std::move(what);
  step.slot = mNeeds.session.currentPreset;
  step.soundBefore = Capture();
  step.lastTick = mTick;
  mOpen = std::move(step);
}

void UndoRedo::CloseStep() {
  if (!mOpen) return;
  UndoStep step = std::move(*mOpen);
  mOpen.reset();
  step.soundAfter = Capture();
  if (step.soundAfter == step.soundBefore && step.writes.empty()) return;
  // The pedal went to another preset meanwhile (a question was open): the values are no
  // longer one preset's before and after.
  if (step.writes.empty() && step.slot != mNeeds.session.currentPreset) return;
  mHistory.Push(std::move(step));
  mJoinId = 0;
  mWheelId = 0;
}

void UndoRedo::NoteSlotWrite(int slot, const PresetRecord& after) {
  // A slot whose record the editor never saw cannot be written back: that store is not
  // a step, and the steps before it stay.
  const std::optional<PresetRecord> before = mNeeds.mirror.StoredRecord(slot);
  if (!before) return;
  if (mOpen) {
    // A slot written twice in one step keeps the record from before the first write.
    for (SlotWrite& write : mOpen->writes) {
      if (write.slot != slot) continue;
      write.after = after;
      return;
    }
    mOpen->writes.push_back(SlotWrite{slot, *before, after});
    return;
  }
  // The same record again (a name committed unchanged) changes nothing to undo.
  if (before->Bytes() == after.Bytes()) return;
  UndoStep step;
  step.slot = mNeeds.session.currentPreset;
  step.soundBefore = step.soundAfter = Capture();
  step.writes.push_back(SlotWrite{slot, *before, after});
  step.lastTick = mTick;
  mHistory.Push(std::move(step));
  mJoinId = 0;
  mWheelId = 0;
}

// ---- playing back ----

bool UndoRedo::Perform(bool redo) {
  const UndoStep* step = redo ? mHistory.NextRedo() : mHistory.NextUndo();
  if (!step) return false;
  if (mPending || (mBusy && mBusy())) {
    mNeeds.outbox.Post(kTextUndoWaits);
    return false;
  }
  EndGesture();
  DeviceSession& session = mNeeds.session;
  if (!step->writes.empty() && !session.connected) {
    mNeeds.outbox.Post(kTextConnectToUndoStore);
    return false;
  }
  if (!SlotsAsLeft(*step, redo)) return false;
  const bool touchesSound = step->soundBefore != step->soundAfter;
  if (session.connected && touchesSound && step->slot != session.currentPreset) {
    // The step belongs to another preset: the pedal goes there first, and the step is
    // played on the edit buffer it sends. The current edits go with the change.
    if (mNeeds.edit.presetModified && !mNeeds.screen.Ask(kTextUnsavedOnUndo)) return false;
    mNeeds.outbox.Send(BuildSelectPreset(step->slot));
    mPending = Pending{step->id, redo, 0};
    return true;
  }
  Apply(*step, redo);
  return true;
}

bool UndoRedo::SlotsAsLeft(const UndoStep& step, bool redo) {
  for (const SlotWrite& write : step.writes) {
    const PresetRecord& left = redo ? write.before : write.after;
    const std::optional<PresetRecord> now = mNeeds.mirror.StoredRecord(write.slot);
    if (now && now->Bytes() == left.Bytes()) continue;
    std::string text = "Preset ";
    text += SlotNumberText(write.slot, PatchOffsetOf(mNeeds.params));
    text += " has changed on the QD3 since (a bank import, a reset, another editor), so it was ";
    text += redo ? "not redone" : "not undone";
    text += ". The undo history was cleared.";
    mNeeds.outbox.Post(std::move(text));
    mHistory.Clear();
    return false;
  }
  return true;
}

void UndoRedo::Apply(const UndoStep& step, bool redo) {
  const auto writeBack = [this, redo](const SlotWrite& write) {
    const PresetRecord& record = redo ? write.after : write.before;
    mNeeds.outbox.Send(BuildStorePresetMessage(write.slot, record));
    mNeeds.mirror.NoteStored(write.slot, record);
    // A store into the current slot is also the pedal's edit buffer.
    if (write.slot == mNeeds.session.currentPreset) {
      mNeeds.mirror.LoadStoredRecord(write.slot, record);
    }
  };
  if (redo) {
    for (const SlotWrite& write : step.writes) writeBack(write);
  } else {
    for (auto it = step.writes.rbegin(); it != step.writes.rend(); ++it) writeBack(*it);
  }
  // A step of stores alone on another preset leaves the pedal's edit buffer alone.
  const bool onCurrent = step.slot == mNeeds.session.currentPreset || !mNeeds.session.connected;
  if (onCurrent) {
    WriteSound(mNeeds.params, mNeeds.writer, redo ? step.soundAfter : step.soundBefore);
  }
  if (redo) {
    mHistory.MarkRedone();
  } else {
    mHistory.MarkUndone();
  }
}

void UndoRedo::OnCurrentPresetLoaded(int slot) {
  // A reloaded edit buffer is not where the last run of moves began.
  mJoinId = mWheelId = 0;
  if (!mPending) return;
  const Pending pending = *mPending;
  const UndoStep* step = pending.redo ? mHistory.NextRedo() : mHistory.NextUndo();
  if (!step || step->id != pending.id || step->slot != slot) return;
  mPending.reset();
  Apply(*step, pending.redo);
}

void UndoRedo::OnConnected(const std::string& serial) {
  if (!mSerial.empty() && serial != mSerial) {
    mHistory.Clear();
    mOpen.reset();
  }
  mSerial = serial;
  mPending.reset();
  mJoinId = mWheelId = 0;
}

void UndoRedo::OnDeviceTick() {
  ++mTick;
  if (!mPending || ++mPending->ticks < kSelectWaitTicks) return;
  const UndoStep* step = mPending->redo ? mHistory.NextRedo() : mHistory.NextUndo();
  const int slot = step ? step->slot : 0;
  std::string text = "The QD3 did not change to preset ";
  text += SlotNumberText(slot, PatchOffsetOf(mNeeds.params));
  text += mPending->redo ? ", so nothing was redone." : ", so nothing was undone.";
  mPending.reset();
  mNeeds.outbox.Post(std::move(text));
}

std::string UndoRedo::StepName(const UndoStep& step) const {
  if (!step.what.empty() || step.writes.empty()) return step.what;
  std::string name = "store into ";
  name += SlotNumberText(step.writes.front().slot, PatchOffsetOf(mNeeds.params));
  return name;
}

std::string UndoRedo::MenuText(bool redo) const {
  const UndoStep* step = redo ? mHistory.NextRedo() : mHistory.NextUndo();
  if (!step) return {};
  // Appended piece by piece: GCC 12 at -O3 warns, wrongly, about a literal plus a string.
  std::string text = redo ? "Redo " : "Undo ";
  text += StepName(*step);
  return text;
}

}  // namespace qd3
