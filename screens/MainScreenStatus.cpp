// The preset name entry, the device status lines with "RECONNECT", and the hidden
// rows of the user-IR list.
#include <cstdio>
#include <memory>
#include <string>

#include "QD3ControlScreenNames.h"
#include "protocol/DeviceMessages.h"
#include "screens/MainScreen.h"
#include "toolkit/controls/IEditableTextControl.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IVButtonControl.h"

namespace qd3 {
namespace {

constexpr IRECT kNameEntryRect{20.f, 120.f, 260.f, 144.f};
constexpr IRECT kEditedMarkerRect{170.f, 98.f, 262.f, 118.f};
constexpr float kEditedMarkerSize = 18.f;
constexpr IRECT kDeviceLineRect{660.f, 5.f, 1060.f, 29.f};
constexpr IRECT kVersionLineRect{660.f, 27.f, 1060.f, 51.f};
constexpr IRECT kSerialLineRect{660.f, 49.f, 1060.f, 73.f};
constexpr IRECT kReconnectRect{540.f, 18.f, 655.f, 63.f};

// The user-IR list rows: 16 in a left and 16 in a right column. They are never
// shown, so where they sit matters only in that it is inside the canvas.
constexpr int kIrListRows = 32;
constexpr int kIrListRowsPerColumn = 16;
constexpr float kIrListLeft = 495.f;
constexpr float kIrListColumnPitch = 300.f;
constexpr float kIrListTop = 713.f;
constexpr float kIrListRowPitch = 25.f;
constexpr float kIrListRowWidth = 280.f;

}  // namespace

void BuildNameAndStatus(ScreenBuild& s) {
  QD3Control* editor = &s.editor;
  s.graphics.AttachControl(
      std::make_unique<IEditableTextControl>(
          kNameEntryRect, editor->presetNameText, s.styles.nameText, kColorTransparent,
          [editor](IControl* control) {
            editor->presetNameText = control->GetStr();
            editor->StoreCurrentPreset();
          },
          kNameSize),
      kTagPresetName, group::kMain);
  IText edited = s.styles.statusText.WithSize(kEditedMarkerSize);
  edited.fgColor = palette::kEditedAmber;
  edited.align = EAlign::Far;
  s.graphics
      .AttachControl(std::make_unique<ITextControl>(kEditedMarkerRect, "EDITED", edited),
                     kTagEditedMarker, group::kMain)
      ->Hide(true);

  s.graphics.AttachControl(
      std::make_unique<ITextControl>(kDeviceLineRect, std::string{}, s.styles.statusText),
      kTagDeviceLine, group::kDevice);
  s.graphics.AttachControl(
      std::make_unique<ITextControl>(kVersionLineRect, kTextConnecting, s.styles.statusText),
      kTagVersionLine, group::kDevice);
  s.graphics.AttachControl(
      std::make_unique<ITextControl>(kSerialLineRect, std::string{}, s.styles.statusText),
      kTagSerialLine, group::kDevice);
  s.graphics.AttachControl(std::make_unique<IVButtonControl>(
                               kReconnectRect, [editor](IControl*) { editor->Reconnect(); },
                               "RECONNECT", s.styles.ButtonStyleWithLabelSize(kButtonLabelSmall)),
                           kNoTag, group::kDevice);
}

void BuildUserIrListRows(ScreenBuild& s) {
  for (int r = 0; r < kIrListRows; ++r) {
    const float left =
        kIrListLeft + kIrListColumnPitch * static_cast<float>(r / kIrListRowsPerColumn);
    const float top = kIrListTop + kIrListRowPitch * static_cast<float>(r % kIrListRowsPerColumn);
    ITextControl* row = s.graphics.AttachControl(
        std::make_unique<ITextControl>(
            IRECT(left, top, left + kIrListRowWidth, top + kIrListRowPitch), std::string{},
            s.styles.irListText),
        kNoTag, group::kCustomIr);
    row->SetEllipsis(true);
    row->SetStr({});
    char text[24];
    std::snprintf(text, sizeof text, "Empty Slot %d", r + 1);
    row->SetStr(text);
  }
  s.graphics.HideGroup(group::kCustomIr, true);
}

}  // namespace qd3
