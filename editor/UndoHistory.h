#pragma once

// The undo and redo history of one connection: what each step changed in the edit
// buffer and in the pedal's slots, so that undo sends the old state back and redo the
// new one. Plain data; the editor's undo part applies the steps.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "editor/SoundValues.h"
#include "presets/PresetRecord.h"

namespace qd3 {

// A store into a slot: the record the slot held before and the one written.
struct SlotWrite {
  int slot = 0;
  PresetRecord before;
  PresetRecord after;
};

struct UndoStep {
  // What the Edit menu names: "Drive change" reads "Undo Drive change". Empty for a step
  // named after its slot write ("store into 05").
  std::string what;
  // The preset the edit buffer held when the step was made; undo selects it first.
  int slot = 0;
  SoundValues soundBefore{};
  SoundValues soundAfter{};
  // The stores of the step in order (a swap has two); undo writes them back in reverse.
  std::vector<SlotWrite> writes;
  // For joining the moves of one gesture, or one wheel run, into this step.
  uint64_t id = 0;
  int joinParam = -1;
  long lastTick = 0;
};

class UndoHistory {
 public:
  // At least 200 steps are kept; the oldest go first.
  static constexpr std::size_t kMaxSteps = 256;

  // A new step: the redo side is cleared. The step's id is given here.
  UndoStep& Push(UndoStep step);
  // The step undo would take next, or redo; nullptr when there is none.
  UndoStep* Top() { return mUndo.empty() ? nullptr : &mUndo.back(); }
  const UndoStep* NextUndo() const { return mUndo.empty() ? nullptr : &mUndo.back(); }
  const UndoStep* NextRedo() const { return mRedo.empty() ? nullptr : &mRedo.back(); }
  // The step just undone moves to the redo side, and back.
  void MarkUndone();
  void MarkRedone();
  // Drops the newest step, one that came to nothing (a knob turned back where it began).
  void DropTop();
  void Clear();
  std::size_t UndoCount() const { return mUndo.size(); }
  std::size_t RedoCount() const { return mRedo.size(); }

 private:
  std::deque<UndoStep> mUndo;
  std::vector<UndoStep> mRedo;
  uint64_t mNextId = 1;
};

}  // namespace qd3
