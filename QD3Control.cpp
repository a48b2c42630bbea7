#include "QD3Control.h"

#include "params/ValueDisplay.h"

namespace qd3 {
namespace {

// All that one action of the player changes is one undo step.
class UndoStepScope {
 public:
  UndoStepScope(UndoRedo& undo, std::string what) : mUndo(undo) { mUndo.OpenStep(std::move(what)); }
  ~UndoStepScope() { mUndo.CloseStep(); }
  UndoStepScope(const UndoStepScope&) = delete;
  UndoStepScope& operator=(const UndoStepScope&) = delete;

 private:
  UndoRedo& mUndo;
};

constexpr char kStepDriveVoicing[] = "drive voicing";
constexpr char kStepAmbienceType[] = "ambience type";
constexpr char kStepPresetFile[] = "preset file import";

}  // namespace

QD3Control::QD3Control()
    : mIr({mScreen, mOutbox, mCache, session, mWatch, mParams, *this, mPages, mTransferBuffer,
           *this}),
      mFiles({mScreen, mOutbox, mCache, session, mParams, *this, mPages, mIr, *this, *this, *this}),
      mMirror({mScreen, mOutbox, mCache, session, mWatch, mParams, *this, checksums, *this, *this,
               mIr, mFiles, *this}),
      mBanks({mScreen, mOutbox, mCache, session, mParams, mMirror, *this, mTransferBuffer}),
      mOverlays({mScreen, mOutbox, session, mParams, mMirror, mBanks, programMap, mapsRead}),
      mConnection({mScreen, mOutbox, session, mWatch, mParams, *this, programMap, mapsRead}),
      mChange({mScreen, mOutbox, session, mParams, *this, mPages, mMirror, mIr, *this, *this, *this,
               programMap}),
      mFace({mScreen, mOutbox, session, mParams, *this, *this, *this}),
      mDispatcher({session, mWatch, mOutbox, mConnection, mMirror, mIr, mFiles, mBanks}),
      mTimer({session, mOutbox, mConnection, mMirror, mIr, mBanks}),
      mUndo({mScreen, mOutbox, session, mParams, *this, mMirror, *this}),
      mCompare({mScreen, mParams, *this, *this}) {
  // Each store is an undo step; the slot's record is read before the cache takes the new.
  mFiles.SetStoredSink([this](int slot, const PresetRecord& record) {
    mUndo.NoteSlotWrite(slot, record);
    mMirror.NoteStored(slot, record);
  });
  mMirror.SetPedalStoredSink(
      [this](int slot, const PresetRecord& record) { mUndo.NoteSlotWrite(slot, record); });
  mMirror.SetLoadedSink([this](int slot) {
    mCompare.Forget();
    mUndo.OnCurrentPresetLoaded(slot);
    mDrops.OnPresetLoaded(slot);
  });
  // The pedal stores what it plays: the edited sound, not the one compared with.
  mFiles.SetBeforeStoreHook([this] { mCompare.Leave(); });
  mConnection.SetConnectedSink([this](const std::string& serial) { mUndo.OnConnected(serial); });
  mUndo.SetBusyCheck([this] { return TransferRunning(); });
  mSlots.SetBusyCheck([this] { return TransferRunning(); });
  mFiles.SetSlotLabelSource([this](int slot) { return mMirror.RowLabel(slot); });
}

bool QD3Control::TransferRunning() {
  return mBanks.Busy() || mMirror.Sync().Active() || session.saveArmed || session.saveAwaiting ||
         session.importIrAUploading || session.importIrBPending;
}

QD3Control::~QD3Control() {
  mDeviceTimer.reset();
  mIdleTimer.reset();
}

// ---- seams ----

void QD3Control::SetDeviceMessageSink(MessageSink sink) {
  mOutbox.SetSink(std::move(sink));
}

void QD3Control::SendDeviceMessage(std::span<const uint8_t> message) {
  mOutbox.Send(message);
}

void QD3Control::AttachScreen(IScreenAccess* screen) {
  mScreen.Attach(screen);
  // The overlays belong to the window and go with it.
  if (!screen) mOverlays.Forget();
}

void QD3Control::AttachPresetRows(const std::array<IControlHandle*, kPresetCount>& rows) {
  mMirror.AttachRows(rows);
}

void QD3Control::SetTimers(std::unique_ptr<ITimerHandle> deviceTimer,
                           std::unique_ptr<ITimerHandle> idleTimer) {
  mDeviceTimer = std::move(deviceTimer);
  mIdleTimer = std::move(idleTimer);
}

// ---- parameters ----

void QD3Control::SetParameterValue(int index, double normalized) {
  mParams[index].SetNormalized(normalized);
  OnParamChange(index);
  std::lock_guard lock(mQueueMutex);
  mQueuedUpdates.emplace_back(index, mParams[index].GetNormalized());
}

void QD3Control::OnParamChange(int index) {
  mChange.OnParamChange(index);
}

void QD3Control::RunAllChangeHandlers() {
  for (int index = 0; index < kNumParams; ++index) OnParamChange(index);
}

void QD3Control::ShowPage(int page) {
  mPages.ShowPage(page);
}
void QD3Control::SetIrPositionPickerPressed(bool p) {
  mChange.SetIrPositionPickerPressed(p);
}
void QD3Control::SetPresetPickerPressed(bool p) {
  mChange.SetPresetPickerPressed(p);
}

// ---- keys, menu, pedal face, templates ----

bool QD3Control::OnEditorKey(EditorKey key) {
  // An open overlay takes the key first, so Escape never reaches the pedal face and the
  // arrows do not step presets behind a settings page. The progress panel lies above all.
  if (key == EditorKey::kCloseOverlay && CancelProgress()) return true;
  if (mOverlays.OnKey(key)) return true;
  switch (key) {
    case EditorKey::kUndo:
      OnMenuCommand(kEditorCmdUndo);
      return true;
    case EditorKey::kRedo:
      OnMenuCommand(kEditorCmdRedo);
      return true;
    case EditorKey::kCompare:
      OnCompareButton();
      return true;
    case EditorKey::kStore:
      mCompare.Leave();
      break;
    default:
      break;
  }
  return mFace.OnKey(key) || mMirror.OnListKey(key);
}

void QD3Control::OnMenuCommand(int command) {
  switch (command) {
    case kEditorCmdFirmwareUpdate:
      OpenFirmwareUpdate();
      break;
    case kEditorCmdGlobalSettings:
      OpenGlobalSettings();
      break;
    case kEditorCmdClearCache:
      ClearCacheData();
      break;
    case kEditorCmdBankImport:
      ImportBank();
      break;
    case kEditorCmdBankExport:
      ExportBank();
      break;
    case kEditorCmdFactoryUpdate:
      UpdateFactoryPresets();
      break;
    case kEditorCmdUndo:
    case kEditorCmdRedo:
      // The stored sound the pedal plays while comparing is no step of the history.
      mCompare.Leave();
      if (command == kEditorCmdUndo) {
        mUndo.Undo();
      } else {
        mUndo.Redo();
      }
      break;
    default:
      break;
  }
}

bool QD3Control::CancelProgress() {
  if (mBanks.CancelExport()) return true;
  if (!mMirror.Sync().Active()) return false;
  mOutbox.Apply(mMirror.Sync().Cancel(), kSyncProgress);
  return true;
}

void QD3Control::OnNextSwitch() {
  mFace.OnNextSwitch();
}
void QD3Control::OnPreviousSwitch() {
  mFace.OnPreviousSwitch();
}
void QD3Control::OnBrowseSwitch() {
  mFace.OnBrowseSwitch();
}
void QD3Control::OnSaveButton() {
  // The pedal stores what it plays: the edited sound, not the one compared with.
  mCompare.Leave();
  mFace.OnSaveButton();
}
void QD3Control::OnAutoFilterSwitch() {
  mCompare.Leave();
  UndoStepScope step(mUndo, mParams[kParamAutoFilterOn].Info().name + std::string(" change"));
  mFace.OnAutoFilterSwitch();
}
void QD3Control::ApplyDriveTemplate(int k) {
  mCompare.Leave();
  UndoStepScope step(mUndo, kStepDriveVoicing);
  mFiles.ApplyDriveTemplate(k);
}
void QD3Control::ApplyAmbienceTemplate(int k) {
  mCompare.Leave();
  UndoStepScope step(mUndo, kStepAmbienceType);
  mFiles.ApplyAmbienceTemplate(k);
}
void QD3Control::HighlightDriveTemplate(int k) {
  mFiles.HighlightDriveTemplate(k);
}
void QD3Control::HighlightAmbienceTemplate(int k) {
  mFiles.HighlightAmbienceTemplate(k);
}
void QD3Control::MatchTemplates() {
  mFiles.MatchTemplates();
}

void QD3Control::OnDriveTemplateButton(int k, double value) {
  if (TemplateButtonActs(value)) mCompare.Leave();
  UndoStepScope step(mUndo, kStepDriveVoicing);
  mFiles.OnDriveTemplateButton(k, value);
}

void QD3Control::OnAmbienceTemplateButton(int k, double value) {
  if (TemplateButtonActs(value)) mCompare.Leave();
  UndoStepScope step(mUndo, kStepAmbienceType);
  mFiles.OnAmbienceTemplateButton(k, value);
}

// ---- the pedal ----

void QD3Control::HandleDeviceMessage(const uint8_t* bytes, size_t length) {
  if (bytes == nullptr) return;
  mDispatcher.HandleDeviceMessage(std::span<const uint8_t>(bytes, length));
}

void QD3Control::OnDeviceTimer() {
  mOutbox.PassTime(100);
  mTimer.OnTick();
  mUndo.OnDeviceTick();
  mDrops.OnDeviceTick();
}

void QD3Control::OnIdleTick() {
  mOutbox.PassTime(20);
  mOutbox.ShowPosted();
  mFace.OnIdleTick();
}

bool QD3Control::IdleTickNeeded() const {
  return session.messagePending || mOutbox.ProgressWaiting() || mFace.IdleTickNeeded();
}

void QD3Control::Reconnect() {
  mConnection.Reconnect();
}
void QD3Control::EditorClosing() {
  mConnection.EditorClosing();
}
void QD3Control::OpenGlobalSettings() {
  // The page's settings block is followed by the pedal's stored current preset.
  if (mFiles.SettleUnsavedEdits()) mOverlays.OpenGlobalSettings();
}
void QD3Control::CloseGlobalSettings() {
  mOverlays.CloseGlobalSettings();
}
void QD3Control::OpenProgramMap() {
  mOverlays.OpenProgramMap();
}
void QD3Control::CloseProgramMap() {
  mOverlays.CloseProgramMap();
}
void QD3Control::OpenControllerMap() {
  mOverlays.OpenControllerMap();
}
void QD3Control::CloseControllerMap() {
  mOverlays.CloseControllerMap();
}
void QD3Control::FactoryReset(int kind) {
  mOverlays.FactoryReset(kind);
}
void QD3Control::ShowAbout() {
  mOverlays.ShowAbout();
}
void QD3Control::CloseAbout() {
  mOverlays.CloseAbout();
}
void QD3Control::OpenFirmwareUpdate() {
  mBanks.OpenFirmwareUpdate();
}
void QD3Control::CloseFirmwareUpdate() {
  mBanks.CloseFirmwareUpdate();
}

// ---- presets, impulse responses, files ----

void QD3Control::OpenCache(const std::filesystem::path& baseFolder) {
  mCache.Open(baseFolder);
}
void QD3Control::LoadCacheState() {
  mMirror.LoadCacheState();
}
void QD3Control::ClearCacheData() {
  mMirror.ClearCacheData();
}
void QD3Control::StoreCurrentPreset() {
  // Its before-store hook plays the edited sound again if comparing.
  mFiles.StoreCurrentPreset();
}
void QD3Control::LoadUserIrWav(bool positionB) {
  mIr.LoadUserIrWav(positionB);
}

bool QD3Control::LoadWavIntoIr(int target, const std::string& wavPath) {
  return mIr.LoadWavIntoIr(target, wavPath);
}

void QD3Control::ShowIr(int irValue) {
  mIr.ShowIr(irValue);
}
void QD3Control::RequestIrNames(int bank) {
  mIr.RequestIrNames(bank);
}
void QD3Control::ExportPresetFile() {
  mFiles.ExportPresetFile();
}
void QD3Control::ImportPresetFile() {
  mCompare.Leave();
  UndoStepScope step(mUndo, kStepPresetFile);
  mFiles.ImportPresetFile();
}
bool QD3Control::ImportPresetFileFrom(const std::string& path) {
  mCompare.Leave();
  UndoStepScope step(mUndo, kStepPresetFile);
  return mFiles.ImportPresetFileFrom(path);
}
void QD3Control::ExportBank() {
  mBanks.ExportBank();
}
void QD3Control::ImportBank() {
  mBanks.ImportBank();
}
void QD3Control::UpdateFactoryPresets() {
  mBanks.UpdateFactoryPresets();
}
void QD3Control::StartFirmwareUpdate() {
  mBanks.StartFirmwareUpdate();
}

// ---- IEditorDelegate ----

double QD3Control::GetParamNormalized(int index) const {
  return mParams[index].GetNormalized();
}

void QD3Control::SetParameterValueFromUI(int index, double normalized) {
  // An edit while comparing starts from the edited sound, which is played again first.
  if (index != kParamScroll) mCompare.Leave();
  const SoundValues before = CaptureSound(mParams);
  SetParameterValue(index, normalized);
  mUndo.NoteEdit(index, before);
}

std::string QD3Control::GetParamDisplayText(int index, double normalized) const {
  const IParam& param = mParams[index];
  return param.DisplayText(param.FromNormalized(normalized));
}

std::vector<std::string> QD3Control::GetParamValueTexts(int index) const {
  std::vector<std::string> texts;
  for (const auto& entry : mParams[index].Info().displayTexts) texts.push_back(entry.second);
  return texts;
}

std::string QD3Control::GetParamName(int index) const {
  return mParams[index].Info().name;
}

std::string QD3Control::GetParamReadout(int index, double normalized) const {
  const std::optional<ValueText> text =
      ParamValueText(index, mParams[index].FromNormalized(normalized));
  return text ? text->value : std::string();
}

double QD3Control::GetParamDefaultNormalized(int index) const {
  const IParam& param = mParams[index];
  if (param.Info().max <= param.Info().min) return 0.0;
  return param.ToNormalized(param.Constrain(param.Info().defaultValue));
}

double QD3Control::GetParamStepNormalized(int index) const {
  const ParamSpec& info = mParams[index].Info();
  const double span = info.max - info.min;
  if (!info.stepped || span <= 0.0 || info.step <= 0.0) return 0.0;
  return info.step / span;
}

void QD3Control::DrainQueuedParamUpdates(const std::function<void(int, double)>& apply) {
  std::vector<std::pair<int, double>> updates;
  {
    std::lock_guard lock(mQueueMutex);
    updates.swap(mQueuedUpdates);
  }
  for (const auto& [index, normalized] : updates) apply(index, normalized);
}

}  // namespace qd3
