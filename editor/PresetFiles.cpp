// One preset in a file: export with its user IRs, and import with the questions, the
// re-aimed IR references and the chain of IR uploads that kCmdIrStored paces.
#include <filesystem>

#include "editor/TemplatesAndFiles.h"
#include "ir/IrImage.h"

namespace qd3 {
namespace {

std::string IrOfPosition(int position, const std::string& name) {
  return "the IR of position " + std::to_string(position) + " (\"" + name + "\")";
}

constexpr char kTextPresetChangedWhileAsking[] =
    "The QD3 changed to another preset while the question was open, so nothing was imported. "
    "Import the file again into the preset you want.";
constexpr char kTextPresetFileIrIncomplete[] =
    "The preset file's values are in the editor now, but its IR data is incomplete, so "
    "nothing was stored on the QD3. Store the preset yourself to keep these values.";
constexpr char kTextPresetFileIrsUnused[] =
    "The preset file's values are in the editor now, but the preset uses none of the file's "
    "IRs, so nothing was stored on the QD3. Store the preset yourself to keep these values.";

const char* LossText(ImpulseResponses::UploadLoss why) {
  switch (why) {
    case ImpulseResponses::UploadLoss::kRefused:
      return "the QD3 refused ";
    case ImpulseResponses::UploadLoss::kUnanswered:
      return "the QD3 did not confirm ";
    case ImpulseResponses::UploadLoss::kReplaced:
      return "another IR load took the place of ";
  }
  return "";
}

}  // namespace

TemplatesAndFiles::TemplatesAndFiles(const Needs& needs) : mNeeds(needs) {
  mNeeds.ir.SetImportLossSink(
      [this](ImpulseResponses::UploadLoss why) { return StopPresetImport(why); });
}

void TemplatesAndFiles::ExportPresetFile() {
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform) return;
  ScreenWriter& screen = mNeeds.screen;
  EditBufferState& edit = mNeeds.edit;
  edit.presetNameText = screen.Text(kTagPresetName, edit.presetNameText);
  const std::string& remembered = mNeeds.files.presetFilePath;
  const std::string folder =
      remembered.empty() ? "" : std::filesystem::path(remembered).parent_path().string();
  const std::string path =
      platform->PromptForSaveFile(kPresetFileExtension, folder, edit.presetNameText);
  if (path.empty()) return;
  mNeeds.files.presetFilePath = path;

  std::array<int, kRecordParamCount> params{};
  for (int i = 0; i < kRecordParamCount; ++i) {
    params[static_cast<size_t>(i)] = mNeeds.params[i].Raw();
  }
  const std::string name = PresetNameFromPath(path);
  const UserIrNames& names = mNeeds.irState.userIrNames;
  const std::string label7 = screen.Text(kTagIrNameA, names.Name(kUserIrNamePositionA));
  const std::string label8 = screen.Text(kTagIrNameB, names.Name(kUserIrNamePositionB));
  const std::vector<uint8_t> bytes =
      BuildPresetFile({name, params, label7, label8}, [this](int n) -> std::optional<IrImageBytes> {
        PresetCache* cache = mNeeds.cache.Get();
        if (!cache) return std::nullopt;
        return cache->ReadIrImage(n);
      });
  const CacheWriteStatus written = SavePresetFile(path, bytes);
  if (!Succeeded(written)) {
    screen.ShowBox(WriteFailureText(written, path));
    return;
  }
  edit.presetNameText = name;
  screen.SetText(kTagPresetName, name);
  edit.presetModified = false;
}

void TemplatesAndFiles::ImportPresetFile() {
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform) return;
  const std::string path =
      platform->PromptForOpenFile(kPresetFileExtension, mNeeds.files.presetFilePath);
  if (path.empty()) return;
  ImportPresetFileFrom(path);
}

bool TemplatesAndFiles::ImportPresetFileFrom(const std::string& path) {
  mNeeds.files.presetFilePath = path;
  PresetFileData file = LoadPresetFile(path);
  switch (file.status) {
    case PresetFileStatus::kIgnored:
      return false;
    case PresetFileStatus::kUnknownFormat:
      mNeeds.outbox.Post(file.message);
      return true;
    case PresetFileStatus::kUnsupportedVersion:
      mNeeds.screen.ShowBox(file.message);
      return true;
    case PresetFileStatus::kRead:
      break;
  }
  const ParamCatalogue& p = mNeeds.params;
  for (const ImportQuestion question : ImportQuestions(
           file, mNeeds.edit.presetModified, p[kParamIrModeA].Raw(), p[kParamIrModeB].Raw())) {
    if (!mNeeds.screen.Ask(ImportQuestionText(question))) return true;
  }
  DeviceSession& session = mNeeds.session;
  ReaimIrReferences(file.params, session.currentPreset);
  const bool valuesOnly = file.fileSize == kPresetFileHeaderSize;
  const PresetFileIrPlan plan = valuesOnly ? PresetFileIrPlan{} : PlanIrUploads(file, file.params);
  const bool stores = session.connected && (valuesOnly || (!plan.Empty() && !file.blocks.empty()));
  const int slot = session.currentPreset;
  if (stores && !mNeeds.screen.Ask(OverwriteSlotQuestion(file.name, slot))) return true;
  // The pedal may have changed its preset while the box was open: the file goes only into
  // the slot the player said yes to.
  if (session.currentPreset != slot) {
    mNeeds.screen.ShowBox(kTextPresetChangedWhileAsking);
    return true;
  }
  ApplyPresetFileValues(file);

  if (valuesOnly) {
    if (session.connected) StoreCurrentPreset();
    return true;
  }
  // An earlier import that ended unheard (the window closed on it) leaves nothing here.
  session.importIrAUploading = false;
  session.importIrBPending = false;
  if (plan.Empty() || file.blocks.empty()) {
    // The values are in the editor, but nothing goes to the pedal: the player must not
    // take the preset for stored.
    mNeeds.outbox.Post(file.blocks.empty() ? kTextPresetFileIrIncomplete
                                           : kTextPresetFileIrsUnused);
    return true;
  }
  mImport = std::move(file);
  mImportPlan = plan;
  // The flags follow the upload's start: an upload it replaces ends an earlier import
  // (which has nothing to report then), not this one.
  mNeeds.ir.UploadImage(mImport.blocks.front(),
                        plan.position7Target ? *plan.position7Target : *plan.position8Target);
  session.importIrAUploading = plan.position7Target.has_value();
  session.importIrBPending = plan.position8Target.has_value();
  return true;
}

