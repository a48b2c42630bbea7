#include "editor/UndoHistory.h"

#include <utility>

namespace qd3 {

UndoStep& UndoHistory::Push(UndoStep step) {
  mRedo.clear();
  step.id = mNextId++;
  mUndo.push_back(std::move(step));
  while (mUndo.size() > kMaxSteps) mUndo.pop_front();
  return mUndo.back();
}

void UndoHistory::MarkUndone() {
  if (mUndo.empty()) return;
  mRedo.push_back(std::move(mUndo.back()));
  mUndo.pop_back();
}

void UndoHistory::MarkRedone() {
  if (mRedo.empty()) return;
  mUndo.push_back(std::move(mRedo.back()));
  mRedo.pop_back();
}

void UndoHistory::DropTop() {
  if (!mUndo.empty()) mUndo.pop_back();
}

void UndoHistory::Clear() {
  mUndo.clear();
  mRedo.clear();
}

}  // namespace qd3
