// The impulse-response page: the frame, the nine cabinet positions with their
// picker, the two user-IR positions' switches, gain knobs and load buttons, and the
// position slider.
#include <array>
#include <memory>

#include "QD3ControlScreenNames.h"
#include "ir/ConversionSummary.h"
#include "screens/ReportingSelectControl.h"
#include "screens/ScreenPictures.h"
#include "screens/pages/DetailPages.h"
#include "screens/pages/PageParts.h"
#include "toolkit/controls/IBSliderControl.h"
#include "toolkit/controls/ISVGKnobControl.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IVButtonControl.h"
#include "toolkit/controls/IVSlideSwitchControl.h"

namespace qd3 {
namespace {

constexpr FrameSize kFrameSize{742.f, 517.f};
constexpr float kFrameX = 356.f;
constexpr float kFrameY = 645.f;
constexpr FrameSize kPanelSize{630.f, 460.f};
constexpr float kPanelX = 429.f;
constexpr float kPanelY = 705.f;

// The two user-IR positions (cabinet positions 7 and 8).
struct UserIrPositionLayout {
  IRECT loadButton;
  int loadTag;
  IRECT modeSwitch;
  int modeParam;
  int modeTag;
  IRECT gainKnob;
  int gainParam;
  int gainTag;
  IRECT gainValue;
  int gainValueTag;
  bool positionB;
};
constexpr std::array<UserIrPositionLayout, 2> kUserIrPositionLayouts = {{
    {{984.f, 1068.f, 1054.f, 1106.f},
     62,
     {740.f, 1072.f, 800.f, 1100.f},
     40,
     23,
     {815.f, 1070.f, 845.f, 1100.f},
     42,
     25,
     {905.f, 1077.f, 955.f, 1127.f},
     27,
     false},
    {{984.f, 1118.f, 1054.f, 1156.f},
     63,
     {740.f, 1122.f, 800.f, 1150.f},
     41,
     24,
     {815.f, 1120.f, 845.f, 1150.f},
     43,
     26,
     {905.f, 1127.f, 955.f, 1161.f},
     28,
     true},
}};
constexpr float kFullyRound = 1.f;
constexpr double kKnobGearing = 4.0;

constexpr IRECT kSliderRect{380.f, 717.f, 430.f, 1149.f};
constexpr int kTagIrSlider = 61;

constexpr int kCabinetRows = 9;
constexpr float kCabinetLeft = 495.f;
constexpr float kCabinetRight = 725.f;
constexpr float kCabinetTop = 713.f;
constexpr float kCabinetRowHeight = 43.f;
constexpr float kCabinetRowPitch = 50.f;
constexpr IRECT kPositionPickerRect{445.f, 713.f, 695.f, 1163.f};
// What the last WAV load kept of its file, on one line below the IR and response panels.
constexpr IRECT kConversionSummaryRect{360.f, 1178.f, 1880.f, 1198.f};
constexpr float kConversionSummarySize = 16.f;

}  // namespace

void BuildIrPageFrame(ScreenBuild& s) {
  AttachPicture(s.graphics, "editorbg.png", kFrameX, kFrameY, kFrameSize, kNoTag, group::kIrPage);
}

void BuildIrPageControls(ScreenBuild& s) {
  IGraphics& g = s.graphics;
  QD3Control* editor = &s.editor;
  AttachPicture(g, "irbg.png", kPanelX, kPanelY, kPanelSize, kNoTag, group::kIrPage);
  const IVStyle buttonStyle = s.styles.ButtonStyleWithLabelSize(kButtonLabelSmall);
  for (const UserIrPositionLayout& p : kUserIrPositionLayouts) {
    const bool positionB = p.positionB;
    g.AttachControl(
        std::make_unique<IVButtonControl>(
            p.loadButton, [editor, positionB](IControl*) { editor->LoadUserIrWav(positionB); },
            "IMPORT", buttonStyle),
        p.loadTag, group::kIrPage);
  }
  const IVStyle switchStyle = s.styles.knobStyle.WithRoundness(kFullyRound);
  for (const UserIrPositionLayout& p : kUserIrPositionLayouts) {
    g.AttachControl(std::make_unique<IVSlideSwitchControl>(p.modeSwitch, p.modeParam, std::string{},
                                                           switchStyle),
                    p.modeTag, group::kIrPage);
  }
  for (const UserIrPositionLayout& p : kUserIrPositionLayouts) {
    g.AttachControl(
         std::make_unique<ISVGKnobControl>(p.gainKnob, s.vectorKnob, p.gainParam, kKnobGearing),
         p.gainTag, group::kIrPage)
        ->SetTooltipCaption(p.positionB ? "USER IR 8 GAIN" : "USER IR 7 GAIN", "dB");
  }
  for (const UserIrPositionLayout& p : kUserIrPositionLayouts) {
    g.AttachControl(std::make_unique<ITextControl>(p.gainValue, "0.00", s.styles.irGainText),
                    p.gainValueTag, group::kIrPage);
  }
  // Enabled by the position's "IR Mode" once it selects a user IR.
  for (const UserIrPositionLayout& p : kUserIrPositionLayouts) {
    for (int tag : {p.gainTag, p.loadTag}) {
      if (IControl* c = g.GetControlWithTag(tag)) c->SetDisabled(true);
    }
  }
  g.AttachControl(std::make_unique<IBSliderControl>(kSliderRect, s.micHandle, s.micTrack,
                                                    kParamIrAlias, kKnobGearing),
                  kTagIrSlider, group::kIrPage);
}

void BuildCabinetList(ScreenBuild& s) {
  for (int i = 0; i < kCabinetRows; ++i) {
    const float top = kCabinetTop + kCabinetRowPitch * static_cast<float>(i);
    const int tag = i == 0 ? kNoTag : kTagCabinetRowFirst + i - 1;
    ITextControl* row = s.graphics.AttachControl(
        std::make_unique<ITextControl>(
            IRECT(kCabinetLeft, top, kCabinetRight, top + kCabinetRowHeight),
            s.editor.positionNames.Name(i), s.styles.irListText),
        tag, group::kIrPage);
    row->SetEllipsis(true);
  }
  IText summary = s.styles.irListText.WithSize(kConversionSummarySize);
  summary.fgColor = palette::kLightGrey;
  summary.align = EAlign::Near;
  s.graphics
      .AttachControl(
          std::make_unique<ITextControl>(
              kConversionSummaryRect, ConversionSummaryLine(s.editor.irConversionSummary), summary),
          kTagIrConversionSummary, group::kIrPage)
      ->SetEllipsis(true);
  QD3Control* editor = &s.editor;
  // Part of the IR page: left shown on other pages it would take their knobs' clicks
  // and change the cabinet.
  s.irPositionPicker = s.graphics.AttachControl(
      std::make_unique<ReportingSelectControl>(kPositionPickerRect, kParamIrPositionPicker,
                                               [editor](int kind) {
                                                 editor->SetIrPositionPickerPressed(
                                                     kind == IInvisibleSelectControl3::kPress);
                                               }),
      kNoTag, group::kIrPage);
}

}  // namespace qd3