std::string TemplatesAndFiles::OverwriteSlotQuestion(const std::string& fileName, int slot) const {
  std::string label = mSlotLabel ? mSlotLabel(slot) : std::to_string(slot);
  label.erase(label.find_last_not_of(' ') + 1);
  return "Store the preset file \"" + fileName + "\" in slot \"" + label +
         "\" of the QD3?\nThe preset stored there now is replaced.";
}

void TemplatesAndFiles::ApplyPresetFileValues(const PresetFileData& file) {
  DeviceSession& session = mNeeds.session;
  EditBufferState& edit = mNeeds.edit;
  const bool applying = session.applyingDeviceValues;
  session.applyingDeviceValues = true;
  for (int i = 0; i < kRecordParamCount; ++i) {
    const int value = file.params[static_cast<size_t>(i)];
    edit.liveValues[static_cast<size_t>(i)] = value;
    const ParamSpec& range = mNeeds.params[i].Info();
    mNeeds.writer.SetParameterValue(i, (value - range.min) / (range.max - range.min));
  }
  session.applyingDeviceValues = applying;
  edit.templateApplied = true;

  edit.presetModified = true;
  mNeeds.screen.ShowPresetModified(true);
  edit.presetNameText = file.name;
  mNeeds.screen.SetText(kTagPresetName, file.name);
  UserIrNames& names = mNeeds.irState.userIrNames;
  if (file.params[kParamIrModeA] > 0) {
    names.Set(kUserIrNamePositionA, file.position7IrName);
    mNeeds.screen.SetText(kTagIrNameA, file.position7IrName);
  }
  if (file.params[kParamIrModeB] > 0) {
    names.Set(kUserIrNamePositionB, file.position8IrName);
    mNeeds.screen.SetText(kTagIrNameB, file.position8IrName);
  }
}

void TemplatesAndFiles::OnIrStored() {
  // Only the confirmation of the import's own upload moves the import on: one for an
  // ordinary WAV load must not send the file's next IR or store the preset.
  const bool importsUpload = mNeeds.ir.OnStored();
  if (!mNeeds.screen.IsOpen()) return;
  if (importsUpload && (mNeeds.session.importIrAUploading || mNeeds.session.importIrBPending)) {
    ContinuePresetImport();
  } else {
    mNeeds.ir.ShowIrAfterUpload();
  }
}

void TemplatesAndFiles::ContinuePresetImport() {
  DeviceSession& session = mNeeds.session;
  if (session.importIrAUploading) {
    session.importIrAUploading = false;
    if (session.importIrBPending) {
      // The second block (or the only one again) goes to position 8; the next
      // kCmdIrStored ends the import.
      if (const IrImageBytes* block = SecondUploadBlock(mImport)) {
        const int target =
            128 * mNeeds.params[kParamUserIrBHigh].Raw() + mNeeds.params[kParamUserIrBLow].Raw();
        mNeeds.ir.UploadImage(*block, target);
      }
      return;
    }
  } else if (session.importIrBPending) {
    session.importIrBPending = false;
  }
  mNeeds.ir.ShowIrForCurrentSelector();
  StoreCurrentPreset();
}

bool TemplatesAndFiles::StopPresetImport(ImpulseResponses::UploadLoss why) {
  DeviceSession& session = mNeeds.session;
  if (!session.importIrAUploading && !session.importIrBPending) return false;
  const std::string irA = IrOfPosition(7, mImport.position7IrName);
  const std::string irB = IrOfPosition(8, mImport.position8IrName);
  // Position 7 goes first when the file has it; position 8 waits for its confirmation.
  const bool lostA = session.importIrAUploading;
  const bool storedA = !lostA && mImportPlan.position7Target.has_value();
  std::string notStored = lostA ? irA : irB;
  if (lostA && session.importIrBPending) notStored += ", " + irB;
  session.importIrAUploading = false;
  session.importIrBPending = false;

  std::string text = "The import of the preset file \"" + mImport.name + "\" was stopped: ";
  text += LossText(why) + (lostA ? irA : irB) + ".\n";
  text += "Stored on the QD3: " + (storedA ? irA : std::string("nothing")) + ".\n";
  text += "Not stored: " + notStored +
          " and the preset. The file's values are in the editor, not saved.";
  mNeeds.outbox.Post(std::move(text));
  return true;
}

}  // namespace qd3
