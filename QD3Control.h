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
#include "editor/BankActivities.h"
#include "editor/CacheKeeper.h"
#include "editor/ChangeHandler.h"
#include "editor/CompareStored.h"
#include "editor/Connection.h"
#include "editor/DeviceTimer.h"
#include "editor/Dispatcher.h"
#include "editor/EditorState.h"
#include "editor/FileDrops.h"
#include "editor/ImpulseResponses.h"
#include "editor/Outbox.h"
#include "editor/Overlays.h"
#include "editor/Pages.h"
#include "editor/ParamWriter.h"
#include "editor/PedalFace.h"
#include "editor/PresetMirror.h"
#include "editor/ScreenWriter.h"
#include "editor/SlotOperations.h"
#include "editor/TemplatesAndFiles.h"
#include "editor/UndoRedo.h"
#include "params/PageNumbers.h"
#include "toolkit/api/IEditorDelegate.h"
#include "toolkit/api/ITimerHandle.h"

namespace qd3 {

// The one editor object: owns the parameter catalogue, the device session and the
// editor's parts (editor/), and routes every entry point to the part that owns it.
// The named fields live in the plain structs it derives from, shared with the parts.
class QD3Control : public IEditorDelegate,
                   public ParamWriter,
                   public EditBufferState,
                   public PedalFaceState,
                   public ImpulseResponseState,
                   public FileChoices {
 public:
  using MessageSink = Outbox::MessageSink;
  using DynamicsGraphView = qd3::DynamicsGraphView;
  using EditorKey = qd3::EditorKey;
  using IrDisplaySink = ImpulseResponses::DisplaySink;

  QD3Control();
  ~QD3Control() override;
  QD3Control(const QD3Control&) = delete;
  QD3Control& operator=(const QD3Control&) = delete;

  // --- seams: the wire, the window, the platform, the timers ---
  void SetDeviceMessageSink(MessageSink sink);
  void SendDeviceMessage(std::span<const uint8_t> message);
  // The open window's controls; nullptr while no window is open.
  void AttachScreen(IScreenAccess* screen);
  bool IsWindowOpen() const { return mScreen.IsOpen(); }
  void SetPlatformServices(IPlatformServices* platform) { mScreen.SetPlatform(platform); }
  void AttachDynamicsGraph(DynamicsGraphView* graph) { mScreen.AttachGraph(graph); }
  void AttachPresetRows(const std::array<IControlHandle*, kPresetCount>& rows);
  void SetIrDisplaySink(IrDisplaySink sink) { mIr.SetDisplaySink(std::move(sink)); }
  // The timers are the first thing stopped when the editor goes.
  void SetTimers(std::unique_ptr<ITimerHandle> deviceTimer,
                 std::unique_ptr<ITimerHandle> idleTimer);

  // --- parameters and the change handler ---
  ParamCatalogue& Params() { return mParams; }
  const ParamCatalogue& Params() const { return mParams; }
  void SetParameterValue(int index, double normalized) override;
  void OnParamChange(int index);
  // At start-up: every parameter's change handler once, with nothing sent.
  void RunAllChangeHandlers();
  void ShowPage(int page);
  void SetIrPositionPickerPressed(bool pressed);
  void SetPresetPickerPressed(bool pressed);

  // --- keys, menu, pedal face, templates, undo ---
  bool OnEditorKey(EditorKey key);
  // The Edit menu's "Undo Drive change" (redo: "Redo ..."); empty when there is none.
  std::string EditMenuText(bool redo) const { return mUndo.MenuText(redo); }
  const UndoHistory& History() const { return mUndo.History(); }
  bool Comparing() const { return mCompare.Active(); }
  // Not while a store is armed: the pedal would store the sound compared with.
  void OnCompareButton() {
    if (!session.saveArmed && !session.saveAwaiting) mCompare.Toggle();
  }
  // A wheel turn over the preset list; positive scrolls towards slot 1.
  void WheelPresetList(bool positive, bool fine) { mMirror.WheelList(positive, fine); }
  // The field over the list: typing filters it, Return picks the first row listed.
  void FilterPresetList(const std::string& text) { mMirror.Filter(text); }
  void PickFirstListedPreset() { mMirror.PickFirstShown(); }
  // The list's menu: copy, paste, swap and rename whole slots.
  SlotOperations& Slots() { return mSlots; }
  // The slot a visible row of the list shows (rows from 0 at the top); -1 for none.
  int SlotAtListRow(int row) const { return mMirror.SlotAtRow(row); }
  void OnMenuCommand(int command);
  void OnNextSwitch();
  void OnPreviousSwitch();
  void OnBrowseSwitch();
  void OnSaveButton();
  void OnAutoFilterSwitch();
  void ApplyDriveTemplate(int k);
  void ApplyAmbienceTemplate(int k);
  void HighlightDriveTemplate(int k);
  void HighlightAmbienceTemplate(int k);
  void MatchTemplates();
  void OnDriveTemplateButton(int k, double buttonValue);
  void OnAmbienceTemplateButton(int k, double buttonValue);

  // --- the pedal ---
  void HandleDeviceMessage(const uint8_t* bytes, size_t length);
  void NoteDroppedInput(uint64_t total) { mIr.NoteDroppedInput(total); }
  // Every 100 ms on the UI thread: polls, and paces every multi-message transfer.
  void OnDeviceTimer();
  // Every 20 ms on the UI thread.
  void OnIdleTick();
  // Whether the idle tick has work; when it has none the host may run it less often.
  bool IdleTickNeeded() const;
  bool AwaitingSessionAnswer() const { return mWatch.Waiting().has_value(); }
  void Reconnect();
  void EditorClosing();
  void OpenGlobalSettings();
  void CloseGlobalSettings();
  void OpenProgramMap();
  void CloseProgramMap();
  void OpenControllerMap();
  void CloseControllerMap();
  void FactoryReset(int kind);
  void ShowAbout();
  void CloseAbout();
  void OpenFirmwareUpdate();
  void CloseFirmwareUpdate();

  // --- presets, impulse responses, files ---
  void OpenCache(const std::filesystem::path& baseFolder);
  PresetCache* Cache() { return mCache.Get(); }
  void LoadCacheState();
  void ClearCacheData();
  void StoreCurrentPreset();
  const std::string& PresetRowLabel(int slot) const { return mMirror.RowLabel(slot); }
  void LoadUserIrWav(bool positionB);
  bool LoadWavIntoIr(int target, const std::string& wavPath);
  void ShowIr(int irValue);
  void RequestIrNames(int bank);
  void ExportPresetFile();
  void ImportPresetFile();
  void ExportBank();
  void ImportBank();
  // Files dropped from the desktop at (x, y), design units of the canvas.
  void DropFiles(const std::vector<std::string>& paths, float x, float y);
  void SetBankTransferPacing(TransferPacing pacing) { mBanks.SetPacing(pacing); }
  bool FactoryWriteRunning() const { return mBanks.FactoryWriteRunning(); }
  void UpdateFactoryPresets();
  void StartFirmwareUpdate();
  // The progress panel's Cancel and Escape: stops a synchronisation, an export or a safety
  // backup; false when none of them runs.
  bool CancelProgress();

  // --- IEditorDelegate ---
  int NParams() const override { return kNumParams; }
  double GetParamNormalized(int index) const override;
  void SetParameterValueFromUI(int index, double normalized) override;
  void BeginParamGesture(int index, bool wheel) override { mUndo.BeginGesture(index, wheel); }
  void EndParamGesture() override { mUndo.EndGesture(); }
  std::string GetParamDisplayText(int index, double normalized) const override;
  std::vector<std::string> GetParamValueTexts(int index) const override;
  std::string GetParamName(int index) const override;
  std::string GetParamReadout(int index, double normalized) const override;
  double GetParamDefaultNormalized(int index) const override;
  double GetParamStepNormalized(int index) const override;
  void DrainQueuedParamUpdates(const std::function<void(int, double)>& apply) override;

  DeviceSession session;
  ChecksumTable checksums;
  // The pedal's program map: incoming MIDI program number -> preset.
  std::array<uint8_t, 128> programMap{};
  MapsRead mapsRead;
  // The detail page shown (a kPage... number; kPageNone until the first switch).
  int currentPage = kPageNone;

 private:
  // The preset file into the current slot as one undo step; false when unreadable.
  bool ImportPresetFileFrom(const std::string& path);
  // A transfer, a synchronisation or a store runs that a slot write must not cut into.
  bool TransferRunning();

  ParamCatalogue mParams;
  SessionWatch mWatch;
  ScreenWriter mScreen;
  Outbox mOutbox{session, mWatch, mScreen};
  CacheKeeper mCache{mOutbox};
  // Outgoing packed groups, shared by the IR upload and the firmware stream.
  TransferBuffer mTransferBuffer;
  Pages mPages{mScreen, *this, mParams, session, currentPage};
  ImpulseResponses mIr;
  TemplatesAndFiles mFiles;
  PresetMirror mMirror;
  BankActivities mBanks;
  Overlays mOverlays;
  Connection mConnection;
  ChangeHandler mChange;
  PedalFace mFace;
  Dispatcher mDispatcher;
  DeviceTimer mTimer;
  UndoRedo mUndo;
  CompareStored mCompare;
  SlotOperations mSlots{{mScreen, mOutbox, session, mParams, mMirror, mUndo, mFiles, *this}};
  FileDrops mDrops{{mScreen, mOutbox, session, mParams, *this}};

  std::unique_ptr<ITimerHandle> mDeviceTimer;
  std::unique_ptr<ITimerHandle> mIdleTimer;
  std::mutex mQueueMutex;
  std::vector<std::pair<int, double>> mQueuedUpdates;
};

}  // namespace qd3
