#pragma once

#include <array>
#include <span>
#include <vector>

#include "params/ParamCatalogue.h"
#include "params/SoundTemplateTables.h"

namespace qd3 {

// One parameter set that applying a template performs, in order. The applier
// sets `normalized` through the catalogue's set path (with applyingDeviceValues
// true, so nothing is echoed) and queues it for the parameter's controls;
// afterwards the parameter holds `raw`.
struct TemplateSet {
  int index = 0;
  double normalized = 0.0;
  int raw = 0;
  // True for the set of "Dynamics" (10) that the change handler's link of
  // "Compression" (69) performs right after the entry before it. The applier
  // does not perform it itself; it is listed so the whole sequence is visible.
  bool byLink = false;
};

// The sets of drive template k (0..9): 1, 11, 5, 64, 69 (and 10 through the
// link), 2, 44, 3, 45, 4, 46. "Compression" gets (d - 64) / 63 for a dynamics
// field d of 64 or more, else 0, so "Dynamics" ends at d, or at 64 for d < 64.
// Empty for any other k.
std::vector<TemplateSet> DriveTemplateSets(int k);

// The sets of ambience template k (0..6): 16, 58, 59 with t / max, then 18..24
// with (t - min) / (max - min) ("Reverb Extension Factor" 2..5: (t - 2) / 3).
// Empty for any other k.
std::vector<TemplateSet> AmbienceTemplateSets(int k);

// Which templates a preset's 65 raw sound values were built from.
struct TemplateMatch {
  int drive = kNoDriveTemplate;        // 0..9, or kNoDriveTemplate
  int ambience = kNoAmbienceTemplate;  // 0..6, or kNoAmbienceTemplate
};

// The first drive template whose Buzz, Punch, Buzz Q, Punch Q, Crunch Q and
// Punch Freq equal the values (Gain, Crunch, Drive, Dynamics and Preset Level
// are the player's to change), and the first ambience template whose nine
// fields after Room Size equal them (the room size is the echo time).
TemplateMatch MatchTemplates(std::span<const int, kNumSoundParams> values);

// What showing a group of controls again asks of the screens.
enum class GroupChange { kKeep, kShow, kHide };

// Button values after highlighting drive template k (kNoDriveTemplate or any
// other value outside 0..9: all dark). Button kFirstDriveButtonTag + j gets
// buttonValues[j] (1 = lit frame).
struct DriveHighlight {
  std::array<int, kNumDriveTemplates> buttonValues{};
  // The drive page is shown: hide and show kDriveButtonGroup so it redraws.
  bool redrawGroup = false;
};
DriveHighlight DriveHighlightFor(int k, int currentPage);

// Button values after highlighting ambience template k, then what becomes of
// kEchoTimeGroup (shown for the echo voicings on the ambience page, hidden for
// every other k whatever the page), then whether the buttons redraw.
struct AmbienceHighlight {
  std::array<int, kNumAmbienceTemplates> buttonValues{};
  GroupChange echoTimeGroup = GroupChange::kKeep;
  // The ambience page is shown: hide and show buttons 75..81 so they redraw.
  bool redrawButtons = false;
};
AmbienceHighlight AmbienceHighlightFor(int k, int currentPage);

// The screen side of a template match while the window is open: both
// highlights in this order, then ShowPage(13) runs again when the drive page is
// shown, so that "Compression" follows the new "Dynamics".
struct MatchHighlights {
  DriveHighlight drive;
  AmbienceHighlight ambience;
  bool reshowDrivePage = false;
};
MatchHighlights MatchHighlightsFor(TemplateMatch match, int currentPage);

// A template button acts only while it is dark; the release after a press, or a
// press on the lit button, applies nothing.
inline bool TemplateButtonActs(double buttonValue) {
  return buttonValue == 0.0;
}

}  // namespace qd3
