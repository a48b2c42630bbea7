// The two MIDI map pages reached from the settings page: the knobs' controller
// numbers and the program map, each left with "BACK".
#include <array>
#include <memory>

#include "QD3ControlScreenNames.h"
#include "params/ParamCatalogue.h"
#include "screens/ScreenPictures.h"
#include "screens/overlays/OverlayParts.h"
#include "screens/overlays/Overlays.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IVNumberBoxControl.h"

namespace qd3 {
namespace {

constexpr IRECT kBackRect{1040.f, 250.f, 1160.f, 300.f};
constexpr IRECT kControllerBoxArea{1100.f, 350.f, 1220.f, 750.f};
constexpr IRECT kKnobLabelArea{860.f, 350.f, 1080.f, 750.f};
constexpr float kKnobLabelSize = 30.f;
constexpr IRECT kIncomingProgramRect{900.f, 500.f, 1050.f, 550.f};
constexpr IRECT kRecalledPresetRect{1150.f, 500.f, 1300.f, 550.f};
constexpr float kControllerPictureX = 850.f;
constexpr float kControllerPictureY = 330.f;
constexpr FrameSize kControllerPictureSize{512.f, 120.f};
constexpr const char* kNumberFormat = "%0.0f";
constexpr double kMinNumber = 0.0;
constexpr double kMaxNumber = 127.0;

// The pedal's knobs in the order of parameters 91..98.
constexpr std::array<const char*, 8> kKnobTitles{"DRIVE",  "LOW",  "MID",    "HIGH",
                                                 "REVERB", "GATE", "FILTER", "LEVEL"};

void AttachBack(ScreenBuild& s, IActionFunction action, std::string_view group) {
  s.graphics.AttachControl(
      std::make_unique<IVButtonControl>(kBackRect, std::move(action), "BACK",
                                        s.styles.ButtonStyleWithLabelSize(kButtonLabelMedium)),
      kNoTag, group);
}

void AttachNumberBox(ScreenBuild& s, const IRECT& r, int param, const char* label,
                     const IVStyle& style, std::string_view group) {
  s.graphics.AttachControl(
      std::make_unique<IVNumberBoxControl>(r, param, nullptr, label, style, kMinNumber, kMaxNumber,
                                           kNumberFormat),
      kNoTag, group);
}

}  // namespace

void BuildControllerMapPage(ScreenBuild& s) {
  AttachOverlayBackdrop(s, group::kMidiCc);
  AttachPicture(s.graphics, "globalbg.png", 0.f, 0.f, kOverlayPictureSize, kNoTag, group::kMidiCc);
  const int rows = static_cast<int>(kKnobTitles.size());
  const IVStyle boxStyle = s.styles.boxStyle.WithShowLabel(false);
  for (int i = 0; i < rows; ++i) {
    AttachNumberBox(s, GridRow(kControllerBoxArea, rows, i), kFirstKnobControllerParam + i, "",
                    boxStyle, group::kMidiCc);
  }
  const IText label = s.styles.overlayText.WithSize(kKnobLabelSize).WithAlign(EAlign::Far);
  for (int i = 0; i < rows; ++i) {
    s.graphics.AttachControl(
        std::make_unique<ITextControl>(GridRow(kKnobLabelArea, rows, i),
                                       kKnobTitles[static_cast<size_t>(i)], label),
        kNoTag, group::kMidiCc);
  }
  QD3Control* editor = &s.editor;
  AttachBack(
      s, [editor](IControl*) { editor->CloseControllerMap(); }, group::kMidiCc);
  s.graphics.HideGroup(group::kMidiCc, true);
}

void BuildProgramMapPage(ScreenBuild& s) {
  AttachOverlayBackdrop(s, group::kMidiProgram);
  AttachPicture(s.graphics, "globalbg.png", 0.f, 0.f, kOverlayPictureSize, kNoTag,
                group::kMidiProgram);
  QD3Control* editor = &s.editor;
  AttachBack(
      s, [editor](IControl*) { editor->CloseProgramMap(); }, group::kMidiProgram);
  AttachPicture(s.graphics, "midikestrel.png", kControllerPictureX, kControllerPictureY,
                kControllerPictureSize, kNoTag, group::kMidiProgram);
  AttachNumberBox(s, kIncomingProgramRect, kParamControllerProgram, "Ctrl. Program (0-127)",
                  s.styles.boxStyle, group::kMidiProgram);
  AttachNumberBox(s, kRecalledPresetRect, kParamDeviceProgram, "QD-3 Program (0-127)",
                  s.styles.boxStyle, group::kMidiProgram);
  s.graphics.HideGroup(group::kMidiProgram, true);
}

}  // namespace qd3
