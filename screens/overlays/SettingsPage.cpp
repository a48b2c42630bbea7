// The global settings page: eleven setting rows, the two "SETUP" buttons of the MIDI
// maps and the three factory resets, over a window-sized click catcher that closes it.
#include <array>
#include <memory>

#include "QD3ControlScreenNames.h"
#include "protocol/DeviceMessages.h"
#include "screens/ScreenPictures.h"
#include "screens/overlays/OverlayParts.h"
#include "screens/overlays/Overlays.h"
#include "toolkit/controls/ICaptionControl.h"
#include "toolkit/controls/ITextControl.h"

namespace qd3 {
namespace {

constexpr IRECT kCloseRect{1444.f, 220.f, 1499.f, 260.f};
constexpr IRECT kProgramMapSetupRect{1200.f, 283.f, 1300.f, 323.f};
constexpr IRECT kControllerMapSetupRect{1200.f, 483.f, 1300.f, 523.f};
constexpr IRECT kResetTitleRect{760.f, 750.f, 1400.f, 780.f};  // as wide as its three buttons
constexpr IRECT kResetAllRect{760.f, 800.f, 960.f, 850.f};
constexpr IRECT kResetPresetsRect{980.f, 800.f, 1180.f, 850.f};
constexpr IRECT kResetSettingsRect{1200.f, 800.f, 1400.f, 850.f};

constexpr float kRowTitleSize = 19.f;
constexpr float kRowTitleHeight = 30.f;
constexpr float kCaptionHeight = 40.f;
constexpr float kCaptionTextSize = 24.f;
constexpr float kResetTitleSize = 28.f;
constexpr float kTitleMargin = 2.f;

// A setting row: its title text over a caption bound to the setting.
struct SettingRow {
  const char* title;
  float left;
  float top;  // of the title; the caption follows directly below
  float right;
  int param;
};

constexpr std::array<SettingRow, 11> kSettingRows{{
    {"PATCH OFFSET", 760.f, 250.f, 960.f, 82},
    {"EDIT POT DISPLAY MODE", 760.f, 350.f, 960.f, 85},
    {"DISENGAGE ALL POTS", 760.f, 450.f, 960.f, 86},
    {"PRESET PROTECTION WRITER", 760.f, 550.f, 960.f, 88},
    {"TUNER FREQUENCY", 760.f, 650.f, 960.f, 87},
    {"MIDI MAPPING", 980.f, 250.f, 1180.f, 80},
    {"MIDI THRU FUNCTION", 980.f, 350.f, 1180.f, 81},
    {"MIDI CC MODE", 980.f, 450.f, 1180.f, 83},
    {"MIDI CHANNEL SELECT", 980.f, 550.f, 1180.f, 84},
    {"TUNER DETUNE", 980.f, 650.f, 1180.f, 89},
    {"CABINET BYPASS", 1200.f, 650.f, 1400.f, 90},
}};

void AttachButton(ScreenBuild& s, const IRECT& r, const char* label, float labelSize,
                  IActionFunction action) {
  s.graphics.AttachControl(
      std::make_unique<IVButtonControl>(r, std::move(action), label,
                                        s.styles.ButtonStyleWithLabelSize(labelSize)),
      kNoTag, group::kGlobalSettings);
}

void AttachSettingRows(ScreenBuild& s) {
  const IText title = s.styles.overlayText.WithSize(kRowTitleSize);
  const IText caption(kCaptionTextSize, palette::kSettingsCaptionText, kFontRoboto, EAlign::Center,
                      EVAlign::Middle);
  for (const SettingRow& row : kSettingRows) {
    const float captionTop = row.top + kRowTitleHeight;
    // A long title ("PRESET PROTECTION WRITER") is drawn smaller, never cut.
    s.graphics
        .AttachControl(std::make_unique<ITextControl>(
                           IRECT(row.left, row.top, row.right, captionTop), row.title, title),
                       kNoTag, group::kGlobalSettings)
        ->SetShrinkToFit(kTitleMargin);
    s.graphics.AttachControl(
        std::make_unique<ICaptionControl>(
            IRECT(row.left, captionTop, row.right, captionTop + kCaptionHeight), row.param, caption,
            palette::kSettingsCaptionBackground),
        kNoTag, group::kGlobalSettings);
  }
}

// Only this page sends each change at once; the map pages send theirs on "BACK".
constexpr IRECT kFooterRect{720.f, 856.f, 1520.f, 880.f};
constexpr float kFooterSize = 18.f;

}  // namespace

void BuildSettingsPage(ScreenBuild& s) {
  QD3Control* editor = &s.editor;
  AttachOverlayBackdrop(s, group::kGlobalSettings);
  AttachClickCatcher(
      s, [editor](IControl*) { editor->CloseGlobalSettings(); }, group::kGlobalSettings);
  AttachPicture(s.graphics, "globalbg.png", 0.f, 0.f, kOverlayPictureSize, kNoTag,
                group::kGlobalSettings);
  AttachButton(s, kCloseRect, "X", kButtonLabelLarge,
               [editor](IControl*) { editor->CloseGlobalSettings(); });
  AttachSettingRows(s);
  AttachButton(s, kProgramMapSetupRect, "SETUP", kButtonLabelMedium,
               [editor](IControl*) { editor->OpenProgramMap(); });
  AttachButton(s, kControllerMapSetupRect, "SETUP", kButtonLabelMedium,
               [editor](IControl*) { editor->OpenControllerMap(); });
  const IText resetTitle(kResetTitleSize, palette::kSettingsCaptionText, kFontRoboto,
                         EAlign::Center, EVAlign::Middle);
  s.graphics
      .AttachControl(std::make_unique<ITextControl>(
                         kResetTitleRect, "RESET TO FACTORY DEFAULT SETTINGS", resetTitle),
                     kNoTag, group::kGlobalSettings)
      ->SetShrinkToFit(kTitleMargin);
  AttachButton(s, kResetAllRect, "ALL", kButtonLabelMedium,
               [editor](IControl*) { editor->FactoryReset(kFactoryResetAll); });
  AttachButton(s, kResetPresetsRect, "PRESETS", kButtonLabelMedium,
               [editor](IControl*) { editor->FactoryReset(kFactoryResetPresets); });
  AttachButton(s, kResetSettingsRect, "SETTINGS", kButtonLabelMedium,
               [editor](IControl*) { editor->FactoryReset(kFactoryResetSettings); });
  IText footer = s.styles.overlayText.WithSize(kFooterSize);
  footer.fgColor = palette::kDarkGrey;
  s.graphics.AttachControl(
      std::make_unique<ITextControl>(kFooterRect, "Changes are sent to the pedal at once.", footer),
      kNoTag, group::kGlobalSettings);
  s.graphics.HideGroup(group::kGlobalSettings, true);
}

}  // namespace qd3
