// The two progress panels of long transfers: the common one ("Loading Presets...")
// and the factory update's. The transfers set the knob and the percentage and show
// and hide the group; the heading never changes.
#include <array>
#include <memory>

#include "QD3ControlScreenNames.h"
#include "screens/overlays/Overlays.h"
#include "toolkit/controls/IPanelControl.h"
#include "toolkit/controls/ITextControl.h"
#include "toolkit/controls/IVKnobControl.h"

namespace qd3 {
namespace {

constexpr IRECT kPanelRect{850.f, 400.f, 1250.f, 800.f};
constexpr IRECT kHeadingRect{850.f, 400.f, 1250.f, 470.f};
constexpr IRECT kKnobRect{950.f, 500.f, 1150.f, 700.f};
constexpr float kHeadingSize = 40.f;
constexpr float kPercentSize = 60.f;
// The headings' tags: nothing changes them, but they are the panels' own.
constexpr int kTagProgressHeading = 52;
constexpr int kTagFactoryProgressHeading = 72;

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
    s.graphics.AttachControl(
        std::make_unique<ITextControl>(kHeadingRect, panel.heading,
                                       s.styles.overlayText.WithSize(kHeadingSize)),
        panel.headingTag, group);
    auto* knob = s.graphics.AttachControl(
        std::make_unique<IVKnobControl>(kKnobRect, kNoParameter, std::string{}, s.styles.knobStyle),
        panel.target.valueTag, group);
    knob->SetIgnoreMouse(true);
    s.graphics.AttachControl(std::make_unique<ITextControl>(
                                 kPanelRect, "0 %", s.styles.overlayText.WithSize(kPercentSize)),
                             panel.target.textTag, group);
    s.graphics.HideGroup(group, true);
  }
}

}  // namespace qd3
