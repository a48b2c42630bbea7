// One preset in a file: export with its user IRs, and import with the questions, the
// re-aimed IR references and the chain of IR uploads that kCmdIrStored paces.
#include <filesystem>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "ir/IrImage.h"
#include "presets/PresetFile.h"

namespace qd3 {
namespace {

std::string ControlTextOr(IScreenAccess* screen, int tag, const std::string& otherwise) {
  if (screen) {
    if (IControlHandle* control = screen->GetControlWithTag(tag)) return control->GetStr();
  }
  return otherwise;
}

}  // namespace

void QD3Control::ExportPresetFile() {
  if (!mPlatform) return;
  presetNameText = ControlTextOr(mScreen, kTagPresetName, presetNameText);
  const std::filesystem::path remembered(presetFilePath);
  const std::string folder = presetFilePath.empty() ? "" : remembered.parent_path().string();
  const std::string path =
      mPlatform->PromptForSaveFile(kPresetFileExtension, folder, presetNameText);
  if (path.empty()) return;
  presetFilePath = path;

  std::array<int, kRecordParamCount> params{};
  for (int i = 0; i < kRecordParamCount; ++i) params[static_cast<size_t>(i)] = mParams[i].Raw();
  const std::string name = PresetNameFromPath(path);
  const std::string label7 =
      ControlTextOr(mScreen, kTagIrNameA, userIrNames.Name(kUserIrNamePositionA));
  const std::string label8 =
      ControlTextOr(mScreen, kTagIrNameB, userIrNames.Name(kUserIrNamePositionB));
  const std::vector<uint8_t> bytes =
      BuildPresetFile({name, params, label7, label8}, [this](int n) -> std::optional<IrImageBytes> {
        if (!mCache) return std::nullopt;
        return mCache->ReadIrImage(n);
      });
  const CacheWriteStatus written = SavePresetFile(path, bytes);
  if (!Succeeded(written)) {
    ShowBox(WriteFailureText(written));
    return;
  }
  presetNameText = name;
  SetControlText(kTagPresetName, name);
  presetModified = false;
}

void QD3Control::ImportPresetFile() {
  if (!mPlatform) return;
  const std::string path = mPlatform->PromptForOpenFile(kPresetFileExtension, presetFilePath);
  if (path.empty()) return;
  presetFilePath = path;
  PresetFileData file = LoadPresetFile(path);
  switch (file.status) {
    case PresetFileStatus::kIgnored:
      return;
    case PresetFileStatus::kUnknownFormat:
      PostMessage(file.message);
      return;
    case PresetFileStatus::kUnsupportedVersion:
      ShowBox(file.message);
      return;
    case PresetFileStatus::kRead:
      break;
  }
  for (const ImportQuestion question : ImportQuestions(
           file, presetModified, mParams[kParamIrModeA].Raw(), mParams[kParamIrModeB].Raw())) {
    if (mPlatform->ShowMessageBox(ImportQuestionText(question), "", EMsgBoxType::OKCancel) !=
        EMsgBoxResult::OK) {
      return;
    }
  }
  ReaimIrReferences(file.params, session.currentPreset);
  ApplyPresetFileValues(file);

  if (file.fileSize == kPresetFileHeaderSize) {
    if (session.connected) StoreCurrentPreset();
    return;
  }
  const PresetFileIrPlan plan = PlanIrUploads(file, file.params);
  if (plan.Empty() || file.blocks.empty()) return;
  mImport = std::move(file);
  if (plan.position7Target) {
    session.importIrAUploading = true;
    if (plan.position8Target) session.importIrBPending = true;
    UploadIrBlock(mImport.blocks.front(), *plan.position7Target);
  } else {
    session.importIrBPending = true;
    UploadIrBlock(mImport.blocks.front(), *plan.position8Target);
  }
}

void QD3Control::ApplyPresetFileValues(const PresetFileData& file) {
  const bool applying = session.applyingDeviceValues;
  session.applyingDeviceValues = true;
  for (int i = 0; i < kRecordParamCount; ++i) {
    const int value = file.params[static_cast<size_t>(i)];
    liveValues[static_cast<size_t>(i)] = value;
    const ParamSpec& range = mParams[i].Info();
    SetParameterValue(i, (value - range.min) / (range.max - range.min));
  }
  session.applyingDeviceValues = applying;
  templateApplied = true;

  presetModified = true;
  if (IsWindowOpen()) {
    if (IControlHandle* display = mScreen->GetControlWithTag(kTagValueDisplay)) {
      display->SetTextColor(IColorFromArgb(kColorDisplayModified));
      display->SetDirty();
    }
  }
  presetNameText = file.name;
  SetControlText(kTagPresetName, file.name);
  if (file.params[kParamIrModeA] > 0) {
    userIrNames.Set(kUserIrNamePositionA, file.position7IrName);
    SetControlText(kTagIrNameA, file.position7IrName);
  }
  if (file.params[kParamIrModeB] > 0) {
    userIrNames.Set(kUserIrNamePositionB, file.position8IrName);
    SetControlText(kTagIrNameB, file.position8IrName);
  }
}

void QD3Control::UploadIrBlock(const IrImageBytes& block, int target) {
  LoadIrImage(block, irBuffer);
  std::array<uint8_t, kNameSize> name{};
  std::copy_n(block.begin() + kIrFileNameOffset, kNameSize, name.begin());
  const IrImageResult made = MakeIrImage(irBuffer, name);
  irBuffer.gain = made.gain;
  if (mCache) NoteCacheWrite(Succeeded(mCache->WriteIrImage(target, made.image)));
  mIrUpload.Start(target, made.image, session.connected);
}

void QD3Control::ContinuePresetImport() {
  if (session.importIrAUploading) {
    session.importIrAUploading = false;
    if (session.importIrBPending) {
      // The second block (or the only one again) goes to position 8; the next
      // kCmdIrStored ends the import.
      if (const IrImageBytes* block = SecondUploadBlock(mImport)) {
        const int target = 128 * mParams[kParamUserIrBHigh].Raw() + mParams[kParamUserIrBLow].Raw();
        UploadIrBlock(*block, target);
      }
      return;
    }
  } else if (session.importIrBPending) {
    session.importIrBPending = false;
  }
  ShowIrForCurrentSelector();
  StoreCurrentPreset();
}

}  // namespace qd3
