#pragma once

// Undo and redo of the player's changes: records each change of the edit buffer and
// each store into a slot as a step, and plays a step back as the player would have made
// it: the sound as live edits, a slot's record with the store that wrote it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "editor/EditorState.h"
#include "editor/Outbox.h"
#include "editor/ParamWriter.h"
#include "editor/PresetMirror.h"
#include "editor/ScreenWriter.h"
#include "editor/UndoHistory.h"
#include "params/ParamCatalogue.h"
#include "protocol/DeviceSession.h"

namespace qd3 {

class UndoRedo {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    DeviceSession& session;
    const ParamCatalogue& params;
    ParamWriter& writer;
    PresetMirror& mirror;
    const EditBufferState& edit;
  };
  // True while a transfer runs that a slot write or a preset change would disturb.
  using BusyCheck = std::function<bool()>;

  explicit UndoRedo(const Needs& needs) : mNeeds(needs) {}
  void SetBusyCheck(BusyCheck busy) { mBusy = std::move(busy); }

  // ---- recording ----
  // The edit buffer as a step keeps it.
  SoundValues Capture() const;
  // The player changed `param` (a control); `before` was captured just before.
  void NoteEdit(int param, const SoundValues& before);
  // A press on a control starts a gesture and its release ends it: the moves between
  // are one step. A wheel notch is a gesture that joins the wheel run before it.
  void BeginGesture(int param, bool wheel);
  void EndGesture();
  // Everything between is one step named `what` (a template, a preset file, a switch).
  void OpenStep(std::string what);
  void CloseStep();
  // A store into `slot`, told before the mirror and the cache take `after`.
  void NoteSlotWrite(int slot, const PresetRecord& after);

  // ---- playing back ----
  // False when there is nothing to undo (redo) or it has to wait; a step on another
  // preset selects that preset first and is played when the pedal sent it.
  bool Undo() { return Perform(false); }
  bool Redo() { return Perform(true); }
  // "Undo Drive change", "Redo store into 05"; empty when there is no such step.
  std::string MenuText(bool redo) const;
  // The pedal's current preset arrived (a dump, or a record written back).
  void OnCurrentPresetLoaded(int slot);
  // A pedal answered with its serial number: another pedal's history is not this one's.
  void OnConnected(const std::string& serial);
  void OnDeviceTick();
  const UndoHistory& History() const { return mHistory; }

  // Ticks (100 ms) within which a wheel notch joins the one before.
  static constexpr long kWheelJoinTicks = 5;
  // Ticks the pedal has to send the preset an undo selected.
  static constexpr int kSelectWaitTicks = 30;

 private:
  struct Gesture {
    int param = -1;
    bool wheel = false;
    bool open = false;
  };
  struct Pending {
    uint64_t id = 0;
    bool redo = false;
    int ticks = 0;
  };
  bool Perform(bool redo);
  // Whether the step's slots still hold what the step left there; if not, says so and
  // clears the history, whose older steps do not hold either.
  bool SlotsAsLeft(const UndoStep& step, bool redo);
  void Apply(const UndoStep& step, bool redo);
  std::string StepName(const UndoStep& step) const;

  Needs mNeeds;
  BusyCheck mBusy;
  UndoHistory mHistory;
  std::optional<UndoStep> mOpen;
  Gesture mGesture;
  uint64_t mJoinId = 0;   // the step the open gesture moves
  uint64_t mWheelId = 0;  // the step of the last wheel run
  std::optional<Pending> mPending;
  std::string mSerial;
  long mTick = 0;
};

}  // namespace qd3
