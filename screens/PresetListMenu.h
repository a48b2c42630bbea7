#pragma once

// The preset list's picker with its menu: a right click on a row (or the Menu key on the
// highlighted one) offers Copy, Paste and Rename; a row dragged onto another offers to
// copy it there or swap the two. Rename opens the text entry over the row.

#include <functional>
#include <string>
#include <vector>

#include "QD3Control.h"
#include "screens/ReportingSelectControl.h"
#include "toolkit/IText.h"

namespace qd3 {

// A list row's rectangle: rows are kPresetListRowPitch (50) apart and 48 high.
inline constexpr float kPresetRowLeft = 1.f;
inline constexpr float kPresetRowRight = 261.f;
inline constexpr float kPresetRowHeight = 48.f;

class PresetListMenu : public ReportingSelectControl {
 public:
  PresetListMenu(const IRECT& bounds, QD3Control& editor, const IText& renameStyle);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnPopupMenuSelection(int index) override;
  void OnTextEntryCompletion(const std::string& text) override;
  void OnTextEntryCancelled() override { mRenameSlot = -1; }
  // The Menu key: the menu of the highlighted slot, if its row is in view.
  void OpenForHighlighted();

 private:
  int RowAt(float y) const;
  IRECT RowRect(int row) const;
  void OpenRowMenu(int row);
  void OpenDragMenu(int from, int to, int toRow);

  QD3Control& mEditor;
  IText mRenameStyle;
  std::vector<std::function<void()>> mChoices;  // what each item of the open menu does
  int mDragFrom = -1;                           // the slot a left press began on
  float mDragY = 0.f;
  bool mDragged = false;
  int mRenameSlot = -1;
};

}  // namespace qd3
