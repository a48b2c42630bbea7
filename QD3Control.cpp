#include "QD3Control.h"

#include <algorithm>
#include <cstdio>

#include "QD3ControlScreenNames.h"

namespace qd3 {
namespace {

// Idle ticks (20 ms each) a parameter value stays on the two-digit display
// before it shows the preset number again.
constexpr int kValueDisplayHoldTicks = 60;

}  // namespace

QD3Control::QD3Control() = default;

QD3Control::~QD3Control() {
  mDeviceTimer.reset();
  mIdleTimer.reset();
}

void QD3Control::SetTimers(std::unique_ptr<ITimerHandle> deviceTimer,
                           std::unique_ptr<ITimerHandle> idleTimer) {
  mDeviceTimer = std::move(deviceTimer);
  mIdleTimer = std::move(idleTimer);
}

void QD3Control::OnMenuCommand(int command) {
  switch (command) {
    case kEditorCmdFirmwareUpdate:
      OpenFirmwareUpdate();
      break;
    case kEditorCmdGlobalSettings:
      OpenGlobalSettings();
      break;
    case kEditorCmdClearCache:
      ClearCacheData();
      break;
    case kEditorCmdBankImport:
      ImportBank();
      break;
    case kEditorCmdBankExport:
      ExportBank();
      break;
    case kEditorCmdFactoryUpdate:
      UpdateFactoryPresets();
      break;
    default:
      break;
  }
}

void QD3Control::RunAllChangeHandlers() {
  for (int index = 0; index < kNumParams; ++index) OnParamChange(index);
}

void QD3Control::AttachScreen(IScreenAccess* screen) {
  mScreen = screen;
  // The rows and the graph belong to the window and go with it.
  if (!screen) {
    mPresetRows.fill(nullptr);
    mDynamicsGraph = nullptr;
    mOverlays = {};
  }
}

void QD3Control::SetDeviceMessageSink(MessageSink sink) {
  mSink = std::move(sink);
}

void QD3Control::SendDeviceMessage(std::span<const uint8_t> message) {
  WatchSessionRequest(message);
  if (mSink) mSink(message);
}

void QD3Control::SetParameterValue(int index, double normalized) {
  mParams[index].SetNormalized(normalized);
  OnParamChange(index);
  QueueParamUpdate(index, mParams[index].GetNormalized());
}

void QD3Control::QueueParamUpdate(int index, double normalized) {
  std::lock_guard lock(mQueueMutex);
  mQueuedUpdates.emplace_back(index, normalized);
}

void QD3Control::SetControlText(int tag, const std::string& text) {
  if (!mScreen) return;
  if (IControlHandle* control = mScreen->GetControlWithTag(tag)) {
    control->SetStr(text);
    control->SetDirty();
  }
}

void QD3Control::SetControlValue(int tag, double normalized) {
  if (!mScreen) return;
  if (IControlHandle* control = mScreen->GetControlWithTag(tag)) {
    control->SetValueFromCode(normalized);
    control->SetDirty();
  }
}

void QD3Control::ShowGroup(std::string_view group, bool show) {
  if (mScreen) mScreen->HideGroup(group, !show);
}

void QD3Control::EnableGroup(std::string_view group, bool enable) {
  if (mScreen) mScreen->DisableGroup(group, !enable);
}

void QD3Control::ShowProgress(double fraction, const ProgressTarget& target) {
  fraction = std::clamp(fraction, 0.0, 1.0);
  SetControlValue(target.valueTag, fraction);
  char text[16];
  std::snprintf(text, sizeof text, kTextProgressPercent, static_cast<int>(fraction * 100.0));
  SetControlText(target.textTag, text);
}

void QD3Control::ApplyTransferStep(const TransferStep& step, const ProgressTarget& target) {
  if (step.progress) ShowProgress(*step.progress, target);
  ShowProgressOverlay(step, target);
}

void QD3Control::ApplyIrFetchStep(const TransferStep& step) {
  if (step.progress) {
    SetControlValue(kTagProgressValue, std::clamp(*step.progress, 0.0, 1.0));
    SetControlText(kTagProgressText, IrFetchPercentText(*step.progress));
  }
  ShowProgressOverlay(step, kCommonProgress);
}

void QD3Control::ShowProgressOverlay(const TransferStep& step, const ProgressTarget& target) {
  if (step.overlay != ProgressOverlay::kUnchanged) {
    ShowGroup(target.group, step.overlay == ProgressOverlay::kShow);
  }
  for (const Bytes& message : step.messages) SendDeviceMessage(message);
  if (step.end == TransferEnd::kFailed && !step.message.empty()) PostMessage(step.message);
}

void QD3Control::PostMessage(std::string text) {
  session.pendingMessage = std::move(text);
  session.messagePending = true;
}

void QD3Control::OnIdleTick() {
  if (session.messagePending) {
    session.messagePending = false;
    if (IsWindowOpen() && mPlatform) {
      mPlatform->ShowMessageBox(session.pendingMessage, "", EMsgBoxType::OK);
    }
    if (std::exchange(mLeaveFirmwareAfterMessage, false)) LeaveFirmwareScreenAfterUpdate();
  }
  if (valueDisplayHold && ++valueDisplayTicks > kValueDisplayHoldTicks) {
    valueDisplayHold = false;
    valueDisplayTicks = 0;
    char text[16];
    std::snprintf(text, sizeof text, "%02d",
                  session.currentPreset + mParams[kParamPatchOffset].Raw());
    SetControlText(kTagValueDisplay, text);
  }
  PedalFaceIdleTick();
}

bool QD3Control::IdleTickNeeded() const {
  return session.messagePending || valueDisplayHold || nextHeld || prevHeld || browseArmed ||
         session.saveArmed || session.saveAwaiting;
}

double QD3Control::GetParamNormalized(int index) const {
  return mParams[index].GetNormalized();
}

void QD3Control::SetParameterValueFromUI(int index, double normalized) {
  SetParameterValue(index, normalized);
}

std::string QD3Control::GetParamDisplayText(int index, double normalized) const {
  const IParam& param = mParams[index];
  return param.DisplayText(param.FromNormalized(normalized));
}

std::vector<std::string> QD3Control::GetParamValueTexts(int index) const {
  std::vector<std::string> texts;
  for (const auto& entry : mParams[index].Info().displayTexts) texts.push_back(entry.second);
  return texts;
}

std::string QD3Control::GetParamName(int index) const {
  return mParams[index].Info().name;
}

double QD3Control::GetParamDefaultNormalized(int index) const {
  const IParam& param = mParams[index];
  if (param.Info().max <= param.Info().min) return 0.0;
  return param.ToNormalized(param.Constrain(param.Info().defaultValue));
}

double QD3Control::GetParamStepNormalized(int index) const {
  const ParamSpec& info = mParams[index].Info();
  const double span = info.max - info.min;
  if (!info.stepped || span <= 0.0 || info.step <= 0.0) return 0.0;
  return info.step / span;
}

void QD3Control::DrainQueuedParamUpdates(const std::function<void(int, double)>& apply) {
  std::vector<std::pair<int, double>> updates;
  {
    std::lock_guard lock(mQueueMutex);
    updates.swap(mQueuedUpdates);
  }
  for (const auto& [index, normalized] : updates) apply(index, normalized);
}

}  // namespace qd3
