// What a change does to the rest of the open window besides its number text: the
// dynamics graph follows the gate and dynamics settings, switches enable the
// controls that depend on them, the IR slider mirrors the cabinet selector, and
// touching a block opens its detail page.
#include <array>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "ir/IrNames.h"
#include "params/DependentValues.h"
#include "params/PageRules.h"
#include "params/SoundTemplateTables.h"
#include "params/ValueDisplay.h"

namespace qd3 {
namespace {

constexpr int kParamGate = 9;
constexpr int kParamReverb = 8;
constexpr int kParamCompressorRatio = 25;
constexpr int kParamExpanderRatio = 29;
constexpr int kParamGateRatio = 37;

// The two user-IR positions (7 and 8 of the cabinet selector), first then second.
struct UserIrPositionTags {
  int gainKnob;
  int importButton;
  int name;
  int heldName;  // entry of UserIrNames
};
constexpr std::array<UserIrPositionTags, 2> kUserIrPositions = {{
    {kTagUserIrGainKnobA, kTagUserIrImportA, kTagIrNameA, kUserIrNamePositionA},
    {kTagUserIrGainKnobB, kTagUserIrImportB, kTagIrNameB, kUserIrNamePositionB},
}};

}  // namespace

void QD3Control::RunScreenRules(int index, int raw) {
  if (!IsWindowOpen()) return;
  // The graph moves before the number text changes.
  if (index == kParamGate && mDynamicsGraph) mDynamicsGraph->SetGateThreshold(GateThresholdDb(raw));
  if (index == kParamDynamics) FollowDynamics(raw);

  ShowValueText(index, raw);

  switch (index) {
    case kParamCompressorRatio:
      if (IsControlShown(kTagCompRatioText) && mDynamicsGraph) {
        mDynamicsGraph->SetCompRatio(CompressorRatio(raw));
      }
      break;
    case kParamExpanderRatio:
      if (IsControlShown(kTagExpRatioText) && mDynamicsGraph) {
        mDynamicsGraph->SetCompRatio(ExpanderRatioReciprocal(raw));
      }
      break;
    case kParamGateRatio:
      if (mDynamicsGraph) mDynamicsGraph->SetGateRatio(GateRatioReciprocal(raw));
      break;
    case kParamReverb:
      FollowEchoButtons();
      break;
    case kParamIr:
      MirrorIrSelector(raw);
      break;
    case kParamIrModeA:
    case kParamIrModeB:
      FollowIrMode(index - kParamIrModeA, raw);
      break;
    case kParamAutoFilterOn:
      if (IControlHandle* led = mScreen->GetControlWithTag(kTagAutoFilterLed)) {
        led->Hide(raw == 0);
        led->SetDirty();
      }
      break;
    default:
      break;
  }

  if (const std::optional<int> page =
          PageToShowAfterChange(index, currentPage, session.applyingDeviceValues)) {
    ShowPage(*page);
  }
}

void QD3Control::ShowPageUnlessSkipped(int page) {
  if (IsWindowOpen() && PageSwitchRuns(page, currentPage, session.applyingDeviceValues)) {
    ShowPage(page);
  }
}

void QD3Control::FollowDynamics(int raw) {
  if (!mDynamicsGraph) return;
  mDynamicsGraph->SetCompThreshold(DynamicsFromRaw(raw).thresholdDb);
  // The drive page's graph draws the ratio the "Dynamics" state selects.
  if (currentPage == kPageDrive) {
    mDynamicsGraph->SetCompRatio(DrivePageCompRatio(raw, mParams[kParamCompressorRatio].Raw(),
                                                    mParams[kParamExpanderRatio].Raw()));
  }
}

void QD3Control::FollowEchoButtons() {
  const auto buttonValue = [this](int tag) {
    const IControlHandle* button = mScreen->GetControlWithTag(tag);
    return button ? button->GetValue() : 0.0;
  };
  const GroupChange change =
      EchoTimeGroupAfterReverb(currentPage, buttonValue(kFirstAmbienceButtonTag + kEchoTemplate),
                               buttonValue(kFirstAmbienceButtonTag + kEchoverbTemplate));
  if (change != GroupChange::kKeep) ShowGroup(kEchoTimeGroup, change == GroupChange::kShow);
}

void QD3Control::MirrorIrSelector(int ir) {
  IControlHandle* slider = mScreen->GetControlWithTag(kTagIrSelectorSlider);
  if (!slider) return;
  slider->SetValueFromCode(IrSliderValue(ir));
  // Hiding and showing again makes the toolkit redraw the whole slider.
  if (!slider->IsHidden()) {
    slider->Hide(true);
    slider->Hide(false);
  }
  slider->SetDirty();
}

void QD3Control::FollowIrMode(int position, int irMode) {
  const UserIrPositionTags& tags = kUserIrPositions.at(static_cast<size_t>(position));
  const IrModeView view = IrModeViewFor(position, irMode);
  for (int tag : {tags.gainKnob, tags.importButton}) {
    if (IControlHandle* control = mScreen->GetControlWithTag(tag)) {
      control->SetDisabled(!view.userIr);
      control->SetDirty();
    }
  }
  SetControlText(tags.name, view.userIr ? userIrNames.Name(tags.heldName) : view.fixedName);
}

bool QD3Control::IsControlShown(int tag) {
  const IControlHandle* control = mScreen ? mScreen->GetControlWithTag(tag) : nullptr;
  return control && !control->IsHidden();
}

}  // namespace qd3
