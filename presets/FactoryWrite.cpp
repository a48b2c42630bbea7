#include "presets/FactoryWrite.h"

#include <algorithm>
#include <cstdio>

#include "presets/BankImport.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

constexpr double kTenths = 10.0;
constexpr std::size_t kTextBufferSize = 160;

}  // namespace

std::optional<std::string> FactoryBankVersionWarning(std::span<const uint8_t> bank) {
  if (bank.size() <= kVersionOffset || bank[kVersionOffset] == kFactoryBankVersion) {
    return std::nullopt;
  }
  char text[kTextBufferSize];
  const float version = static_cast<float>(bank[kVersionOffset] / kTenths);
  std::snprintf(text, sizeof text, kTextFactoryVersionFormat, static_cast<double>(version));
  return std::string(text);
}

void SetFactoryBankVersion(std::span<uint8_t> bank) {
  for (std::size_t i = 0; i + kVersionOffset < bank.size(); ++i) {
    if (bank[i] == kSysExStart) bank[i + kVersionOffset] = kFactoryBankVersion;
  }
}

FactoryWrite::FactoryWrite(DeviceSession& session) : mSession(session) {}

TransferStep FactoryWrite::Start(std::span<const uint8_t> bank) {
  TransferStep step;
  mBank.assign(bank.begin(), bank.end());
  mMessages = BankMessages(mBank);
  if (mMessages.empty()) {
    mStage = Stage::kIdle;
    return step.Fail(kTextFactoryBankEmpty);
  }
  mSession.factoryTotal = static_cast<int>(mMessages.size());
  mSession.factoryIndex = 0;
  mSession.bulkBeginPending = true;
  mSession.factoryNext = true;
  mStage = Stage::kWriting;
  mBracketOpen = false;
  mRefusals = 0;
  mWatchdog.Rearm();
  return step.Progress(0.0);
}

TransferStep FactoryWrite::OnTick() {
  TransferStep step;
  if (mStage != Stage::kWriting || !mSession.factoryNext) return step;
  mWatchdog.Rearm();
  if (mSession.bulkBeginPending) {
    mSession.bulkBeginPending = false;
    mBracketOpen = true;
    return step.Send(BuildBulkBegin());
  }
  mSession.factoryNext = false;
  const int index = mSession.factoryIndex;
  if (index < 0 || index >= static_cast<int>(mMessages.size())) return Stop(kTextFactoryStalled);
  const BankMessageSpan& m = mMessages[static_cast<std::size_t>(index)];
  const auto message = std::span<const uint8_t>(mBank).subspan(m.offset, m.size);
  step.Send(Bytes(message.begin(), message.end()));
  step.Progress(static_cast<double>(index + 1) / mSession.factoryTotal);
  // An IR data chunk would not be acknowledged; the embedded bank holds none.
  if (message.size() > kCommandOffset && message[kCommandOffset] == kCmdRestoreIrData &&
      index + 1 < mSession.factoryTotal) {
    ++mSession.factoryIndex;
    mSession.factoryNext = true;
  }
  return step;
}

TransferStep FactoryWrite::OnWatchTick() {
  if (mStage == Stage::kIdle || mSession.factoryNext) return {};
  if (mWatchdog.OnTick() != WatchdogVerdict::kGiveUp) return {};
  if (mStage == Stage::kAwaitingReset) {
    mStage = Stage::kIdle;
    return TransferStep{}.Fail(kTextFactoryResetUnconfirmed);
  }
  return Stop(kTextFactoryStalled);
}

TransferStep FactoryWrite::OnWriteAck() {
  TransferStep step;
  if (mStage != Stage::kWriting) return step;
  mWatchdog.Rearm();
  mRefusals = 0;
  ++mSession.factoryIndex;
  if (mSession.factoryIndex < mSession.factoryTotal) {
    mSession.factoryNext = true;
    return step;
  }
  mStage = Stage::kAwaitingReset;
  mBracketOpen = false;
  step.Send(BuildBulkEnd());
  step.Send(BuildFactoryReset(kFactoryResetPresets));
  step.overlay = ProgressOverlay::kHide;
  step.end = TransferEnd::kFinished;
  return step;
}

TransferStep FactoryWrite::OnWriteNext() {
  if (mStage != Stage::kWriting) return {};
  mWatchdog.Rearm();
  mRefusals = 0;
  ++mSession.factoryIndex;
  // A kCmdWriteNext for the last message does not complete the write.
  if (mSession.factoryIndex < mSession.factoryTotal) mSession.factoryNext = true;
  return {};
}

TransferStep FactoryWrite::OnWriteNak() {
  if (mStage != Stage::kWriting) return {};
  mWatchdog.Rearm();
  if (++mRefusals > kFactoryMaxResends) return Stop(kTextCommunicationError);
  mSession.factoryNext = true;
  return {};
}

void FactoryWrite::OnResetDone() {
  if (mStage == Stage::kAwaitingReset) mStage = Stage::kIdle;
}

TransferStep FactoryWrite::Stop(const char* text) {
  TransferStep step;
  mStage = Stage::kIdle;
  mSession.factoryNext = false;
  mSession.bulkBeginPending = false;
  if (mBracketOpen) step.Send(BuildBulkEnd());
  mBracketOpen = false;
  step.overlay = ProgressOverlay::kHide;
  return step.Fail(text);
}

}  // namespace qd3
