// The firmware update screen: its background, the "UPDATE FIRMWARE" and "X" buttons
// with the download link, and the progress shown while the image streams.
#include <memory>

#include "QD3ControlScreenNames.h"
#include "screens/ScreenPictures.h"
#include "screens/overlays/OverlayParts.h"
#include "screens/overlays/Overlays.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IURLControl.h"
#include "toolkit/controls/IVKnobControl.h"

namespace qd3 {
namespace {

constexpr IRECT kUpdateRect{1000.f, 650.f, 1200.f, 715.f};
constexpr IRECT kLinkRect{748.f, 346.f, 948.f, 376.f};
constexpr IRECT kCloseRect{1508.f, 310.f, 1563.f, 350.f};
constexpr IRECT kProgressKnobRect{1010.f, 710.f, 1185.f, 885.f};
constexpr IRECT kProgressTextRect{1010.f, 705.f, 1185.f, 880.f};
constexpr float kLinkTextSize = 25.f;
constexpr float kProgressTextSize = 50.f;

// Our own project's page, where the editor's documentation tells where firmware
// images come from; the link names no maker's address.
constexpr const char* kFirmwarePageText = "qd3control.github.io";
constexpr const char* kFirmwarePageUrl = "https://qd3control.github.io/docs/";

}  // namespace

void BuildFirmwareScreens(ScreenBuild& s) {
  AttachOverlayBackdrop(s, group::kFirmwareBackground);
  AttachPicture(s.graphics, "fwbg.png", 0.f, 0.f, kOverlayPictureSize, kTagFirmwareBackground,
                group::kFirmwareBackground);

  QD3Control* editor = &s.editor;
  s.graphics.AttachControl(
      std::make_unique<IVButtonControl>(
          kUpdateRect, [editor](IControl*) { editor->StartFirmwareUpdate(); }, "UPDATE FIRMWARE",
          s.styles.ButtonStyleWithLabelSize(kButtonLabelSmall)),
      kNoTag, group::kFirmwareUpdate);
  s.graphics.AttachControl(
      std::make_unique<IURLControl>(kLinkRect, kFirmwarePageText, kFirmwarePageUrl,
                                    s.styles.overlayText.WithSize(kLinkTextSize), kColorTransparent,
                                    palette::kLinkHover, palette::kLinkHover),
      kNoTag, group::kFirmwareUpdate);
  s.graphics.AttachControl(std::make_unique<IVButtonControl>(
                               kCloseRect, [editor](IControl*) { editor->CloseFirmwareUpdate(); },
                               "X", s.styles.ButtonStyleWithLabelSize(kButtonLabelLarge)),
                           kNoTag, group::kFirmwareUpdate);

  // The progress knob only shows; the transfer sets its value.
  auto* knob =
      s.graphics.AttachControl(std::make_unique<IVKnobControl>(kProgressKnobRect, kNoParameter,
                                                               std::string{}, s.styles.knobStyle),
                               kTagFirmwareProgressValue, group::kFirmware);
  knob->SetIgnoreMouse(true);
  s.graphics.AttachControl(
      std::make_unique<ITextControl>(kProgressTextRect, "0 %",
                                     s.styles.overlayText.WithSize(kProgressTextSize)),
      kTagFirmwareProgressText, group::kFirmware);

  for (const char* group : {group::kFirmwareBackground, group::kFirmwareUpdate, group::kFirmware}) {
    s.graphics.HideGroup(group, true);
  }
}

}  // namespace qd3
