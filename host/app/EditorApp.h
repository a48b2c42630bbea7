#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "host/app/AppArgs.h"
#include "host/app/AppSettings.h"
#include "host/app/AudioEngine.h"
#include "host/app/IncomingSysexQueue.h"
#include "host/app/PreferencesLogic.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkWindow GtkWindow;

namespace qd3 {

class IGraphics;
class IMidiTransport;
class JackPortWatcher;
class RtMidiTransport;
class GtkPlatformServices;
class MidiPorts;
class QD3Control;
class SingleInstance;
class TransientPortSettings;

namespace sim {
class SimulatedMidiLink;
}

// The desktop application around the editor: start-up in its fixed order, the
// main window with its menu bar and canvas, the "Preferences" dialog, the audio
// stream (or the fallback pass that replaces it) and the orderly close.
class EditorApp final : private IPreferencesHost {
 public:
  // `instance` (optional) is the single-instance guard whose raise requests the
  // window answers; it must outlive the application.
  EditorApp(AppOptions options, std::filesystem::path baseFolder, SingleInstance* instance);
  ~EditorApp() override;
  EditorApp(const EditorApp&) = delete;
  EditorApp& operator=(const EditorApp&) = delete;

  // Runs everything up to and including the message loop. Returns the process's
  // exit code.
  int Run();

  // The close box, "Quit", SIGTERM and SIGINT all end here: the editor says
  // goodbye to the pedal, the scale is stored, the window goes and the loop ends.
  void CloseEditor();
  // Menu entries.
  void OnMenuEntry(size_t entryIndex);
  // The label of an Edit menu entry as the history names its step ("Undo Drive change");
  // empty while there is no step, and the entry is dimmed.
  std::string EditMenuLabel(size_t entryIndex) const;
  void OpenPreferences();
  void ReadManual();
  void RaiseWindow();

 private:
  // Start-up steps.
  void CreateEditor();
  void CreateMidi();
  void StartAudio();
  void StartFallbackPass();
  void StopFallbackPass();
  void CreateWindow();
  void Shutdown();

  // The handling of the pedal's messages on the UI thread.
  void HandleIncoming();
  // Prints the first drop of incoming messages and tells the editor the running count.
  void ReportDroppedInput();
  // The 100 ms device timer: the editor's tick, then the host's own duties
  // that need no timer of their own (the ALSA port look, the frame wake).
  void OnDeviceTick();
  void OnIdleTick();
  // Back to the idle tick's full rate at once.
  void HurryIdleTick();
  // After each editor entry point: values the editor queued for the controls
  // reach them now, which wakes the stopped frame clock when anything changed.
  void WakeScreen();

  // Ports coming and going (EditorAppPorts.cpp): JACK's registration events,
  // or a look at ALSA's list once a second; a stored port that is back is
  // reopened and the editor reconnects as after "RECONNECT".
  void StartPortWatch();
  void StopPortWatch();
  void OnPortEvent();
  void RefreshPorts();

  // IPreferencesHost
  std::vector<std::string> PortList(MidiDirection direction) override;
  void SelectMidiPort(MidiDirection direction, const std::string& name) override;
  IMidiPortSettings& PortSettings() override;
  AppSettings& Settings() override;
  const AppSettings& RunningAudioSettings() const override { return mRunningAudio; }
  void RestartAudio() override;
  void ReinitialiseAudio() override;
  void SaveSettings() override;
  std::string PortApiName() const override;

  AppOptions mOptions;
  std::filesystem::path mBase;
  SingleInstance* mInstance;
  unsigned mRaiseSource = 0;
  SettingsStore mStore;
  AppSettings mRunningAudio;
  std::unique_ptr<QD3Control> mEditor;
  std::unique_ptr<IMidiTransport> mTransport;
  RtMidiTransport* mRtMidi = nullptr;           // mTransport unless in demo mode
  sim::SimulatedMidiLink* mDemoLink = nullptr;  // mTransport in demo mode
  std::unique_ptr<TransientPortSettings> mDemoPorts;
  std::unique_ptr<MidiPorts> mPorts;
  IncomingSysexQueue mIncoming;
  std::unique_ptr<AudioEngine> mAudio;
  std::unique_ptr<GtkPlatformServices> mPlatform;
  std::unique_ptr<IGraphics> mGraphics;
  GtkWidget* mWindow = nullptr;
  unsigned mFallbackSource = 0;
  int mFallbackWakeFd = -1;  // eventfd the MIDI callback writes to
  unsigned mIncomingSource = 0;
  unsigned mSignalSources[2] = {0, 0};
  std::unique_ptr<JackPortWatcher> mJackWatcher;
  unsigned mJackWatchSource = 0;
  unsigned mRefreshSource = 0;  // the settle delay after a JACK event
  bool mPollAlsaPorts = false;
  unsigned mDeviceTicks = 0;
  std::function<void()> mHurryIdleTick;
  std::function<void()> mPortsChanged;  // set while the preferences are open
  bool mClosing = false;
  bool mReportFirstFrame = false;
  // --screenshot: polls until the editor is settled, then writes and closes.
  void StartScreenshotWatch();
  bool ScreenshotTick();
  unsigned mScreenshotSource = 0;
  int mScreenshotQuietTicks = 0;
  int mScreenshotTicks = 0;
  bool mScreenshotFailed = false;
};

}  // namespace qd3
