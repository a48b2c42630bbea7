#include "editor/SlotOperations.h"

#include "QD3ControlScreenNames.h"
#include "presets/SlotLabels.h"
#include "presets/StoreRecord.h"
#include "protocol/Name32.h"

namespace qd3 {
namespace {

constexpr char kTextConnectFirst[] =
    "The QD3 is not connected: copying, swapping and renaming presets write to the pedal.";
constexpr char kTextWaitForTransfer[] =
    "Wait until the transfer with the QD3 has finished, then try again.";

}  // namespace

bool SlotOperations::MayWrite() {
  if (!mNeeds.session.connected) {
    mNeeds.screen.ShowBox(kTextConnectFirst);
    return false;
  }
  if (mBusy && mBusy()) {
    mNeeds.screen.ShowBox(kTextWaitForTransfer);
    return false;
  }
  return true;
}

std::optional<PresetRecord> SlotOperations::Known(int slot) {
  if (slot < 0 || slot >= kPresetCount) return std::nullopt;
  std::optional<PresetRecord> record = mNeeds.mirror.StoredRecord(slot);
  if (!record) {
    std::string text = "Preset ";
    text += SlotNumberText(slot, PatchOffsetOf(mNeeds.params));
    text += " has not been read from the QD3 yet; wait for the list to be synchronised.";
    mNeeds.screen.ShowBox(text);
  }
  return record;
}

std::string SlotOperations::Named(int slot, const PresetRecord& record) const {
  std::string text = SlotNumberText(slot, PatchOffsetOf(mNeeds.params));
  text += " \"";
  text += TrimName32(record.NameField());
  text += '"';
  return text;
}

bool SlotOperations::Copy(int slot) {
  const std::optional<PresetRecord> record = Known(slot);
  if (!record) return false;
  mCopied = Copied{slot, *record};
  return true;
}

void SlotOperations::Paste(int slot) {
  // What was copied is pasted, even if its slot changed since.
  if (mCopied) WriteOver(mCopied->slot, mCopied->record, slot);
}

void SlotOperations::CopyInto(int from, int to) {
  if (from == to || !MayWrite()) return;
  // A dragged row is what its slot holds now.
  if (const std::optional<PresetRecord> source = Known(from)) WriteOver(from, *source, to);
}

void SlotOperations::WriteOver(int from, const PresetRecord& source, int to) {
  if (from == to || !MayWrite()) return;
  const std::optional<PresetRecord> target = Known(to);
  if (!target) return;
  std::string question = "Overwrite ";
  question += Named(to, *target);
  question += " with ";
  question += Named(from, source);
  question += '?';
  if (!mNeeds.screen.Ask(question)) return;
  // The current preset's unsaved edits are settled first, or they would be lost unasked.
  if (to == mNeeds.session.currentPreset && !mNeeds.templates.SettleUnsavedEdits()) return;
  Write(to, source);
}

void SlotOperations::Swap(int a, int b) {
  if (a == b || !MayWrite()) return;
  std::optional<PresetRecord> first = Known(a);
  if (!first) return;
  std::optional<PresetRecord> second = Known(b);
  if (!second) return;
  std::string question = "Swap ";
  question += Named(a, *first);
  question += " and ";
  question += Named(b, *second);
  question += '?';
  if (!mNeeds.screen.Ask(question)) return;
  const int current = mNeeds.session.currentPreset;
  if ((a == current || b == current) && !mNeeds.templates.SettleUnsavedEdits()) return;
  // Settling may have stored the edits: what is swapped is what the slots hold now.
  first = Known(a);
  second = Known(b);
  if (!first || !second || !MayWrite()) return;
  std::string what = "swap of ";
  what += SlotNumberText(a, PatchOffsetOf(mNeeds.params));
  what += " and ";
  what += SlotNumberText(b, PatchOffsetOf(mNeeds.params));
  mNeeds.undo.OpenStep(what);
  Write(a, *second);
  Write(b, *first);
  mNeeds.undo.CloseStep();
}

void SlotOperations::Rename(int slot, const std::string& name) {
  if (slot == mNeeds.session.currentPreset) {
    // As the name field does: the edit buffer is stored with its new name. Not into a
    // running transfer, though.
    if (mBusy && mBusy()) {
      mNeeds.screen.ShowBox(kTextWaitForTransfer);
      return;
    }
    mNeeds.edit.presetNameText = name;
    mNeeds.screen.SetText(kTagPresetName, name);
    mNeeds.templates.StoreCurrentPreset();
    return;
  }
  if (!MayWrite()) return;
  std::optional<PresetRecord> record = Known(slot);
  if (!record) return;
  WriteName32(name, record->NameField());
  Write(slot, *record);
}

std::string SlotOperations::NameOf(int slot) const {
  const std::optional<PresetRecord> record = mNeeds.mirror.StoredRecord(slot);
  return record ? TrimName32(record->NameField()) : std::string();
}

void SlotOperations::Write(int slot, const PresetRecord& record) {
  mNeeds.outbox.Send(BuildStorePresetMessage(slot, record));
  mNeeds.undo.NoteSlotWrite(slot, record);
  mNeeds.mirror.NoteStored(slot, record);
  // A store into the current slot is the pedal's edit buffer as well.
  if (slot == mNeeds.session.currentPreset) mNeeds.mirror.LoadStoredRecord(slot, record);
}

}  // namespace qd3
