#include "host/app/EditorApp.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "QD3Control.h"
#include "host/JackPortWatcher.h"
#include "host/MidiPorts.h"
#include "host/RtMidiTransport.h"
#include "host/app/GlibTimer.h"
#include "host/app/ManualFile.h"
#include "host/app/MenuTable.h"
#include "host/app/PreferencesDialog.h"
#include "host/app/SingleInstance.h"
#include "simulator/DefaultState.h"
#include "simulator/SimulatedMidiLink.h"
#include "simulator/StateFile.h"
#include "toolkit/IGraphics.h"
#include "toolkit/api/EmbeddedResources.h"
#include "toolkit/gtk/GtkPlatformServices.h"

namespace qd3 {
namespace {

constexpr unsigned kDeviceTimerMs = 100;
constexpr unsigned kIdleTickMs = 20;
// ALSA tells nobody when ports come and go: its list is looked at once a
// second, on every tenth device tick.
constexpr unsigned kPortLookTicks = 10;
constexpr char kSoundcardMessage[] = "Please check your soundcard settings in Preferences";

// The editor object is built under one process-wide lock.
std::mutex& ConstructionMutex() {
  static std::mutex mutex;
  return mutex;
}

gboolean OnStopSignal(gpointer app) {
  static_cast<EditorApp*>(app)->CloseEditor();
  return G_SOURCE_CONTINUE;
}

}  // namespace

EditorApp::EditorApp(AppOptions options, std::filesystem::path baseFolder, SingleInstance* instance)
    : mOptions(options), mBase(std::move(baseFolder)), mInstance(instance), mStore(mBase) {}

EditorApp::~EditorApp() {
  Shutdown();
}

int EditorApp::Run() {
  mReportFirstFrame = g_getenv("QD3_REPORT_FIRST_FRAME") != nullptr;
  CreateEditor();
  // The cache is open before any message can arrive: a modal box raised during
  // start-up runs the loop, and a synchronisation then must have a cache to fill.
  mEditor->OpenCache(mBase);
  mEditor->LoadCacheState();
  mStore.Load();
  mAudio = std::make_unique<AudioEngine>([this] {
    // Audio thread: the pedal's messages go to the UI thread in arrival order.
    mPorts->DrainMidiQueues(
        [this](const uint8_t* bytes, size_t size) { mIncoming.Push(bytes, size); });
  });
  if (!mOptions.demo) {
    if (!mAudio->CreateApi(mStore.Values().driver)) {
      std::fprintf(stderr, "qd3control: audio: %s\n", mAudio->LastError().c_str());
    }
    mAudio->Probe();
  }
  CreateMidi();
  mIncomingSource = g_unix_fd_add(
      mIncoming.WakeFd(), G_IO_IN,
      [](gint, GIOCondition, gpointer app) -> gboolean {
        static_cast<EditorApp*>(app)->HandleIncoming();
        return G_SOURCE_CONTINUE;
      },
      this);
  mEditor->RunAllChangeHandlers();
  StartAudio();

  CreateWindow();
  mSignalSources[0] = g_unix_signal_add(SIGTERM, &OnStopSignal, this);
  mSignalSources[1] = g_unix_signal_add(SIGINT, &OnStopSignal, this);
  if (mInstance && mInstance->ListenFd() >= 0) {
    mRaiseSource = g_unix_fd_add(
        mInstance->ListenFd(), G_IO_IN,
        [](gint, GIOCondition, gpointer app) -> gboolean {
          auto* self = static_cast<EditorApp*>(app);
          if (self->mInstance->AcceptRaiseRequest()) self->RaiseWindow();
          return G_SOURCE_CONTINUE;
        },
        this);
  }

  if (!mOptions.screenshotPath.empty()) StartScreenshotWatch();

  gtk_main();
  Shutdown();
  return mScreenshotFailed ? 1 : 0;
}

void EditorApp::CreateEditor() {
  {
    std::lock_guard lock(ConstructionMutex());
    mEditor = std::make_unique<QD3Control>();
  }
  // One wake-up serves both when the device timer is due, but each has its own
  // source: a message box raised by the idle tick runs a nested loop in which the
  // device timer goes on polling and serving transfers.
  // The idle tick keeps its 20 ms only while the editor has something for it (a held
  // switch, blinking, a pending message) or the canvas is busy; otherwise it runs
  // with the device timer, and an idle editor wakes ten times a second.
  TimerPair timers = StartGlibTimerPair(
      kIdleTickMs, kDeviceTimerMs / kIdleTickMs, [this] { OnIdleTick(); },
      [this] { OnDeviceTick(); },
      [this] { return mEditor->IdleTickNeeded() || (mGraphics && !mGraphics->IsIdle()); });
  mHurryIdleTick = std::move(timers.hurry);
  mEditor->SetTimers(std::move(timers.slow), std::move(timers.fast));
}

void EditorApp::OnDeviceTick() {
  mEditor->OnDeviceTimer();
  if (mPollAlsaPorts && ++mDeviceTicks >= kPortLookTicks) {
    mDeviceTicks = 0;
    RefreshPorts();
  }
  WakeScreen();
}

void EditorApp::OnIdleTick() {
  mEditor->OnIdleTick();
  WakeScreen();
}

void EditorApp::HurryIdleTick() {
  if (mHurryIdleTick) mHurryIdleTick();
}

void EditorApp::WakeScreen() {
  if (mGraphics && !mClosing) mGraphics->DrainParamUpdates();
}

void EditorApp::CreateMidi() {
  IMidiPortSettings* portSettings = &mStore;
  if (mOptions.demo) {
    sim::PedalState state = sim::DefaultPedalState();
    const std::filesystem::path statePath = mBase / kDemoStateFileName;
    // A damaged file is kept as ".bad": the save at exit would otherwise replace it.
    const sim::StartLoad load = sim::LoadStateFileAtStart(statePath, state);
    if (!load.setAside.empty()) {
      std::fprintf(stderr, "qd3control: demo pedal %s %s, kept as %s; starting from the defaults\n",
                   statePath.c_str(), sim::DescribeStateFileStatus(load.status),
                   load.setAside.c_str());
    }
    auto link = std::make_unique<sim::SimulatedMidiLink>(
        sim::LinkOptions{sim::DeliveryMode::kPaced, {}}, std::move(state));
    mDemoLink = link.get();
    mTransport = std::move(link);
    mDemoPorts =
        std::make_unique<TransientPortSettings>(sim::kSimulatorPortName, sim::kSimulatorPortName);
    portSettings = mDemoPorts.get();
  } else {
    auto rtMidi = std::make_unique<RtMidiTransport>(mStore.Values().driver);
    mRtMidi = rtMidi.get();
    if (!rtMidi->HasPort(MidiDirection::kInput) && !rtMidi->HasPort(MidiDirection::kOutput)) {
      // The editor still runs (files, the cache, the demo's settings); the
      // pedal cannot be reached until a MIDI system is there at the next start.
      std::fprintf(stderr, "qd3control: no MIDI system (neither the ALSA sequencer nor JACK): %s\n",
                   rtMidi->LastError().c_str());
    }
    mTransport = std::move(rtMidi);
  }
  mPorts = std::make_unique<MidiPorts>(*mTransport, *portSettings);
  mPorts->Start();
  MidiPorts* ports = mPorts.get();
  mEditor->SetDeviceMessageSink(
      [ports](std::span<const uint8_t> message) { ports->SendDeviceMessage(message); });
  StartPortWatch();
}

void EditorApp::StartAudio() {
  StopFallbackPass();
  mRunningAudio = mStore.Values();
  if (mOptions.demo) {
    // The demo pedal needs neither a sound card nor a JACK server.
    StartFallbackPass();
    return;
  }
  bool namesChanged = false;
  const bool running = mAudio->Start(mStore.Values(), namesChanged);
  if (namesChanged) mStore.Save();
  mRunningAudio = mStore.Values();
  if (!running) {
    std::fprintf(stderr, "qd3control: no audio stream: %s\n", mAudio->LastError().c_str());
    // The pedal stays usable without a sound card: our own pass drains instead,
    // already while the message box is up.
    StartFallbackPass();
    GtkPlatformServices(mWindow ? GTK_WINDOW(mWindow) : nullptr)
        .ShowMessageBox(kSoundcardMessage, "Error", EMsgBoxType::OK);
  }
}

void EditorApp::StartFallbackPass() {
  if (mFallbackSource != 0) return;
  // Woken by the MIDI input callback for every message it keeps, rather than
  // polling: an idle editor then costs no wake-ups here.
  if (mFallbackWakeFd < 0) mFallbackWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (mFallbackWakeFd < 0) {
    std::fprintf(stderr, "qd3control: eventfd: %s\n", std::strerror(errno));
    return;
  }
  mPorts->Queues().SetWakeFd(mFallbackWakeFd);
  // Whatever arrived before the descriptor was set is drained on the first pass.
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(mFallbackWakeFd, &one, sizeof one);
  mFallbackSource = g_unix_fd_add(
      mFallbackWakeFd, G_IO_IN,
      [](gint fd, GIOCondition, gpointer app) -> gboolean {
        auto* self = static_cast<EditorApp*>(app);
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = read(fd, &count, sizeof count);
        // The only consumer while no stream runs, on the UI thread itself.
        self->mPorts->DrainMidiQueues([self](const uint8_t* bytes, size_t size) {
          self->mEditor->HandleDeviceMessage(bytes, size);
        });
        self->ReportDroppedInput();
        self->WakeScreen();
        return G_SOURCE_CONTINUE;
      },
      this);
}

void EditorApp::StopFallbackPass() {
  if (mFallbackSource != 0) g_source_remove(mFallbackSource);
  mFallbackSource = 0;
  if (mPorts) mPorts->Queues().SetWakeFd(-1);
  // The descriptor itself stays open until the ports are gone: a callback that
  // read it just before may still write to it.
}

void EditorApp::HandleIncoming() {
  mIncoming.Drain([this](const uint8_t* bytes, size_t size) {
    if (mEditor) mEditor->HandleDeviceMessage(bytes, size);
  });
  // Here rather than in the audio thread's pass, which must not print.
  ReportDroppedInput();
  WakeScreen();
}

void EditorApp::ReportDroppedInput() {
  if (!mPorts) return;
  mPorts->ReportDroppedInput();
  if (mEditor)
    mEditor->NoteDroppedInput(mPorts->Queues().DroppedSysexCount() + mIncoming.Dropped());
}

void EditorApp::CloseEditor() {
  if (mClosing || !mWindow) return;
  mClosing = true;
  mEditor->EditorClosing();
  // A screenshot's fixed scale is not the player's choice.
  if (mOptions.screenshotPath.empty()) mStore.File().WriteScale(mGraphics->GetDrawScale());
  mEditor->AttachScreen(nullptr);
  mEditor->SetPlatformServices(nullptr);
  gtk_widget_destroy(mWindow);
  mWindow = nullptr;
  gtk_main_quit();
}

void EditorApp::Shutdown() {
  for (unsigned& source : mSignalSources) {
    if (source != 0) g_source_remove(source);
    source = 0;
  }
  if (mRaiseSource != 0) g_source_remove(mRaiseSource);
  mRaiseSource = 0;
  if (mScreenshotSource != 0) g_source_remove(mScreenshotSource);
  mScreenshotSource = 0;
  if (mWindow) {
    // Ended without the window's close (start-up failed after it was shown).
    mEditor->AttachScreen(nullptr);
    gtk_widget_destroy(mWindow);
    mWindow = nullptr;
  }
  // Exiting flag first, so the input callback keeps nothing more; the stream
  // stops after its callback has finished the current buffer; then the input
  // callback is cancelled and the ports close.
  StopPortWatch();
  if (mPorts) mPorts->SetExiting();
  if (mAudio) mAudio->Stop();
  StopFallbackPass();
  if (mPorts) mPorts->Shutdown();
  if (mIncomingSource != 0) g_source_remove(mIncomingSource);
  mIncomingSource = 0;
  mGraphics.reset();
  // Its timers are stopped first thing in its destructor.
  mEditor.reset();
  if (mDemoLink) {
    const std::filesystem::path statePath = mBase / kDemoStateFileName;
    const sim::StateFileStatus status = mDemoLink->Pedal().SaveState(statePath);
    if (status != sim::StateFileStatus::kOk) {
      std::fprintf(stderr, "qd3control: demo pedal %s %s\n", statePath.c_str(),
                   sim::DescribeStateFileStatus(status));
    }
    mDemoLink = nullptr;
  }
  mPorts.reset();
  if (mFallbackWakeFd >= 0) close(mFallbackWakeFd);
  mFallbackWakeFd = -1;
  mRtMidi = nullptr;
  mTransport.reset();
  mAudio.reset();
  mPlatform.reset();
}

// ---- Preferences -----------------------------------------------------------------------

void EditorApp::OpenPreferences() {
  PreferencesLogic logic(*this);
  RunPreferencesDialog(mWindow ? GTK_WINDOW(mWindow) : nullptr, logic, mPortsChanged);
}

std::vector<std::string> EditorApp::PortList(MidiDirection direction) {
  return mPorts->PortList(direction);
}

void EditorApp::SelectMidiPort(MidiDirection direction, const std::string& name) {
  mPorts->SelectMidiPort(direction, name);
  // Another port is another pedal, or none ("off"): the one known so far is gone.
  if (mEditor) {
    mEditor->Reconnect();
    WakeScreen();
  }
}

IMidiPortSettings& EditorApp::PortSettings() {
  return mDemoPorts ? static_cast<IMidiPortSettings&>(*mDemoPorts) : mStore;
}

AppSettings& EditorApp::Settings() {
  return mStore.Values();
}

void EditorApp::RestartAudio() {
  if (mAudio->Running()) mAudio->Stop();
  StartAudio();
}

void EditorApp::ReinitialiseAudio() {
  StopFallbackPass();
  if (!mOptions.demo) {
    mAudio->CreateApi(mStore.Values().driver);
    mAudio->Probe();
  }
  StartAudio();
}

void EditorApp::SaveSettings() {
  mStore.Save();
}

// ---- Manual ------------------------------------------------------------------------------

void EditorApp::ReadManual() {
  const EmbeddedResource* manual = FindEmbeddedResourceById(kManualResourceId);
  const std::filesystem::path path =
      manual ? EnsureManualFile(mBase, manual->bytes) : mBase / kManualFileName;
  if (mPlatform && !mPlatform->OpenURL(path.string())) {
    std::fprintf(stderr, "qd3control: no viewer opened %s\n", path.c_str());
  }
}

}  // namespace qd3
