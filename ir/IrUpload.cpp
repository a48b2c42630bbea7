#include "ir/IrUpload.h"

namespace qd3 {
namespace {

double Fraction(int done, int total) {
  return total > 0 ? static_cast<double>(done) / total : 0.0;
}

}  // namespace

PackStatus IrUpload::Start(int irNumber, std::span<const uint8_t> image, bool connected) {
  mPhase = Phase::kIdle;
  mSession.irUploadNext = false;
  const PackStatus status = mBuffer.Pack(image);
  if (status != PackStatus::kPacked) return status;
  mImage.assign(image.begin(), image.end());
  mIrNumber = irNumber;
  mWatchdog.Rearm();
  if (connected) {
    mPhase = Phase::kSending;
    mSession.irUploadNext = true;
  }
  return status;
}

TransferStep IrUpload::OnTick() {
  switch (mPhase) {
    case Phase::kIdle:
      return {};
    case Phase::kSending:
      return mSession.irUploadNext ? SendNextChunk() : TransferStep{};
    case Phase::kAwaitFirstAck:
      if (mSession.irUploadNext) return SendNextChunk();
      break;
    case Phase::kAwaitStored:
      break;
  }
  switch (mWatchdog.OnTick()) {
    case WatchdogVerdict::kWait:
      return {};
    case WatchdogVerdict::kRetry:
      return Restart();
    case WatchdogVerdict::kGiveUp:
      break;
  }
  mPhase = Phase::kIdle;
  mSession.irUploadNext = false;
  TransferStep step;
  step.Progress(0.0, ProgressOverlay::kHide);
  return step.Fail(kTextIrUploadNoAnswer);
}

void IrUpload::OnChunkAck() {
  // The acknowledgement is the permission the session keeps; only the first chunk waits
  // for it, so at any other time it releases nothing (the phase decides what is sent).
  mSession.irUploadNext = true;
  if (mPhase == Phase::kAwaitFirstAck) mWatchdog.RestartWait();
}

TransferStep IrUpload::OnStored() {
  if (mPhase != Phase::kAwaitStored) return {};
  mPhase = Phase::kIdle;
  return TransferStep{}.Finish();
}

void IrUpload::OnRefused() {
  if (mPhase == Phase::kIdle) return;
  mPhase = Phase::kIdle;
  mSession.irUploadNext = false;
}

TransferStep IrUpload::Restart() {
  mBuffer.Pack(mImage);
  mWatchdog.RestartWait();
  return SendNextChunk();
}

TransferStep IrUpload::SendNextChunk() {
  TransferChunk chunk = mBuffer.TakeNextIrChunk(mIrNumber);
  TransferStep step;
  switch (chunk.kind) {
    case ChunkKind::kNone:
      mPhase = Phase::kIdle;
      mSession.irUploadNext = false;
      return step;
    case ChunkKind::kFirst:
      mSession.irUploadNext = false;
      mPhase = Phase::kAwaitFirstAck;
      mWatchdog.RestartWait();
      step.Progress(Fraction(mBuffer.Position(), mBuffer.Total()), ProgressOverlay::kShow);
      break;
    case ChunkKind::kMiddle:
      mPhase = Phase::kSending;
      step.Progress(Fraction(mBuffer.Position(), mBuffer.Total()));
      break;
    case ChunkKind::kLast:
      mSession.irUploadNext = false;
      mPhase = Phase::kAwaitStored;
      mWatchdog.RestartWait();
      step.Progress(0.0, ProgressOverlay::kHide);
      break;
  }
  return step.Send(std::move(chunk.message));
}

}  // namespace qd3
