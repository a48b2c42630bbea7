#pragma once

// Files dragged from the desktop onto the canvas: what each drop is and where it goes,
// the refusals, and a preset file dropped on another preset's row, which waits for the
// pedal to change to that preset before it is imported there.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/EditorState.h"
#include "editor/Outbox.h"
#include "editor/ScreenWriter.h"
#include "params/ParamCatalogue.h"
#include "protocol/DeviceSession.h"

namespace qd3 {

// What the first control under a drop point stands for; the transparent pickers over
// the preset list and the cabinet list let the row beneath them speak.
enum class DropSpot : uint8_t { kNone, kUserIrA, kUserIrB, kPresetRow };
struct DropPlace {
  DropSpot spot = DropSpot::kNone;
  int slot = -1;  // kPresetRow only
};
DropPlace DropPlaceOf(const std::vector<ScreenWriter::Pointed>& underPoint);

// What the dropped files ask for at that place, or why they are refused.
enum class DropKind : uint8_t { kRefused, kWav, kPresetFile, kBankFile };
struct DropVerdict {
  DropKind kind = DropKind::kRefused;
  std::string path;
  std::string refusal;  // kRefused: the text for the player, naming the file
};
DropVerdict JudgeDrop(const std::vector<std::string>& paths, const DropPlace& place);

// The file's name as the player knows it: the text after the last slash.
std::string DroppedFileName(const std::string& path);

class FileDrops {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    DeviceSession& session;
    const ParamCatalogue& params;
    EditBufferState& edit;
  };
  // What the editor does for a drop, each as its own button or menu entry does once the
  // file is chosen.
  struct Actions {
    // Into the current slot; false when the file could not be read at all.
    std::function<bool(const std::string& path)> importPreset;
    std::function<void(const std::string& path)> importBank;
    std::function<void(bool positionB, const std::string& path)> loadWav;
    std::function<std::string(int slot)> slotLabel;
    // A transfer, a store or an import runs that a change of preset would disturb.
    std::function<bool()> busy;
  };
  explicit FileDrops(const Needs& needs) : mNeeds(needs) {}

  // `paths` dropped at design point (x, y).
  void Drop(const std::vector<std::string>& paths, float x, float y, Actions actions);
  // A current preset was loaded into the edit buffer.
  void OnPresetLoaded(int slot);
  // The device timer: the wait for the pedal to change its preset is bounded.
  void OnDeviceTick();
  bool WaitingForPreset() const { return mWaiting.has_value(); }

  // About 3 s of 100 ms device ticks.
  static constexpr int kPresetChangeWaitTicks = 30;

 private:
  struct Waiting {
    std::string path;
    int slot = 0;
    int ticksLeft = kPresetChangeWaitTicks;
    Actions actions;
  };
  void DropWav(const std::string& path, bool positionB, const Actions& actions);
  void DropPresetFile(const std::string& path, int slot, Actions actions);
  // The file into the current slot, as IMPORT; an unreadable one is named to the player.
  void ImportIntoCurrent(const std::string& path, const Actions& actions);
  void ContinueAfterChange(const Waiting& waited);
  int PatchOffset() const;

  Needs mNeeds;
  std::optional<Waiting> mWaiting;
};

}  // namespace qd3
