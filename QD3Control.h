#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "QD3ControlScreenNames.h"
#include "ir/IrFetch.h"
#include "ir/IrNames.h"
#include "ir/IrUpload.h"
#include "ir/IrWorkingBuffer.h"
#include "params/PageNumbers.h"
#include "params/ParamCatalogue.h"
#include "params/SoundTemplates.h"
#include "presets/BankExport.h"
#include "presets/BankImport.h"
#include "presets/BulkBuffer.h"
#include "presets/ChecksumTable.h"
#include "presets/FactoryWrite.h"
#include "presets/PresetCache.h"
#include "presets/PresetFile.h"
#include "presets/PresetSync.h"
#include "protocol/DeviceSession.h"
#include "protocol/FirmwareStream.h"
#include "protocol/SessionWatch.h"
#include "protocol/TransferBuffer.h"
#include "protocol/TransferStep.h"
#include "toolkit/api/IEditorDelegate.h"
#include "toolkit/api/IPlatformServices.h"
#include "toolkit/api/IScreenAccess.h"
#include "toolkit/api/ITimerHandle.h"

namespace qd3 {

// The one editor object: owns the parameter catalogue, the device session and the
// state of every module, and ties them to the screen and the wire through small
// seams (a message sink, the screen's find-by-tag access, platform dialogs).
class QD3Control : public IEditorDelegate {
 public:
  using MessageSink = std::function<void(std::span<const uint8_t>)>;

  QD3Control();
  ~QD3Control() override;
  QD3Control(const QD3Control&) = delete;
  QD3Control& operator=(const QD3Control&) = delete;

  // --- seams ---
  // Where outgoing SysEx goes; without a sink messages are dropped.
  void SetDeviceMessageSink(MessageSink sink);
  void SendDeviceMessage(std::span<const uint8_t> message);
  // The open window's controls; nullptr while no window is open.
  void AttachScreen(IScreenAccess* screen);
  bool IsWindowOpen() const { return mScreen != nullptr; }
  void SetPlatformServices(IPlatformServices* platform) { mPlatform = platform; }

  // --- parameters ---
  ParamCatalogue& Params() { return mParams; }
  const ParamCatalogue& Params() const { return mParams; }
  // Sets a parameter, runs its change handler and queues the value for the
  // controls bound to it. Used for values from the pedal, files, templates and
  // linked parameters; the caller decides about applyingDeviceValues.
  void SetParameterValue(int index, double normalized);
  // The single change handler, run after every set of parameter index.
  void OnParamChange(int index);
  // The dynamics graph of the open window, as the change handler drives it.
  struct DynamicsGraphView {
    virtual ~DynamicsGraphView() = default;
    virtual void Show(bool show) = 0;
    virtual void SetGateThreshold(double db) = 0;
    virtual void SetGateRatio(double ratio) = 0;
    virtual void SetCompThreshold(double db) = 0;
    virtual void SetCompRatio(double ratio) = 0;
  };
  // nullptr while no window is open. Not owned.
  void AttachDynamicsGraph(DynamicsGraphView* graph) { mDynamicsGraph = graph; }
  // The detail page shown (a kPage... number; kPageNone until the first switch).
  // Hides every detail group and the dynamics graph, then shows page `page`'s.
  void ShowPage(int page);
  int currentPage = kPageNone;
  // Set by the screens: whether the IR position picker's last event was a press.
  void SetIrPositionPickerPressed(bool pressed) { mIrPickerPressed = pressed; }
  // Set by the screens: whether the preset row picker's last event was a press.
  void SetPresetPickerPressed(bool pressed) { mPresetPickerPressed = pressed; }

  // The platform timers that call OnDeviceTimer and OnIdleTick. They are the first
  // thing stopped when the editor goes, so no tick runs into a half-freed object.
  void SetTimers(std::unique_ptr<ITimerHandle> deviceTimer,
                 std::unique_ptr<ITimerHandle> idleTimer);
  // Keyboard shortcuts the screens pass on when no text entry has focus: Left and
  // Right step the preset like the foot switches, Escape closes the open overlay
  // as its own close button would, Ctrl+S works like a click on the save button.
  enum class EditorKey : uint8_t { kPreviousPreset, kNextPreset, kStore, kCloseOverlay };
  // Whether the key did something.
  bool OnEditorKey(EditorKey key);
  // Menu entries that act on the editor: the kEditorCmd... numbers.
  void OnMenuCommand(int command);
  // At start-up: every parameter's change handler once, with nothing sent.
  void RunAllChangeHandlers();

