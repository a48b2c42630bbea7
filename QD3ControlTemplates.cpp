// The drive voicings and ambience types: loading one into the edit buffer, the lit
// button of each row, and finding the templates a received preset was built from.
#include "QD3Control.h"
#include "params/PageNumbers.h"
#include "params/SoundTemplates.h"

namespace qd3 {
namespace {

constexpr double kLit = 1.0;
constexpr double kDark = 0.0;

}  // namespace

void QD3Control::ApplyDriveTemplate(int k) {
  ApplyTemplateSets(DriveTemplateSets(k));
}

void QD3Control::ApplyAmbienceTemplate(int k) {
  ApplyTemplateSets(AmbienceTemplateSets(k));
}

void QD3Control::ApplyTemplateSets(const std::vector<TemplateSet>& sets) {
  if (sets.empty()) return;
  // Values land in liveValues without live edits; the store below sends them all.
  session.applyingDeviceValues = true;
  templateApplied = false;
  for (const TemplateSet& set : sets) {
    // "Dynamics" follows "Compression" through the change handler's link.
    if (!set.byLink) SetParameterValue(set.index, set.normalized);
  }
  session.applyingDeviceValues = false;
  templateApplied = true;
  if (session.connected) StoreCurrentPreset();
}

void QD3Control::HighlightDriveTemplate(int k) {
  const DriveHighlight h = DriveHighlightFor(k, currentPage);
  for (int j = 0; j < kNumDriveTemplates; ++j) {
    SetControlValue(kFirstDriveButtonTag + j,
                    h.buttonValues[static_cast<size_t>(j)] ? kLit : kDark);
  }
  if (h.redrawGroup) {
    ShowGroup(kDriveButtonGroup, false);
    ShowGroup(kDriveButtonGroup, true);
  }
}

void QD3Control::HighlightAmbienceTemplate(int k) {
  const AmbienceHighlight h = AmbienceHighlightFor(k, currentPage);
  for (int j = 0; j < kNumAmbienceTemplates; ++j) {
    SetControlValue(kFirstAmbienceButtonTag + j,
                    h.buttonValues[static_cast<size_t>(j)] ? kLit : kDark);
  }
  if (h.echoTimeGroup != GroupChange::kKeep) {
    ShowGroup(kEchoTimeGroup, h.echoTimeGroup == GroupChange::kShow);
  }
  if (h.redrawButtons && mScreen) {
    for (int j = 0; j < kNumAmbienceTemplates; ++j) {
      if (IControlHandle* button = mScreen->GetControlWithTag(kFirstAmbienceButtonTag + j)) {
        button->Hide(true);
        button->Hide(false);
        button->SetDirty();
      }
    }
  }
}

void QD3Control::MatchTemplates() {
  if (!IsWindowOpen()) return;
  const TemplateMatch match = qd3::MatchTemplates(deviceSnapshot);
  const MatchHighlights h = MatchHighlightsFor(match, currentPage);
  HighlightDriveTemplate(match.drive);
  HighlightAmbienceTemplate(match.ambience);
  // The drive page's "Compression" follows the new "Dynamics".
  if (h.reshowDrivePage) ShowPage(kPageDrive);
}

void QD3Control::OnDriveTemplateButton(int k, double buttonValue) {
  if (!TemplateButtonActs(buttonValue)) return;
  HighlightDriveTemplate(k);
  ApplyDriveTemplate(k);
}

void QD3Control::OnAmbienceTemplateButton(int k, double buttonValue) {
  if (!TemplateButtonActs(buttonValue)) return;
  HighlightAmbienceTemplate(k);
  ApplyAmbienceTemplate(k);
}

}  // namespace qd3
