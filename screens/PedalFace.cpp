// The picture of the pedal: knobs bound to the sound parameters they turn on the
// pedal itself, the two-digit display and the switches.
#include "screens/PedalFace.h"

#include <array>
#include <memory>
#include <tuple>

#include "QD3ControlScreenNames.h"
#include "params/ParamCatalogue.h"
#include "screens/ScreenPictures.h"
#include "toolkit/controls/ITextControl.h"

namespace qd3 {
namespace {

constexpr FrameSize kSmallKnob{102.f, 102.f};
constexpr FrameSize kBigKnob{130.f, 130.f};
constexpr FrameSize kFootSwitch{75.f, 85.f};
constexpr FrameSize kSaveButton{38.f, 76.f};
constexpr FrameSize kLed{16.f, 16.f};

struct PedalKnob {
  const char* picture;
  FrameSize frame;
  float cx;
  float cy;
  int param;
};

constexpr std::array<PedalKnob, 8> kKnobs = {{
    {"knobrotate.png", kSmallKnob, 770.f, 189.f, kParamDrive},
    {"knobrotate.png", kSmallKnob, 913.f, 190.f, kParamLow},
    {"knobrotate.png", kSmallKnob, 1055.5f, 191.f, kParamMid},
    {"knobrotate.png", kSmallKnob, 1198.5f, 191.f, kParamHigh},
    {"knobrotate.png", kSmallKnob, 1342.f, 191.f, kParamReverb},
    {"knobrotate.png", kSmallKnob, 984.5f, 347.5f, kParamGate},
    {"knobrotate.png", kSmallKnob, 1127.5f, 347.5f, kParamAutoFilterLevel},
    {"knobrotatebig.png", kBigKnob, 769.5f, 349.5f, kParamLevel},
}};

constexpr IRECT kDisplayRect{1255.f, 315.f, 1383.f, 403.f};

struct PictureButton {
  float x;
  float y;
  int tag;
  void (QD3Control::*action)();  // runs on the press and on the release
};

// In the order they are attached.
constexpr std::array<PictureButton, 4> kFootSwitches = {{
    {1460.f, 486.f, kTagRightSwitch, &QD3Control::OnNextSwitch},
    {1100.f, 486.f, kTagMiddleSwitch, &QD3Control::OnBrowseSwitch},
    {733.f, 486.f, kTagLeftSwitch, &QD3Control::OnPreviousSwitch},
    {1459.f, 322.f, kTagAutoFilterSwitch, &QD3Control::OnAutoFilterSwitch},
}};
constexpr PictureButton kSave{869.f, 314.f, kTagSaveButton, &QD3Control::OnSaveButton};
// Top-left corner of the auto-filter LED.
constexpr float kLedX = 1172.f;
constexpr float kLedY = 260.f;

IActionFunction SwitchAction(QD3Control& editor, void (QD3Control::*action)()) {
  return [&editor, action](IControl*) { (editor.*action)(); };
}

}  // namespace

void BuildPedalKnobsAndDisplay(ScreenBuild& s) {
  for (const PedalKnob& k : kKnobs) {
    AttachRotaterKnob(s.graphics, k.picture, k.cx, k.cy, k.frame, k.param, group::kNeedsPedal);
  }
  // Seven segments stay inside the display's window: no repaint beyond it.
  for (const auto& [text, style, tag] :
       {std::tuple{"188", &s.styles.displayGhostText, kNoTag},
        std::tuple{"00", &s.styles.displayText, kTagValueDisplay}}) {
    s.graphics
        .AttachControl(std::make_unique<ITextControl>(kDisplayRect, text, *style), tag,
                       group::kNeedsPedal)
        ->SetInkReach(0.f);
  }
}

void BuildPedalSwitches(ScreenBuild& s) {
  for (const PictureButton& b : kFootSwitches) {
    AttachPictureButton(s.graphics, "fswitch.png", b.x, b.y, kFootSwitch,
                        SwitchAction(s.editor, b.action), b.tag, group::kNeedsPedal);
  }
  IControl* led = AttachPicture(s.graphics, "led.png", kLedX, kLedY, kLed, kTagAutoFilterLed,
                                group::kFilterLed);
  led->Hide(true);
  AttachPictureButton(s.graphics, "save.png", kSave.x, kSave.y, kSaveButton,
                      SwitchAction(s.editor, kSave.action), kSave.tag, group::kNeedsPedal);
}

}  // namespace qd3