  // --- pedal face ---
  // The actions of the pedal's switches. Each runs on the press and again on the
  // release and tells the two apart by the switch's own held flag (the auto-filter
  // switch by its value). Right and left step the preset; the middle switch arms
  // browsing and then selects the shown number; the save button arms storing and
  // then stores the edit buffer into the shown slot.
  void OnNextSwitch();
  void OnPreviousSwitch();
  void OnBrowseSwitch();
  void OnSaveButton();
  void OnAutoFilterSwitch();

  // --- sound templates ---
  // Loads drive template k (0..9) or ambience template k (0..6) into the edit
  // buffer without live edits; a connected pedal then gets the whole buffer as the
  // store of the current preset.
  void ApplyDriveTemplate(int k);
  void ApplyAmbienceTemplate(int k);
  // Lights the button of template k and darkens the rest of its row (10 or 7: all dark).
  void HighlightDriveTemplate(int k);
  void HighlightAmbienceTemplate(int k);
  // Lights the buttons of the templates the received preset (deviceSnapshot) was
  // built from; nothing while no window is open.
  void MatchTemplates();
  // The voicing buttons' action, on press and release: only a dark button acts.
  void OnDriveTemplateButton(int k, double buttonValue);
  void OnAmbienceTemplateButton(int k, double buttonValue);

  // --- the pedal ---
  // One complete SysEx message from the pedal, handled in arrival order.
  void HandleDeviceMessage(const uint8_t* bytes, size_t length);
  // Every 100 ms on the UI thread: polls, and paces every multi-message transfer.
  void OnDeviceTimer();
  // Every 20 ms on the UI thread.
  void OnIdleTick();
  // Whether the idle tick has work: a held switch, blinking, a pending message or
  // the two-digit display's hold. When it has none the host may run it less often.
  bool IdleTickNeeded() const;
  // Whether one of the session's own requests (checksums, settings, current preset, maps,
  // IR names) still waits for its answer, to be sent again or given up on.
  bool AwaitingSessionAnswer() const { return mSessionWatch.Waiting().has_value(); }
  // "RECONNECT": forget the pedal and poll again.
  void Reconnect();
  // Part of closing the window: says goodbye to a connected pedal.
  void EditorClosing();
  // "QD3 Global Settings..." and the page's "X" and click catcher.
  void OpenGlobalSettings();
  void CloseGlobalSettings();
  // The "SETUP" buttons of the settings page and the "BACK" buttons of the map pages:
  // a page fetches its table on opening and sends the whole table back on "BACK".
  void OpenProgramMap();
  void CloseProgramMap();
  void OpenControllerMap();
  void CloseControllerMap();
  // "ALL", "PRESETS", "SETTINGS": asks "Are you sure?", then resets the pedal
  // (kFactoryResetAll, kFactoryResetPresets, kFactoryResetSettings).
  void FactoryReset(int kind);
  // The about hook of the Help menu and the about screen's click catcher.
  void ShowAbout();
  void CloseAbout();
  // "Firmware Update..." and the firmware screen's "X" button.
  void OpenFirmwareUpdate();
  void CloseFirmwareUpdate();

  // The pedal's program map: incoming MIDI program number -> preset.
  std::array<uint8_t, 128> programMap{};

  // --- presets ---
  // The disk cache below the base folder; until it is opened nothing is cached.
  void OpenCache(const std::filesystem::path& baseFolder);
  PresetCache* Cache() { return mCache.get(); }
  // The screens' 128 preset list rows, while the window is open.
  void AttachPresetRows(const std::array<IControlHandle*, kPresetCount>& rows);
  // Start-up and after the cache was rebuilt: folder scan, then the list and the
  // checksum table from the cached files.
  void LoadCacheState();
  // "Clear Cache Data": removes every cached preset and IR, keeps the WAV files.
  void ClearCacheData();
  // Sends the edit buffer to the pedal as the current preset.
  void StoreCurrentPreset();
  const std::string& PresetRowLabel(int slot) const {
    return mRowLabels.at(static_cast<size_t>(slot));
  }

