#pragma once

// The editor's only way onto the screen: texts, values, groups, the preset list's rows,
// progress and message boxes. Every call is skipped while no window is open or when no
// control carries the tag, so the parts never ask whether a window exists.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "QD3ControlScreenNames.h"
#include "editor/DynamicsGraphView.h"
#include "protocol/DeviceMessages.h"
#include "toolkit/api/IPlatformServices.h"
#include "toolkit/api/IScreenAccess.h"

namespace qd3 {

class ScreenWriter {
 public:
  using PresetRows = std::array<IControlHandle*, kPresetCount>;

  // The open window's controls; nullptr when it goes, which also forgets its rows and graph.
  void Attach(IScreenAccess* screen);
  bool IsOpen() const { return mScreen != nullptr; }
  void SetPlatform(IPlatformServices* platform) { mPlatform = platform; }
  IPlatformServices* Platform() const { return mPlatform; }
  void AttachRows(const PresetRows& rows) { mRows = rows; }
  void AttachGraph(DynamicsGraphView* graph) { mGraph = graph; }
  // nullptr while no window is open.
  DynamicsGraphView* Graph() const { return mGraph; }

  void SetText(int tag, const std::string& text);
  void SetValue(int tag, double normalized);
  void SetTextColor(int tag, uint32_t argb);
  void Hide(int tag, bool hide);
  void Disable(int tag, bool disable);
  // Marks the control for a repaint of its whole area.
  void Redraw(int tag);
  // The same for every control of a group (shown groups only).
  void RedrawGroup(std::string_view group);
  void ShowGroup(std::string_view group, bool show);
  void EnableGroup(std::string_view group, bool enable);

  // The control's text, or `otherwise` when there is none.
  std::string Text(int tag, const std::string& otherwise) const;
  // The control's value; 0 when there is none.
  double Value(int tag) const;
  bool IsShown(int tag) const;
  bool HasControl(int tag) const { return Find(tag) != nullptr; }
  // A control the player sees at a design point; a preset row also names its slot.
  struct Pointed {
    int tag = kNoTag;
    int paramIdx = -1;
    int presetSlot = -1;  // not a preset row
  };
  // What lies under a design point, topmost first; nothing while no window is open.
  std::vector<Pointed> ControlsAt(float x, float y) const;

  void SetRowText(int slot, const std::string& text);
  void SetRowTextColor(int slot, uint32_t argb);
  void PlaceRow(int slot, bool visible, int x, int y);

  // The display's dimmed number and "EDITED" while the edit buffer is not stored.
  void ShowPresetModified(bool modified);
  // Shows or hides a progress overlay; shown, it carries the target's heading, and its
  // Cancel button is live only for a transfer that can stop cleanly.
  void ShowProgressPanel(const ProgressTarget& target, bool show);
  // A fraction and its "%d %%" text on a progress overlay, under the target's heading.
  void ShowProgress(double fraction, const ProgressTarget& target = kCommonProgress);
  // The same with the IR fetch's rounded percentage.
  void ShowIrFetchProgress(double fraction);

  // A message box while the window is open.
  void ShowBox(const std::string& text) const;
  // A message box whenever the platform can show one, window or not.
  void Inform(const std::string& text) const;
  // An OK/Cancel question; false (as Cancel) when there is no way to ask.
  bool Ask(const std::string& text, const std::string& caption = "") const;
  // Store / Discard / Cancel about unsaved edits: OK, Discard or Cancel; Cancel when there
  // is no way to ask.
  EMsgBoxResult AskAboutUnsavedEdits(const std::string& text) const;

 private:
  void LabelProgressPanel(const ProgressTarget& target);
  IControlHandle* Find(int tag) const;
  IControlHandle* Row(int slot) const;

  IScreenAccess* mScreen = nullptr;
  IPlatformServices* mPlatform = nullptr;
  PresetRows mRows{};
  DynamicsGraphView* mGraph = nullptr;
};

}  // namespace qd3
