// The drive voicings and ambience types: loading one into the edit buffer, the lit
// button of each row, and finding the templates a received preset was built from.
#include "editor/TemplatesAndFiles.h"
#include "params/PageNumbers.h"
#include "presets/StoreRecord.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

constexpr double kLit = 1.0;
constexpr double kDark = 0.0;

constexpr char kTextUnsavedEdits[] =
    "The current preset has unsaved changes.\nStore them in its slot, discard them, or cancel?";

}  // namespace

void TemplatesAndFiles::StoreCurrentPreset() {
  if (mBeforeStore) mBeforeStore();
  ScreenWriter& screen = mNeeds.screen;
  EditBufferState& edit = mNeeds.edit;
  const std::string labelA = screen.Text(kTagIrNameA, "");
  const std::string labelB = screen.Text(kTagIrNameB, "");
  edit.presetNameText = screen.Text(kTagPresetName, edit.presetNameText);
  const PresetRecord record =
      BuildStoreRecord(edit.presetNameText, edit.liveValues, labelA, labelB);
  mNeeds.outbox.Send(BuildStorePresetMessage(mNeeds.session.currentPreset, record));
  if (mStored) mStored(mNeeds.session.currentPreset, record);
  edit.deviceSnapshot = edit.liveValues;
  edit.presetModified = false;
  screen.ShowPresetModified(false);
}

bool TemplatesAndFiles::SettleUnsavedEdits() {
  // Unconnected, nothing is reloaded from the pedal, so nothing is lost.
  if (!mNeeds.edit.presetModified || !mNeeds.session.connected) return true;
  switch (mNeeds.screen.AskAboutUnsavedEdits(kTextUnsavedEdits)) {
    case EMsgBoxResult::OK:
      StoreCurrentPreset();
      return true;
    case EMsgBoxResult::Discard:
      return true;
    case EMsgBoxResult::Cancel:
      break;
  }
  return false;
}

void TemplatesAndFiles::ApplyDriveTemplate(int k) {
  ApplyTemplateSets(DriveTemplateSets(k));
}

void TemplatesAndFiles::ApplyAmbienceTemplate(int k) {
  ApplyTemplateSets(AmbienceTemplateSets(k));
}

void TemplatesAndFiles::ApplyTemplateSets(const std::vector<TemplateSet>& sets) {
  if (sets.empty()) return;
  DeviceSession& session = mNeeds.session;
  // Values land in liveValues without live edits; the store below sends them all.
  session.applyingDeviceValues = true;
  mNeeds.edit.templateApplied = false;
  for (const TemplateSet& set : sets) {
    // "Dynamics" follows "Compression" through the change handler's link.
    if (!set.byLink) mNeeds.writer.SetParameterValue(set.index, set.normalized);
  }
  session.applyingDeviceValues = false;
  mNeeds.edit.templateApplied = true;
  if (session.connected) StoreCurrentPreset();
}

void TemplatesAndFiles::HighlightDriveTemplate(int k) {
  const DriveHighlight h = DriveHighlightFor(k, mNeeds.pages.Current());
  for (int j = 0; j < kNumDriveTemplates; ++j) {
    mNeeds.screen.SetValue(kFirstDriveButtonTag + j,
                           h.buttonValues[static_cast<size_t>(j)] ? kLit : kDark);
  }
  if (h.redrawGroup) mNeeds.screen.RedrawGroup(kDriveButtonGroup);
}

void TemplatesAndFiles::HighlightAmbienceTemplate(int k) {
  const AmbienceHighlight h = AmbienceHighlightFor(k, mNeeds.pages.Current());
  for (int j = 0; j < kNumAmbienceTemplates; ++j) {
    mNeeds.screen.SetValue(kFirstAmbienceButtonTag + j,
                           h.buttonValues[static_cast<size_t>(j)] ? kLit : kDark);
  }
  if (h.echoTimeGroup != GroupChange::kKeep) {
    mNeeds.screen.ShowGroup(kEchoTimeGroup, h.echoTimeGroup == GroupChange::kShow);
  }
  if (h.redrawButtons) {
    for (int j = 0; j < kNumAmbienceTemplates; ++j)
      mNeeds.screen.Redraw(kFirstAmbienceButtonTag + j);
  }
}

void TemplatesAndFiles::MatchTemplates() {
  if (!mNeeds.screen.IsOpen()) return;
  const TemplateMatch match = qd3::MatchTemplates(mNeeds.edit.deviceSnapshot);
  const MatchHighlights h = MatchHighlightsFor(match, mNeeds.pages.Current());
  HighlightDriveTemplate(match.drive);
  HighlightAmbienceTemplate(match.ambience);
  // The drive page's "Compression" follows the new "Dynamics".
  if (h.reshowDrivePage) mNeeds.pages.ShowPage(kPageDrive);
}

void TemplatesAndFiles::OnDriveTemplateButton(int k, double buttonValue) {
  if (!TemplateButtonActs(buttonValue)) return;
  HighlightDriveTemplate(k);
  ApplyDriveTemplate(k);
}

void TemplatesAndFiles::OnAmbienceTemplateButton(int k, double buttonValue) {
  if (!TemplateButtonActs(buttonValue)) return;
  HighlightAmbienceTemplate(k);
  ApplyAmbienceTemplate(k);
}

}  // namespace qd3
