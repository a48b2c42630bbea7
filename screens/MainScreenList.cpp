// The left column of the main screen: the preset list, its picker and scroll bar,
// and the preset file buttons.
#include <cstdio>
#include <memory>

#include "QD3ControlScreenNames.h"
#include "params/DependentValues.h"
#include "screens/MainScreen.h"
#include "screens/PresetListMenu.h"
#include "toolkit/controls/IEditableTextControl.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IVButtonControl.h"
#include "toolkit/controls/IVSliderControl.h"

namespace qd3 {
namespace {

constexpr IRECT kPickerRect{1.f, 228.f, 261.f, 1178.f};
constexpr IRECT kScrollBarRect{260.f, 230.f, 300.f, 1170.f};
constexpr double kScrollGearing = 1.0;
constexpr float kScrollHandleSize = 12.f;

constexpr IRECT kImportRect{15.f, 170.f, 130.f, 215.f};
constexpr IRECT kExportRect{135.f, 170.f, 250.f, 215.f};
// In the free strip right of the list, on the row of IMPORT and EXPORT.
constexpr IRECT kCompareRect{340.f, 170.f, 480.f, 215.f};
// Beside the list's first rows, under COMPARE: the filter and its caption.
constexpr IRECT kFilterCaptionRect{340.f, 226.f, 640.f, 246.f};
constexpr IRECT kFilterRect{340.f, 248.f, 640.f, 292.f};
constexpr std::size_t kFilterMaxBytes = 32;  // a name is 32 characters

}  // namespace

void BuildPresetList(ScreenBuild& s) {
  for (int i = 0; i < kPresetCount; ++i) {
    const float top = static_cast<float>(kPresetListFirstRowY + kPresetListRowPitch * i);
    auto row = std::make_unique<ITextControl>(
        IRECT(kPresetRowLeft, top, kPresetRowRight, top + kPresetRowHeight), std::string{},
        s.styles.listText, palette::kListRowBackground);
    ITextControl* attached = s.graphics.AttachControl(std::move(row));
    attached->SetEllipsis(true);  // a long name must not run under the scroll bar
    attached->SetStr({});
    char label[8];
    std::snprintf(label, sizeof label, " %02d", i + 1);
    attached->SetStr(label);
    s.presetRows[static_cast<size_t>(i)] = attached;
  }
  // The editor learns whether the picker's next value is a pick before it arrives.
  s.presetPicker = s.graphics.AttachControl(
      std::make_unique<PresetListMenu>(kPickerRect, s.editor, s.styles.listText),
      kTagPresetListPicker);
  // The bar's position is no value of the player's: no number in its tooltip.
  s.graphics
      .AttachControl(std::make_unique<IVSliderControl>(kScrollBarRect, kParamScroll, std::string{},
                                                       s.styles.sliderStyle, true, kScrollGearing,
                                                       kScrollHandleSize),
                     kNoTag, group::kMain)
      ->SetParamTooltip(false);
}

void BuildPresetFileButtons(ScreenBuild& s) {
  QD3Control* editor = &s.editor;
  const IVStyle style = s.styles.ButtonStyleWithLabelSize(kButtonLabelSmall);
  s.graphics.AttachControl(
      std::make_unique<IVButtonControl>(
          kImportRect, [editor](IControl*) { editor->ImportPresetFile(); }, "IMPORT", style),
      kNoTag, group::kMain);
  s.graphics.AttachControl(
      std::make_unique<IVButtonControl>(
          kExportRect, [editor](IControl*) { editor->ExportPresetFile(); }, "EXPORT", style),
      kNoTag, group::kMain);
  auto compare = std::make_unique<IVButtonControl>(
      kCompareRect, [editor](IControl*) { editor->OnCompareButton(); }, "COMPARE", style);
  compare->SetLatching(true);
  // Enabled once the sound is edited.
  compare->SetDisabled(true);
  s.graphics.AttachControl(std::move(compare), kTagCompareButton, group::kMain);

  s.graphics.AttachControl(std::make_unique<ITextControl>(
                               kFilterCaptionRect, "FIND PRESET  (Ctrl+F)", s.styles.captionText),
                           kNoTag, group::kMain);
  // Return picks the first preset listed, a press elsewhere only leaves the field; Escape
  // clears the filter.
  auto filter = std::make_unique<IEditableTextControl>(
      kFilterRect, std::string{}, s.styles.listText, palette::kListRowBackground,
      [editor](IControl* control) { editor->FilterPresetList(control->GetStr()); },
      kFilterMaxBytes);
  filter->SetReturnFunction([editor, control = filter.get()] {
    if (!control->GetStr().empty()) editor->PickFirstListedPreset();
  });
  filter->SetLiveTextFunction(
      [editor](const std::string& text) { editor->FilterPresetList(text); });
  filter->SetEllipsis(true);
  s.graphics.AttachControl(std::move(filter), kTagPresetFilter, group::kMain);
}

}  // namespace qd3
