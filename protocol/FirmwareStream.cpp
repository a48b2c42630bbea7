#include "protocol/FirmwareStream.h"

#include "protocol/MessageBuilders.h"

namespace qd3 {

FirmwareStream::FirmwareStream(DeviceSession& session, TransferBuffer& buffer)
    : mSession(session), mBuffer(buffer) {}

TransferStep FirmwareStream::Start(std::span<const uint8_t> image) {
  TransferStep step;
  if (image.size() >= kFirmwareFileSizeLimit) return step.Fail({});
  if (image.empty()) return step.Fail(kTextFirmwareEmpty);
  if (image.size() > kFirmwareImageMaxSize || mBuffer.Pack(image) != PackStatus::kPacked) {
    return step.Fail(kTextFirmwareTooLarge);
  }
  mStage = Stage::kAwaitingReady;
  mWatchdog.Rearm();
  return step.Send(BuildLoaderEnter());
}

TransferStep FirmwareStream::OnLoaderReady() {
  // Only the ready asked for: a late one, after "Nothing was sent", must stay true.
  if (mStage != Stage::kAwaitingReady) return {};
  mSession.firmwareMode = true;
  mStage = Stage::kStreaming;
  TransferStep step;
  step.overlay = ProgressOverlay::kShow;
  return step;
}

TransferStep FirmwareStream::OnLoaderDone() {
  mSession.firmwareMode = false;
  mSession.connected = false;
  const bool verdictAwaited = mStage == Stage::kAwaitingVerdict;
  mStage = Stage::kIdle;
  if (!verdictAwaited) return {};
  return TransferStep{}.Finish(kTextFirmwareFinished);
}

TransferStep FirmwareStream::OnLoaderFailed() {
  mSession.firmwareMode = false;
  mSession.connected = false;
  mStage = Stage::kIdle;
  return TransferStep{}.Fail(kTextUpdateFailed);
}

TransferStep FirmwareStream::OnTick() {
  TransferStep step;
  if (!mSession.firmwareMode) return step;
  const TransferChunk chunk = mBuffer.TakeNextLoaderChunk();
  if (chunk.kind == ChunkKind::kNone) {
    // Ready without an image packed (a second ready, say): nothing to stream.
    mSession.firmwareMode = false;
    return step;
  }
  step.Send(chunk.message);
  if (chunk.kind != ChunkKind::kLast) {
    return step.Progress(static_cast<double>(mBuffer.Position()) / mBuffer.Total());
  }
  mSession.firmwareMode = false;
  mStage = Stage::kAwaitingVerdict;
  mVerdictWatchdog.Rearm();
  return step.Progress(1.0);
}

TransferStep FirmwareStream::OnWatchTick() {
  if (mStage == Stage::kAwaitingVerdict) {
    if (mVerdictWatchdog.OnTick() != WatchdogVerdict::kGiveUp) return {};
    mStage = Stage::kIdle;
    mSession.connected = false;
    return TransferStep{}.Fail(kTextLoaderNoVerdict);
  }
  if (mStage != Stage::kAwaitingReady) return {};
  if (mWatchdog.OnTick() != WatchdogVerdict::kGiveUp) return {};
  mStage = Stage::kIdle;
  TransferStep step;
  step.overlay = ProgressOverlay::kHide;
  return step.Fail(kTextLoaderSilent);
}

}  // namespace qd3