  ChecksumTable checksums;

  // --- impulse responses ---
  // The load button of cabinet position 7 (or 8 when `positionB`): the number of the
  // current slot's own user IR goes to the pedal in two halves, then a WAV file chosen
  // in the file dialog becomes that IR: cached, named and uploaded.
  void LoadUserIrWav(bool positionB);
  // Converts, caches, names and uploads `wavPath` as IR `target` (0..255, or 384..391).
  // False when the file could not be read as a WAV file; the player has been told why.
  bool LoadWavIntoIr(int target, const std::string& wavPath);
  // Refills the working IR buffer for the cabinet selector value `irValue` (parameter
  // 14) and hands it to the IR display.
  void ShowIr(int irValue);
  // The IR display of the open window, given the working buffer after every ShowIr.
  using IrDisplaySink = std::function<void(const IrWorkingBuffer&)>;
  void SetIrDisplaySink(IrDisplaySink sink) { mIrDisplaySink = std::move(sink); }
  // Asks the pedal for the names of IR bank `bank` (0..8): four groups of eight.
  void RequestIrNames(int bank);

  // --- files, factory presets and firmware ---
  // "EXPORT" and "IMPORT" of the main screen: the current preset with its user IRs.
  void ExportPresetFile();
  void ImportPresetFile();
  // "Export All Presets from QD3 ...", "Import All Presets to QD3...", "Factory Presets
  // Update...". The last two first save a connected pedal's bank as a safety backup.
  void ExportBank();
  void ImportBank();
  void UpdateFactoryPresets();
  // "UPDATE FIRMWARE" on the firmware screen.
  void StartFirmwareUpdate();
  // The files the dialogs start from: the last preset file and bank file chosen.
  std::string presetFilePath;
  std::string bankFilePath;

  // The working IR buffer (4096 samples at 44.1 kHz and the IR gain) the display draws.
  IrWorkingBuffer irBuffer;
  // Names of the user IRs 0..287 and, at 288 and 289, of the current preset's two
  // user-IR positions.
  UserIrNames userIrNames;
  // The cabinet selector's nine position names.
  CabinetPositionNames positionNames;
  // The 32 rows of the user-IR list, as the pedal last named them.
  IrListRows irListRows;
  // The folder the WAV dialog opens in: the last WAV file chosen.
  std::string lastWavPath;
  // What the last WAV load kept of its file, for the IR page.
  std::string irConversionSummary;
  // Text of the preset name entry field (tag 138) as the editor knows it.
  std::string presetNameText = "Tolvane QD3 Default Preset Name";

  // --- IEditorDelegate ---
  int NParams() const override { return kNumParams; }
  double GetParamNormalized(int index) const override;
  void SetParameterValueFromUI(int index, double normalized) override;
  std::string GetParamDisplayText(int index, double normalized) const override;
  std::vector<std::string> GetParamValueTexts(int index) const override;
  std::string GetParamName(int index) const override;
  double GetParamDefaultNormalized(int index) const override;
  double GetParamStepNormalized(int index) const override;
  void DrainQueuedParamUpdates(const std::function<void(int, double)>& apply) override;

  DeviceSession session;

  // What the pedal holds for parameters 0..64, as far as the editor knows.
  std::array<int, kNumSoundParams> liveValues{};
  // Parameters 0..64 of the preset as last received from the pedal.
  std::array<int, kNumSoundParams> deviceSnapshot{};
  bool presetModified = false;
  bool templateApplied = false;

  // The pedal face's switches. "Held" is between a switch's press and its release.
  bool nextHeld = false;
  bool prevHeld = false;
  bool middleHeld = false;
  bool saveHeld = false;
  // The middle switch armed browsing: stepping shows numbers, the pedal keeps its preset.
  bool browseArmed = false;
  // Mirrors parameter 60; the auto-filter switch toggles it.
  bool autoFilterOn = false;
  int repeatTicks = 0;  // auto-repeat counter of a held left or right switch
  int blinkPhase = 0;   // 0..7 while storing is armed, 0..15 while browsing is armed
  int blinkCount = 0;   // blink cycles counted after a store was sent
  bool valueDisplayHold = false;
  int valueDisplayTicks = 0;

