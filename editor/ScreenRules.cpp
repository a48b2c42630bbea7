// What a change does to the rest of the open window besides its number text: the
// dynamics graph follows the gate and dynamics settings, switches enable the
// controls that depend on them, the IR slider mirrors the cabinet selector, and
// touching a block opens its detail page.
#include <array>

#include "editor/ChangeHandler.h"
#include "ir/IrNames.h"
#include "params/DependentValues.h"
#include "params/PageRules.h"
#include "params/SoundTemplateTables.h"
#include "params/ValueDisplay.h"

namespace qd3 {
namespace {

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

void ChangeHandler::RunScreenRules(int index, int raw) {
  ScreenWriter& screen = mNeeds.screen;
  if (!screen.IsOpen()) return;
  DynamicsGraphView* graph = screen.Graph();
  // The graph moves before the number text changes.
  if (index == kParamGate && graph) graph->SetGateThreshold(GateThresholdDb(raw));
  if (index == kParamDynamics) FollowDynamics(raw);

  ShowValueText(index, raw);

  switch (index) {
    case kParamCompressorRatio:
      if (screen.IsShown(kTagCompRatioText) && graph) graph->SetCompRatio(CompressorRatio(raw));
      break;
    case kParamExpanderRatio:
      if (screen.IsShown(kTagExpRatioText) && graph) {
        graph->SetCompRatio(ExpanderRatioReciprocal(raw));
      }
      break;
    case kParamGateRatio:
      if (graph) graph->SetGateRatio(GateRatioReciprocal(raw));
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
      screen.Hide(kTagAutoFilterLed, raw == 0);
      break;
    default:
      break;
  }

  if (const std::optional<int> page = PageToShowAfterChange(index, mNeeds.pages.Current(),
                                                            mNeeds.session.applyingDeviceValues)) {
    mNeeds.pages.ShowPage(*page);
  }
}

// The number texts next to the knobs: every change writes its value in the player's
// unit (and, for "Dynamics" and "AnalogSim", the state's title) into the text controls
// that show it, also while a preset or a template is applied, so a page shows current
// numbers the moment it opens.
void ChangeHandler::ShowValueText(int index, int raw) {
  const std::optional<ValueTextTags> tags = ValueTextTagsFor(index);
  if (!tags) return;
  const std::optional<ValueText> text = ParamValueText(index, raw);
  if (!text) return;
  mNeeds.screen.SetText(tags->value, text->value);
  if (tags->title != 0) mNeeds.screen.SetText(tags->title, text->title);
}

void ChangeHandler::FollowDynamics(int raw) {
  DynamicsGraphView* graph = mNeeds.screen.Graph();
  if (!graph) return;
  graph->SetCompThreshold(DynamicsFromRaw(raw).thresholdDb);
  // The drive page's graph draws the ratio the "Dynamics" state selects.
  if (mNeeds.pages.Current() == kPageDrive) {
    graph->SetCompRatio(DrivePageCompRatio(raw, mNeeds.params[kParamCompressorRatio].Raw(),
                                           mNeeds.params[kParamExpanderRatio].Raw()));
  }
}

void ChangeHandler::FollowEchoButtons() {
  const ScreenWriter& screen = mNeeds.screen;
  const GroupChange change = EchoTimeGroupAfterReverb(
      mNeeds.pages.Current(), screen.Value(kFirstAmbienceButtonTag + kEchoTemplate),
      screen.Value(kFirstAmbienceButtonTag + kEchoverbTemplate));
  if (change != GroupChange::kKeep) {
    mNeeds.screen.ShowGroup(kEchoTimeGroup, change == GroupChange::kShow);
  }
}

void ChangeHandler::MirrorIrSelector(int ir) {
  mNeeds.screen.SetValue(kTagIrSelectorSlider, IrSliderValue(ir));
}

void ChangeHandler::FollowIrMode(int position, int irMode) {
  const UserIrPositionTags& tags = kUserIrPositions.at(static_cast<size_t>(position));
  const IrModeView view = IrModeViewFor(position, irMode);
  for (int tag : {tags.gainKnob, tags.importButton}) mNeeds.screen.Disable(tag, !view.userIr);
  mNeeds.screen.SetText(
      tags.name, view.userIr ? mNeeds.irState.userIrNames.Name(tags.heldName) : view.fixedName);
}

}  // namespace qd3
