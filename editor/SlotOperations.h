#pragma once

// What the preset list's menu does to whole slots: copy one and paste it over another,
// copy or swap by dragging a row onto another, rename a slot in place. Each asks once,
// naming the slots, and writes with the store message, so each is a step of the undo
// history and the list and the cache follow at once. A preset keeps its user-IR
// references: the copy plays the same user IRs.

#include <functional>
#include <optional>
#include <string>

#include "editor/EditorState.h"
#include "editor/Outbox.h"
#include "editor/PresetMirror.h"
#include "editor/ScreenWriter.h"
#include "editor/TemplatesAndFiles.h"
#include "editor/UndoRedo.h"
#include "presets/PresetRecord.h"

namespace qd3 {

class SlotOperations {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    DeviceSession& session;
    const ParamCatalogue& params;
    PresetMirror& mirror;
    UndoRedo& undo;
    TemplatesAndFiles& templates;
    EditBufferState& edit;
  };
  using BusyCheck = std::function<bool()>;
  explicit SlotOperations(const Needs& needs) : mNeeds(needs) {}
  void SetBusyCheck(BusyCheck busy) { mBusy = std::move(busy); }

  // "Copy": the slot's record as the editor knows it; false (and said) when unknown.
  bool Copy(int slot);
  bool CanPaste() const { return mCopied.has_value(); }
  // "Paste": the copied record into `slot`, after the question.
  void Paste(int slot);
  // A row dragged onto another: copy over it, or swap the two.
  void CopyInto(int from, int to);
  void Swap(int a, int b);
  // The name typed over the row; the current preset is renamed as its name field does.
  void Rename(int slot, const std::string& name);
  // The slot's name as the rename field starts with it; "" when unknown.
  std::string NameOf(int slot) const;

 private:
  struct Copied {
    int slot = 0;
    PresetRecord record;
  };
  // Whether slot operations may write now; says why not.
  bool MayWrite();
  std::optional<PresetRecord> Known(int slot);
  // `05 "Lead Boost"`, for the questions.
  std::string Named(int slot, const PresetRecord& record) const;
  void Write(int slot, const PresetRecord& record);
  // `source` (the record of `from`) over `to`, after the question.
  void WriteOver(int from, const PresetRecord& source, int to);

  Needs mNeeds;
  BusyCheck mBusy;
  std::optional<Copied> mCopied;
};

}  // namespace qd3