 private:
  void SendLiveEdit(int index, int raw);
  void UpdateModifiedDisplay();
  void RunLinkedParameters(int index, int raw);
  // What a change shows in the open window: its number text, the dynamics graph,
  // the controls that depend on it and the detail page it opens.
  void RunScreenRules(int index, int raw);
  void ShowValueText(int index, int raw);
  // ShowPage unless the page is shown already, values are being applied or no
  // window is open.
  void ShowPageUnlessSkipped(int page);
  void FollowDynamics(int raw);
  void FollowEchoButtons();
  void MirrorIrSelector(int ir);
  // position 0 or 1 (cabinet positions 7 and 8) after its "IR Mode" changed.
  void FollowIrMode(int position, int irMode);
  bool IsControlShown(int tag);
  // Screen effects; each is skipped while no window is open or the tag is absent.
  void SetControlText(int tag, const std::string& text);
  void SetControlValue(int tag, double normalized);
  void ShowGroup(std::string_view group, bool show);
  void EnableGroup(std::string_view group, bool enable);
  void ShowProgress(double fraction, const ProgressTarget& target = kCommonProgress);
  // Sends what a transfer asks for, shows its progress on the common overlay and
  // posts its message when it failed.
  void ApplyTransferStep(const TransferStep& step, const ProgressTarget& target = kCommonProgress);
  // The same with the IR fetch's rounded percentage.
  void ApplyIrFetchStep(const TransferStep& step);
  void ShowProgressOverlay(const TransferStep& step, const ProgressTarget& target);
  // A message box raised while handling the pedal: shown by the next idle tick.
  void PostMessage(std::string text);

  // The two halves of OnEditorKey: the overlays first, then the pedal face.
  bool HandleOverlayKey(EditorKey key);
  bool FirmwareScreenShown();

  // Global settings and MIDI maps, run at the end of OnParamChange: the block sent on
  // every edit of 80..90, "PATCH OFFSET" renumbering, the program-map editor 99/100.
  void RunSettingsRules(int index);
  void SendGlobalSettings();
  // The preset list's labels with the current "PATCH OFFSET".
  void RelabelPresetList();
  bool HandlePedalFaceKey(EditorKey key);

  // Pedal face.
  void PresetSwitch(bool& held, int tag, int step);
  void PressPresetSwitch(bool& held, int tag, int step);
  void ReleasePresetSwitch(bool& held, int tag);
  void StepCurrentPreset(int step);
  void SetDisplayNumber();
  void ShowValueDisplay(bool show);
  // Every idle tick: the held switches' auto-repeat, then the blinking of an armed display.
  void PedalFaceIdleTick();
  void RepeatHeldSwitch(int step);
  void BlinkDisplay();
  // Sound templates: the sets of one template, then the store when connected.
  void ApplyTemplateSets(const std::vector<TemplateSet>& sets);

  // Device timer steps.
  void WatchSessionRequest(std::span<const uint8_t> message);
  void ServeSessionWatch();
  void PollDevice();
  void RequestSelectedUserIr();
  void ServeConnectedTransfers();

  // Incoming messages by family.
  void HandleRecordMessage(std::span<const uint8_t> m);
  void HandleLongMessage(std::span<const uint8_t> m);
  void HandleShortMessage(std::span<const uint8_t> m);
  void HandleDataBlockUnconnected(std::span<const uint8_t> m);
  void HandleDataBlockConnected(std::span<const uint8_t> m);
  void ApplyGlobalSettingsBlock(std::span<const uint8_t> m);
  void ApplyControllerMapBlock(std::span<const uint8_t> m);
  void ApplyProgramMapBlock(std::span<const uint8_t> m);
  void HandleParamEcho(std::span<const uint8_t> m);
  void HandleDeviceStatus(uint8_t command);
  void HandleLoaderReply(uint8_t command);
  void SetParameterFromBlock(int index, int raw);

  // Impulse responses.
  void RequestIr(int irNumber);
  void HandleIrTransfer(std::span<const uint8_t> m);
  void CompleteIrReceive(const ReceivedIr& received);
  void HandleIrNames(std::span<const uint8_t> m);
  void HandleIrStored();
  void ReloadUserIrName(int irNumber);
  void ShowIrForCurrentSelector();
  void CheckEditedUserIr(bool positionB);

