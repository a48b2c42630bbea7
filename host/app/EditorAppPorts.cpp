// EditorApp's watch over the MIDI ports: when the stored port vanishes (the
// pedal unplugged, or the peer's JACK client gone) and comes back under the
// same name, it is reopened and the editor polls the pedal again, showing
// "Connecting to the device..." meanwhile. The "Preferences" lists follow.
#include <glib-unix.h>
#include <glib.h>

#include <cstdio>

#include "QD3Control.h"
#include "host/JackPortWatcher.h"
#include "host/MidiPorts.h"
#include "host/RtMidiTransport.h"
#include "host/app/EditorApp.h"

namespace qd3 {
namespace {

// A JACK client registers its ports one after the other: the lists are read
// once they have settled, not on every event.
constexpr unsigned kJackSettleMs = 100;

bool UsesJack(const RtMidiTransport& transport) {
  return transport.Api(MidiDirection::kInput) == MidiApi::kJack ||
         transport.Api(MidiDirection::kOutput) == MidiApi::kJack;
}

}  // namespace

void EditorApp::StartPortWatch() {
  if (!mRtMidi) return;  // the demo pedal's ports never change
  if (!UsesJack(*mRtMidi)) {
    mPollAlsaPorts =
        mRtMidi->HasPort(MidiDirection::kInput) || mRtMidi->HasPort(MidiDirection::kOutput);
    return;
  }
  mJackWatcher = std::make_unique<JackPortWatcher>();
  if (!mJackWatcher->Start()) {
    // The server went between choosing JACK and now; nothing will come back.
    mJackWatcher.reset();
    return;
  }
  mJackWatchSource = g_unix_fd_add(
      mJackWatcher->WakeFd(), G_IO_IN,
      [](gint, GIOCondition, gpointer app) -> gboolean {
        static_cast<EditorApp*>(app)->OnPortEvent();
        return G_SOURCE_CONTINUE;
      },
      this);
}

void EditorApp::StopPortWatch() {
  mPollAlsaPorts = false;
  if (mRefreshSource != 0) g_source_remove(mRefreshSource);
  mRefreshSource = 0;
  if (mJackWatchSource != 0) g_source_remove(mJackWatchSource);
  mJackWatchSource = 0;
  mJackWatcher.reset();
}

void EditorApp::OnPortEvent() {
  mJackWatcher->Consume();
  if (mRefreshSource != 0) return;
  mRefreshSource = g_timeout_add(
      kJackSettleMs,
      [](gpointer app) -> gboolean {
        auto* self = static_cast<EditorApp*>(app);
        self->mRefreshSource = 0;
        self->RefreshPorts();
        return G_SOURCE_REMOVE;
      },
      this);
}

void EditorApp::RefreshPorts() {
  if (!mPorts || mClosing) return;
  const MidiPorts::PortRefresh result = mPorts->RefreshPorts();
  if (result.vanished) {
    std::fprintf(stderr, "qd3control: MIDI port gone\n");
    mEditor->Reconnect();
    WakeScreen();
  }
  if (result.reopened) {
    std::fprintf(stderr, "qd3control: MIDI port back, reconnecting\n");
    mEditor->Reconnect();
    WakeScreen();
  }
  if (result.listsChanged && mPortsChanged) mPortsChanged();
}

std::string EditorApp::PortApiName() const {
  if (!mRtMidi) return {};
  const MidiApi api = mRtMidi->Api(MidiDirection::kInput) != MidiApi::kNone
                          ? mRtMidi->Api(MidiDirection::kInput)
                          : mRtMidi->Api(MidiDirection::kOutput);
  return MidiApiName(api);
}

}  // namespace qd3
