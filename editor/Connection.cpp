#include "editor/Connection.h"

#include <cstdio>
#include <utility>

#include "protocol/Handshake.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "settings/GlobalSettingsBlock.h"
#include "settings/MidiMapBlocks.h"

namespace qd3 {
namespace {

// A global-settings block seen before the pedal is connected carries these three at
// message bytes 19..21 (d11..d13).
constexpr int kGlobalSoftClipByte = 19;
constexpr int kFirstHardwareParam = 33;  // "Soft Clipping", "AnalogSim Gain", "Anti-aliasing"

}  // namespace

void Connection::Poll() {
  if (PollDue(mNeeds.session)) mNeeds.outbox.Send(BuildRequestBlock(kBlockDeviceInfo));
}

void Connection::ServeSessionWatch() {
  TransferStep step = mNeeds.watch.OnTick();
  if (step.end == TransferEnd::kFailed) {
    Lost(std::move(step));
  } else {
    mNeeds.outbox.Apply(step);
  }
}

void Connection::Lost(TransferStep step) {
  // Said once per loss: a pedal that answers the poll and then nothing else would
  // otherwise be reported again on every round of looking for it.
  if (std::exchange(mLossReported, true)) step.message.clear();
  mNeeds.outbox.Apply(step);
  // The pedal is gone or deaf: look for it again, as RECONNECT does.
  Reconnect();
}

void Connection::Reconnect() {
  mNeeds.watch.Clear();
  mNeeds.session.connected = false;
  mNeeds.session.pollEnabled = true;
  ScreenWriter& screen = mNeeds.screen;
  if (!screen.IsOpen()) return;
  screen.SetText(kTagDeviceLine, "");
  screen.SetText(kTagVersionLine, kTextConnecting);
  screen.SetText(kTagSerialLine, "");
  screen.EnableGroup(group::kNeedsPedal, false);
  screen.ShowGroup(group::kProgress, false);
}

void Connection::EditorClosing() {
  if (mNeeds.session.connected) mNeeds.outbox.Send(BuildEditorClosing());
}

void Connection::OnDataBlockUnconnected(std::span<const uint8_t> m) {
  ScreenWriter& screen = mNeeds.screen;
  const int version = *ReadVersion(m);
  const int type = m[kSelectorOffset];
  char versionText[32];
  std::snprintf(versionText, sizeof versionText, kTextVersionLine,
                version / static_cast<double>(kVersionTenths));
  screen.SetText(kTagDeviceLine, kTextDeviceLine);
  screen.SetText(kTagVersionLine, versionText);
  screen.EnableGroup(group::kNeedsPedal, true);

  if (std::optional<std::string> refusal = FirmwareVersionRefusal(version)) {
    mNeeds.outbox.Post(std::move(*refusal));
    return;
  }
  if (!VerifyRecordChecksum(m)) return;

  if (type == kBlockDeviceInfo) {
    mNeeds.session.connected = true;
    mNeeds.watch.Clear();
    const std::string serial = ReadSerialNumber(m);
    screen.SetText(kTagSerialLine, kTextSerialLine + serial);
    if (mConnected) mConnected(serial);
    mNeeds.outbox.Send(BuildRequestBlock(kBlockPresetChecksums));
  } else if (type == kBlockGlobalSettings) {
    for (int i = 0; i < 3; ++i) {
      SetParameterFromBlock(kFirstHardwareParam + i, m[kGlobalSoftClipByte + i]);
    }
  }
}

void Connection::OnGlobalSettings(std::span<const uint8_t> m) {
  mNeeds.watch.Answered(SessionRequest::kGlobalSettings);
  mLossReported = false;
  const auto data = ReadRecordData(m);
  if (!data) return;
  const ReceivedGlobalSettings received = DecodeGlobalSettings(*data);
  DeviceSession& session = mNeeds.session;
  session.applyingDeviceValues = true;
  for (const auto& value : received.values) SetParameterFromBlock(value.param, value.raw);
  session.applyingDeviceValues = false;
  // The pedal's current preset goes into the edit buffer.
  mNeeds.outbox.Send(BuildBulkEnd());
  const Bytes request = BuildRequestPreset(received.currentPreset);
  mNeeds.outbox.Send(request);
  mNeeds.watch.Sent(SessionRequest::kCurrentPreset, request);
}

void Connection::OnControllerMap(std::span<const uint8_t> m) {
  mNeeds.watch.Answered(SessionRequest::kControllerMap);
  const auto data = ReadRecordData(m);
  if (!data) return;
  const KnobControllers controllers = DecodeControllerMap(*data);
  mNeeds.mapsRead.controller = true;
  for (size_t k = 0; k < controllers.size(); ++k) {
    SetParameterFromBlock(kFirstKnobControllerParam + static_cast<int>(k), controllers[k]);
  }
}

void Connection::OnProgramMap(std::span<const uint8_t> m) {
  mNeeds.watch.Answered(SessionRequest::kProgramMap);
  const auto data = ReadRecordData(m);
  if (!data) return;
  mNeeds.programMap = DecodeProgramMap(*data);
  mNeeds.mapsRead.program = true;
  // The second box follows the map whether or not a window shows it.
  const auto program = static_cast<size_t>(mNeeds.params[kParamControllerProgram].Raw());
  mNeeds.writer.SetParameterValue(kParamDeviceProgram, mNeeds.programMap[program] / 127.0);
}

void Connection::SetParameterFromBlock(int index, int raw) {
  // Blocks carry raw values normalized against the maximum alone.
  mNeeds.writer.SetParameterValue(index, raw / mNeeds.params[index].Info().max);
}

void Connection::OnParamEcho(std::span<const uint8_t> m) {
  const auto echo = ReadParamEcho(m);
  // The index is the catalogue's own; anything outside it is dropped.
  if (!echo || echo->index < 0 || echo->index >= kNumParams) return;
  const IParam& param = mNeeds.params[echo->index];
  // Restored, not cleared: an echo before the first settings block or synchronisation
  // must not let the player's edits out early.
  DeviceSession& session = mNeeds.session;
  const bool applying = session.applyingDeviceValues;
  session.applyingDeviceValues = true;
  mNeeds.writer.SetParameterValue(echo->index, param.ToNormalized(echo->raw));
  session.applyingDeviceValues = applying;
}

}  // namespace qd3
