#pragma once

#include <filesystem>
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

  // IPreferencesHost
  std::vector<std::string> PortList(MidiDirection direction) override;
  void SelectMidiPort(MidiDirection direction, const std::string& name) override;
  IMidiPortSettings& PortSettings() override;
  AppSettings& Settings() override;
  const AppSettings& RunningAudioSettings() const override { return runningAudio_; }
  void RestartAudio() override;
  void ReinitialiseAudio() override;
  void SaveSettings() override;

  AppOptions options_;
  std::filesystem::path base_;
  SingleInstance* instance_;
  unsigned raiseSource_ = 0;
  SettingsStore store_;
  AppSettings runningAudio_;
  std::unique_ptr<QD3Control> editor_;
  std::unique_ptr<IMidiTransport> transport_;
  sim::SimulatedMidiLink* demoLink_ = nullptr;  // transport_ in demo mode
  std::unique_ptr<TransientPortSettings> demoPorts_;
  std::unique_ptr<MidiPorts> ports_;
  IncomingSysexQueue incoming_;
  std::unique_ptr<AudioEngine> audio_;
  std::unique_ptr<GtkPlatformServices> platform_;
  std::unique_ptr<IGraphics> graphics_;
  GtkWidget* window_ = nullptr;
  unsigned fallbackSource_ = 0;
  int fallbackWakeFd_ = -1;  // eventfd the MIDI callback writes to
  unsigned incomingSource_ = 0;
  unsigned signalSources_[2] = {0, 0};
  bool closing_ = false;
  bool reportFirstFrame_ = false;
};

}  // namespace qd3
