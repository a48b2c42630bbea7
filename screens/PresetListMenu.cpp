#include "screens/PresetListMenu.h"

#include <cmath>
#include <utility>

#include "params/DependentValues.h"
#include "protocol/DeviceMessages.h"
#include "toolkit/IGraphics.h"

namespace qd3 {
namespace {

// A drag shorter than this stays a click on its row.
constexpr float kDragStart = 8.f;

std::string Trimmed(std::string label) {
  label.erase(label.find_last_not_of(' ') + 1);
  label.erase(0, label.find_first_not_of(' '));
  return label;
}

}  // namespace

PresetListMenu::PresetListMenu(const IRECT& bounds, QD3Control& editor, const IText& renameStyle)
    : ReportingSelectControl(
          bounds, kParamPresetPicker,
          [&editor](int kind) { editor.SetPresetPickerPressed(kind == kPress); },
          [&editor](bool positive, bool fine) { editor.WheelPresetList(positive, fine); }),
      mEditor(editor),
      mRenameStyle(renameStyle) {}

int PresetListMenu::RowAt(float y) const {
  const int row = static_cast<int>((y - static_cast<float>(kPresetListFirstRowY)) /
                                   static_cast<float>(kPresetListRowPitch));
  return y < static_cast<float>(kPresetListFirstRowY) || row >= kPresetListVisibleRows ? -1 : row;
}

IRECT PresetListMenu::RowRect(int row) const {
  const float top = static_cast<float>(kPresetListFirstRowY + kPresetListRowPitch * row);
  return {kPresetRowLeft, top, kPresetRowRight, top + kPresetRowHeight};
}

void PresetListMenu::OnMouseDown(float x, float y, const IMouseMod& mod) {
  if (mod.R) {
    // The menu's row is not picked: a right click selects nothing on the pedal.
    OpenRowMenu(RowAt(y));
    return;
  }
  const int row = RowAt(y);
  mDragFrom = row >= 0 ? mEditor.SlotAtListRow(row) : -1;
  mDragged = false;
  mDragY = y;
  ReportingSelectControl::OnMouseDown(x, y, mod);
}

void PresetListMenu::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  if (std::abs(y - mDragY) >= kDragStart) mDragged = true;
  ReportingSelectControl::OnMouseDrag(x, y, dX, dY, mod);
}

void PresetListMenu::OnMouseUp(float x, float y, const IMouseMod& mod) {
  ReportingSelectControl::OnMouseUp(x, y, mod);
  const int from = std::exchange(mDragFrom, -1);
  if (!std::exchange(mDragged, false) || from < 0) return;
  const int row = RowAt(y);
  const int to = row >= 0 ? mEditor.SlotAtListRow(row) : -1;
  if (to >= 0 && to != from) OpenDragMenu(from, to, row);
}

void PresetListMenu::OpenForHighlighted() {
  const int slot = mEditor.session.highlightedPreset;
  for (int row = 0; row < kPresetListVisibleRows; ++row) {
    if (mEditor.SlotAtListRow(row) == slot) {
      OpenRowMenu(row);
      return;
    }
  }
}

void PresetListMenu::OpenRowMenu(int row) {
  const int slot = row >= 0 ? mEditor.SlotAtListRow(row) : -1;
  if (slot < 0 || !GetUI()) return;
  std::vector<std::string> items{"Copy"};
  mChoices = {[this, slot] { mEditor.Slots().Copy(slot); }};
  if (mEditor.Slots().CanPaste()) {
    items.emplace_back("Paste");
    mChoices.emplace_back([this, slot] { mEditor.Slots().Paste(slot); });
  }
  items.emplace_back("Rename");
  const IRECT rect = RowRect(row);
  mChoices.emplace_back([this, slot, rect] {
    mRenameSlot = slot;
    GetUI()->CreateTextEntry(*this, mRenameStyle, rect, mEditor.Slots().NameOf(slot), kNameSize);
  });
  GetUI()->CreatePopupMenu(*this, std::move(items), rect);
}

void PresetListMenu::OpenDragMenu(int from, int to, int toRow) {
  if (!GetUI()) return;
  const std::string dragged = Trimmed(mEditor.PresetRowLabel(from));
  std::vector<std::string> items{"Copy " + dragged + " here", "Swap with " + dragged};
  mChoices = {[this, from, to] { mEditor.Slots().CopyInto(from, to); },
              [this, from, to] { mEditor.Slots().Swap(from, to); }};
  GetUI()->CreatePopupMenu(*this, std::move(items), RowRect(toRow));
}

void PresetListMenu::OnPopupMenuSelection(int index) {
  std::vector<std::function<void()>> choices = std::move(mChoices);
  mChoices.clear();
  if (index >= 0 && static_cast<size_t>(index) < choices.size())
    choices[static_cast<size_t>(index)]();
}

void PresetListMenu::OnTextEntryCompletion(const std::string& text) {
  const int slot = std::exchange(mRenameSlot, -1);
  if (slot >= 0) mEditor.Slots().Rename(slot, text);
}

}  // namespace qd3
