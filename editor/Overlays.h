#pragma once

// The pages that cover the pedal face: the global settings with their two MIDI map
// pages and factory resets, the about screen, and the firmware screen's Escape. Escape
// closes the topmost one exactly as its own close control would, and while one covers
// the pedal face no other shortcut reaches it.

#include <array>
#include <cstdint>
#include <string>

#include "editor/BankActivities.h"
#include "editor/EditorState.h"
#include "editor/Outbox.h"
#include "editor/PedalFace.h"
#include "editor/PresetMirror.h"
#include "editor/ScreenWriter.h"

namespace qd3 {

class Overlays {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    DeviceSession& session;
    const ParamCatalogue& params;
    PresetMirror& mirror;
    BankActivities& banks;
    std::array<uint8_t, 128>& programMap;
    MapsRead& mapsRead;
  };
  explicit Overlays(const Needs& needs) : mNeeds(needs) {}

  // "QD3 Global Settings..." and the page's "X" and click catcher.
  void OpenGlobalSettings();
  void CloseGlobalSettings();
  // A map page fetches its table on opening and sends the whole table back on "BACK",
  // once the table arrived; a table never read is not sent, and the player is told.
  void OpenProgramMap();
  void CloseProgramMap();
  void OpenControllerMap();
  void CloseControllerMap();
  // "ALL", "PRESETS", "SETTINGS": asks "Are you sure?", then resets the pedal.
  void FactoryReset(int kind);
  // "Are you sure?" after what the reset of `kind` erases.
  static std::string ResetQuestion(int kind);
  void ShowAbout();
  void CloseAbout();
  // Whether an overlay took the key (Escape closes the topmost).
  bool OnKey(EditorKey key);
  // The window went, and the overlays with it.
  void Forget() { mOpen = {}; }

 private:
  struct OpenOverlays {
    bool settings = false;
    bool programMap = false;
    bool controllerMap = false;
    bool about = false;
  };

  Needs mNeeds;
  OpenOverlays mOpen;
};

}  // namespace qd3