  // Files, banks, factory presets, firmware.
  enum class AfterBackup : uint8_t { kNothing, kImportBank, kFactoryUpdate, kFirmwareUpdate };
  void StartBankExport(std::filesystem::path target, AfterBackup then);
  void ServeBankExport();
  bool SafetyBackupFirst(AfterBackup then);
  void ImportBankConfirmed(const std::string& backupNote);
  void FactoryUpdateConfirmed(const std::string& backupNote);
  void FirmwareFileChosen(const std::string& backupPath);
  void ServeFirmware();
  void LeaveFirmwareScreenAfterUpdate();
  void ApplyWatchdogs();
  void HandleWriteReply(DeviceCommand command);
  void FinishRestore();
  void VerifyRestore(std::span<const uint8_t, kChecksumBlockSize> pedalChecksums);
  void ApplyPresetFileValues(const PresetFileData& file);
  void UploadIrBlock(const IrImageBytes& block, int target);
  void ContinuePresetImport();
  // A message box on the UI thread, while the window is open.
  void ShowBox(const std::string& text);
  void DeleteCacheAndBuildList();

  // Presets.
  void HandlePresetDump(std::span<const uint8_t> m);
  void HandlePresetChecksums(std::span<const uint8_t> m);
  void ContinuePresetSync(std::span<const uint8_t> m);
  void ApplyCurrentPresetDump(std::span<const uint8_t> m);
  void SetRowLabel(int slot, std::string label);
  void SetRowColor(int slot, bool current);
  // After every cache write: the first failure is told to the player, the rest are not.
  void NoteCacheWrite(bool written);
  void ScrollPresetList(int scroll);
  void PickPresetRow(int row);
  int PatchOffset() const;
  void QueueParamUpdate(int index, double normalized);

  ParamCatalogue mParams;
  MessageSink mSink;
  IScreenAccess* mScreen = nullptr;
  IPlatformServices* mPlatform = nullptr;
  bool mIrPickerPressed = false;
  bool mPresetPickerPressed = false;
  int mListTop = 0;  // the preset list's first visible row

  std::unique_ptr<ITimerHandle> mDeviceTimer;
  std::unique_ptr<ITimerHandle> mIdleTimer;
  std::unique_ptr<PresetCache> mCache;
  // The player has been told that the cache folder cannot be written (once a run).
  bool mCacheWriteFailureTold = false;
  std::array<IControlHandle*, kPresetCount> mPresetRows{};
  std::array<std::string, kPresetCount> mRowLabels;
  PresetSync mSync{session, checksums};
  // The session's own requests, sent again when their answer is lost.
  SessionWatch mSessionWatch;
  // Outgoing packed groups, shared by the IR upload and the firmware stream.
  TransferBuffer mTransferBuffer;
  IrUpload mIrUpload{session, mTransferBuffer};
  IrFetch mIrFetch;
  IrDisplaySink mIrDisplaySink;
  DynamicsGraphView* mDynamicsGraph = nullptr;

  // The 1,048,576-byte buffer of the bank export and import, which never run together.
  BulkBuffer mBulkBuffer;
  BankExport mBankExport{session, mBulkBuffer.Bytes()};
  BankImport mBankImport{session, mBulkBuffer.Bytes()};
  FactoryWrite mFactoryWrite{session};
  FirmwareStream mFirmware{session, mTransferBuffer};
  std::filesystem::path mBankExportPath;
  AfterBackup mAfterBackup = AfterBackup::kNothing;
  // The imported bank's record checksums, compared with the pedal's after reconnecting.
  std::optional<BankChecksums> mVerifyAgainst;
  // The preset file being imported, until the pedal stored its IRs.
  PresetFileData mImport;
  bool mPedalConnectedBeforeFirmware = false;
  bool mFirmwareBackupDone = false;
  // After "Error in update!" has been shown, the firmware screen goes.
  bool mLeaveFirmwareAfterMessage = false;
  // The overlay pages shown by the editor's own open and close operations.
  struct OpenOverlays {
    bool settings = false;
    bool programMap = false;
    bool controllerMap = false;
    bool about = false;
  };
  OpenOverlays mOverlays;

  std::mutex mQueueMutex;
  std::vector<std::pair<int, double>> mQueuedUpdates;
};

}  // namespace qd3
