// The two progress panels of long transfers: the common one ("Loading Presets...")
// and the factory update's. The transfers set the knob, the percentage and the heading
// that names them, show and hide the group, and make the common panel's Cancel live
// for the transfers that can stop cleanly.
#include <array>
#include <memory>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "screens/overlays/Overlays.h"
#include "toolkit/controls/IPanelControl.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IVButtonControl.h"
#include "toolkit/controls/IVKnobControl.h"

namespace qd3 {
namespace {

constexpr IRECT kPanelRect{850.f, 400.f, 1250.f, 800.f};
constexpr IRECT kHeadingRect{850.f, 400.f, 1250.f, 470.f};
constexpr IRECT kKnobRect{950.f, 500.f, 1150.f, 700.f};
constexpr IRECT kCancelRect{1000.f, 720.f, 1100.f, 768.f};
constexpr float kHeadingMargin = 12.f;
constexpr float kHeadingSize = 40.f;
constexpr float kPercentSize = 60.f;

struct ProgressPanel {
  const char* heading;
  int headingTag;
  ProgressTarget target;
};

constexpr std::array<ProgressPanel, 2> kPanels{{
    {"Loading Presets...", kTagProgressHeading, kCommonProgress},
    {"Upgrading Factory Presets...", kTagFactoryProgressHeading, kFactoryProgress},
}};

}  // namespace

void BuildProgressPanels(ScreenBuild& s) {
  for (const ProgressPanel& panel : kPanels) {
    const char* group = panel.target.group;
    s.graphics.AttachControl(std::make_unique<IPanelControl>(kPanelRect, palette::kProgressPanel),
                             kNoTag, group);
    auto heading = std::make_unique<ITextControl>(kHeadingRect, panel.heading,
                                                  s.styles.overlayText.WithSize(kHeadingSize));
    heading->SetShrinkToFit(kHeadingMargin);
    s.graphics.AttachControl(std::move(heading), panel.headingTag, group);
    auto* knob = s.graphics.AttachControl(
        std::make_unique<IVKnobControl>(kKnobRect, kNoParameter, std::string{}, s.styles.knobStyle),
        panel.target.valueTag, group);
    knob->SetIgnoreMouse(true);
    s.graphics.AttachControl(std::make_unique<ITextControl>(
                                 kPanelRect, "0 %", s.styles.overlayText.WithSize(kPercentSize)),
                             panel.target.textTag, group);
    if (panel.target.group == kCommonProgress.group) {
      QD3Control* editor = &s.editor;
      s.graphics.AttachControl(std::make_unique<IVButtonControl>(
                                   kCancelRect, [editor](IControl*) { editor->CancelProgress(); },
                                   "Cancel", s.styles.ButtonStyleWithLabelSize(kButtonLabelMedium)),
                               kTagProgressCancel, group);
    }
    s.graphics.HideGroup(group, true);
  }
}

}  // namespace qd3
