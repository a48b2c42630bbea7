#include "host/app/EditorApp.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "IGraphics.h"
#include "QD3Control.h"
#include "api/EmbeddedResources.h"
#include "gtk/GtkPlatformServices.h"
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

namespace qd3 {
namespace {

constexpr unsigned kDeviceTimerMs = 100;
constexpr unsigned kIdleTickMs = 20;
// Without a stream this pass drains the receive queues. 10 ms matches the pace of
// a 512-frame buffer at 48 kHz, so the four-message SysEx queue keeps up with the
// pedal the same way.

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
    : options_(options), base_(std::move(baseFolder)), instance_(instance), store_(base_) {}

EditorApp::~EditorApp() {
  Shutdown();
}

int EditorApp::Run() {
  reportFirstFrame_ = g_getenv("QD3_REPORT_FIRST_FRAME") != nullptr;
  CreateEditor();
  // The cache is open before any message can arrive: a modal box raised during
  // start-up runs the loop, and a synchronisation then must have a cache to fill.
  editor_->OpenCache(base_);
  editor_->LoadCacheState();
  store_.Load();
  audio_ = std::make_unique<AudioEngine>([this] {
    // Audio thread: the pedal's messages go to the UI thread in arrival order.
    ports_->DrainMidiQueues(
        [this](const uint8_t* bytes, size_t size) { incoming_.Push(bytes, size); });
  });
  if (!options_.demo) {
    if (!audio_->CreateApi(store_.Values().driver)) {
      std::fprintf(stderr, "qd3control: audio: %s\n", audio_->LastError().c_str());
    }
    audio_->Probe();
  }
  CreateMidi();
  incomingSource_ = g_unix_fd_add(
      incoming_.WakeFd(), G_IO_IN,
      [](gint, GIOCondition, gpointer app) -> gboolean {
        static_cast<EditorApp*>(app)->HandleIncoming();
        return G_SOURCE_CONTINUE;
      },
      this);
  editor_->RunAllChangeHandlers();
  StartAudio();

  CreateWindow();
  signalSources_[0] = g_unix_signal_add(SIGTERM, &OnStopSignal, this);
  signalSources_[1] = g_unix_signal_add(SIGINT, &OnStopSignal, this);
  if (instance_ && instance_->ListenFd() >= 0) {
    raiseSource_ = g_unix_fd_add(
        instance_->ListenFd(), G_IO_IN,
        [](gint, GIOCondition, gpointer app) -> gboolean {
          auto* self = static_cast<EditorApp*>(app);
          if (self->instance_->AcceptRaiseRequest()) self->RaiseWindow();
          return G_SOURCE_CONTINUE;
        },
        this);
  }

  gtk_main();
  Shutdown();
  return 0;
}

void EditorApp::CreateEditor() {
  {
    std::lock_guard lock(ConstructionMutex());
    editor_ = std::make_unique<QD3Control>();
  }
  QD3Control* editor = editor_.get();
  editor_->SetTimers(StartGlibTimer(kDeviceTimerMs, [editor] { editor->OnDeviceTimer(); }),
                     StartGlibTimer(kIdleTickMs, [editor] { editor->OnIdleTick(); }));
}

void EditorApp::CreateMidi() {
  IMidiPortSettings* portSettings = &store_;
  if (options_.demo) {
    sim::PedalState state = sim::DefaultPedalState();
    const std::filesystem::path statePath = base_ / kDemoStateFileName;
    if (std::filesystem::exists(statePath)) {
      const sim::StateFileStatus status = sim::LoadStateFile(statePath, state);
      if (status != sim::StateFileStatus::kOk) {
        std::fprintf(stderr, "qd3control: demo pedal %s %s; starting from the defaults\n",
                     statePath.c_str(), sim::DescribeStateFileStatus(status));
      }
    }
    auto link = std::make_unique<sim::SimulatedMidiLink>(
        sim::LinkOptions{sim::DeliveryMode::kPaced, {}}, std::move(state));
    demoLink_ = link.get();
    transport_ = std::move(link);
    demoPorts_ =
        std::make_unique<TransientPortSettings>(sim::kSimulatorPortName, sim::kSimulatorPortName);
    portSettings = demoPorts_.get();
  } else {
    transport_ = std::make_unique<RtMidiTransport>(store_.Values().driver);
  }
  ports_ = std::make_unique<MidiPorts>(*transport_, *portSettings);
  ports_->Start();
  MidiPorts* ports = ports_.get();
  editor_->SetDeviceMessageSink(
      [ports](std::span<const uint8_t> message) { ports->SendDeviceMessage(message); });
}

void EditorApp::StartAudio() {
  StopFallbackPass();
  runningAudio_ = store_.Values();
  if (options_.demo) {
    // The demo pedal needs neither a sound card nor a JACK server.
    StartFallbackPass();
    return;
  }
  bool namesChanged = false;
  const bool running = audio_->Start(store_.Values(), namesChanged);
  if (namesChanged) store_.Save();
  runningAudio_ = store_.Values();
  if (!running) {
    std::fprintf(stderr, "qd3control: no audio stream: %s\n", audio_->LastError().c_str());
    // The pedal stays usable without a sound card: our own pass drains instead,
    // already while the message box is up.
    StartFallbackPass();
    GtkPlatformServices(window_ ? GTK_WINDOW(window_) : nullptr)
        .ShowMessageBox(kSoundcardMessage, "Error", EMsgBoxType::OK);
  }
}

void EditorApp::StartFallbackPass() {
  if (fallbackSource_ != 0) return;
  // Woken by the MIDI input callback for every message it keeps, rather than
  // polling: an idle editor then costs no wake-ups here.
  if (fallbackWakeFd_ < 0) fallbackWakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (fallbackWakeFd_ < 0) {
    std::fprintf(stderr, "qd3control: eventfd: %s\n", std::strerror(errno));
    return;
  }
  ports_->Queues().SetWakeFd(fallbackWakeFd_);
  // Whatever arrived before the descriptor was set is drained on the first pass.
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(fallbackWakeFd_, &one, sizeof one);
  fallbackSource_ = g_unix_fd_add(
      fallbackWakeFd_, G_IO_IN,
      [](gint fd, GIOCondition, gpointer app) -> gboolean {
        auto* self = static_cast<EditorApp*>(app);
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = read(fd, &count, sizeof count);
        // The only consumer while no stream runs, on the UI thread itself.
        self->ports_->DrainMidiQueues([self](const uint8_t* bytes, size_t size) {
          self->editor_->HandleDeviceMessage(bytes, size);
        });
        return G_SOURCE_CONTINUE;
      },
      this);
}

void EditorApp::StopFallbackPass() {
  if (fallbackSource_ != 0) g_source_remove(fallbackSource_);
  fallbackSource_ = 0;
  if (ports_) ports_->Queues().SetWakeFd(-1);
  // The descriptor itself stays open until the ports are gone: a callback that
  // read it just before may still write to it.
}

void EditorApp::HandleIncoming() {
  incoming_.Drain([this](const uint8_t* bytes, size_t size) {
    if (editor_) editor_->HandleDeviceMessage(bytes, size);
  });
}

void EditorApp::CloseEditor() {
  if (closing_ || !window_) return;
  closing_ = true;
  editor_->EditorClosing();
  store_.File().WriteScale(graphics_->GetDrawScale());
  editor_->AttachScreen(nullptr);
  editor_->SetPlatformServices(nullptr);
  gtk_widget_destroy(window_);
  window_ = nullptr;
  gtk_main_quit();
}

void EditorApp::Shutdown() {
  for (unsigned& source : signalSources_) {
    if (source != 0) g_source_remove(source);
    source = 0;
  }
  if (raiseSource_ != 0) g_source_remove(raiseSource_);
  raiseSource_ = 0;
  if (window_) {
    // Ended without the window's close (start-up failed after it was shown).
    editor_->AttachScreen(nullptr);
    gtk_widget_destroy(window_);
    window_ = nullptr;
  }
  // Exiting flag first, so the input callback keeps nothing more; the stream
  // stops after its callback has finished the current buffer; then the input
  // callback is cancelled and the ports close.
  if (ports_) ports_->SetExiting();
  if (audio_) audio_->Stop();
  StopFallbackPass();
  if (ports_) ports_->Shutdown();
  if (incomingSource_ != 0) g_source_remove(incomingSource_);
  incomingSource_ = 0;
  graphics_.reset();
  // Its timers are stopped first thing in its destructor.
  editor_.reset();
  if (demoLink_) {
    const std::filesystem::path statePath = base_ / kDemoStateFileName;
    const sim::StateFileStatus status = demoLink_->pedal().SaveState(statePath);
    if (status != sim::StateFileStatus::kOk) {
      std::fprintf(stderr, "qd3control: demo pedal %s %s\n", statePath.c_str(),
                   sim::DescribeStateFileStatus(status));
    }
    demoLink_ = nullptr;
  }
  ports_.reset();
  if (fallbackWakeFd_ >= 0) close(fallbackWakeFd_);
  fallbackWakeFd_ = -1;
  transport_.reset();
  audio_.reset();
  platform_.reset();
}

// ---- Preferences -----------------------------------------------------------------------

void EditorApp::OpenPreferences() {
  PreferencesLogic logic(*this);
  RunPreferencesDialog(window_ ? GTK_WINDOW(window_) : nullptr, logic);
}

std::vector<std::string> EditorApp::PortList(MidiDirection direction) {
  return ports_->PortList(direction);
}

void EditorApp::SelectMidiPort(MidiDirection direction, const std::string& name) {
  ports_->SelectMidiPort(direction, name);
}

IMidiPortSettings& EditorApp::PortSettings() {
  return demoPorts_ ? static_cast<IMidiPortSettings&>(*demoPorts_) : store_;
}

AppSettings& EditorApp::Settings() {
  return store_.Values();
}

void EditorApp::RestartAudio() {
  if (audio_->Running()) audio_->Stop();
  StartAudio();
}

void EditorApp::ReinitialiseAudio() {
  StopFallbackPass();
  if (!options_.demo) {
    audio_->CreateApi(store_.Values().driver);
    audio_->Probe();
  }
  StartAudio();
}

void EditorApp::SaveSettings() {
  store_.Save();
}

// ---- Manual ------------------------------------------------------------------------------

void EditorApp::ReadManual() {
  const EmbeddedResource* manual = FindEmbeddedResourceById(kManualResourceId);
  const std::filesystem::path path =
      manual ? EnsureManualFile(base_, manual->bytes) : base_ / kManualFileName;
  if (platform_ && !platform_->OpenURL(path.string())) {
    std::fprintf(stderr, "qd3control: no viewer opened %s\n", path.c_str());
  }
}

}  // namespace qd3
