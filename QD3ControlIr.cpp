// Impulse responses on the editor's side: loading a WAV into a user IR, the pedal's IR
// transfers and names, and the IR display data that follows the cabinet selector.
#include <cstdio>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "ir/ConversionSummary.h"
#include "ir/IrDisplay.h"
#include "ir/IrImage.h"
#include "ir/IrNumbers.h"
#include "ir/WavReader.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "protocol/Name32.h"

namespace qd3 {
namespace {

constexpr const char* kWavExtension = "wav";
constexpr const char* kTextWavUnreadable = "The file could not be read as a WAV file: %s.";
constexpr const char* kTextIrNotCached =
    "The IR could not be stored in the editor's cache folder: %s. It was still sent to the "
    "QD3.";

// Name groups of eight in one IR bank of 32.
constexpr int kIrNameGroupsPerBank = 4;

// What the display shows without a cache: only the flat response is known.
class NoIrPositions final : public IIrPositionSource {
 public:
  void LoadPosition(int, const IrDisplaySelection&, IrWorkingBuffer&) const override {}
};

std::string Format(const char* format, const std::string& value) {
  char text[256];
  std::snprintf(text, sizeof text, format, value.c_str());
  return text;
}

}  // namespace

// ---- loading a WAV ----

void QD3Control::LoadUserIrWav(bool positionB) {
  session.userIrASelected = !positionB;
  session.userIrBSelected = positionB;
  const int target = positionB ? UserIrOfPositionB(session.currentPreset)
                               : UserIrOfPositionA(session.currentPreset);
  if (positionB) {
    session.userIrB = target;
  } else {
    session.userIrA = target;
  }
  // The high half goes out as a live edit; the pedal's acknowledgement brings the low half.
  const int highParam = positionB ? kParamUserIrBHigh : kParamUserIrAHigh;
  session.irNumberStep = highParam;
  SetParameterValue(highParam, mParams[highParam].ToNormalized(IrNumberHigh(target)));

  if (!mPlatform) return;
  const std::string path = mPlatform->PromptForOpenFile(kWavExtension, lastWavPath);
  if (path.empty()) return;
  lastWavPath = path;
  LoadWavIntoIr(target, path);
}

bool QD3Control::LoadWavIntoIr(int target, const std::string& wavPath) {
  if (!IsWavTarget(target)) return false;
  const WavReadResult read = ReadWav(std::filesystem::path(wavPath), irBuffer);
  if (!read.Ok()) {
    if (mPlatform) {
      mPlatform->ShowMessageBox(Format(kTextWavUnreadable, read.reason), "", EMsgBoxType::OK);
    }
    return false;
  }
  const auto name = IrNameFromWavPath(wavPath);
  const IrImageResult made = MakeIrImage(irBuffer, name);
  irBuffer.gain = made.gain;

  if (mCache) {
    const CacheWriteStatus written = mCache->WriteIrImage(target, made.image);
    if (!Succeeded(written) && mPlatform) {
      mPlatform->ShowMessageBox(Format(kTextIrNotCached, WriteFailureText(written)), "",
                                EMsgBoxType::OK);
    }
  }
  mIrUpload.Start(target, made.image, session.connected);

  const std::string trimmed = TrimName32(name);
  if (session.userIrASelected || session.userIrBSelected) {
    userIrNames.Set(target, trimmed);
    SetControlText(session.userIrBSelected ? kTagIrNameB : kTagIrNameA, trimmed);
    irListRows.Set(target % kIrBankSize, userIrNames.Name(target));
  }
  if (IsCabinetIr(target)) {
    const int position = (target & kFactoryIrNumberMask) + 1;
    if (mCache) positionNames.ReloadPosition(*mCache, position);
    SetControlText(kTagCabinetRowFirst + (target & kFactoryIrNumberMask), trimmed);
  }
  irConversionSummary = ConversionSummaryText(read.summary, made.gain);
  SetControlText(kTagIrConversionSummary, irConversionSummary);
  return true;
}

// ---- transfers from the pedal ----

void QD3Control::RequestIr(int irNumber) {
  ApplyIrFetchStep(mIrFetch.Request(irNumber));
}

void QD3Control::RequestIrNames(int bank) {
  SendDeviceMessage(BuildRequestIrNames(kIrNameGroupsPerBank * bank));
}

void QD3Control::HandleIrTransfer(std::span<const uint8_t> m) {
  const auto command = MatchFromDevice(m);
  if (!command) return;
  if (session.backupActive) {
    // The bank export keeps every IR message as it came.
    if (*command == kCmdIrBegin || *command == kCmdIrData || *command == kCmdIrEnd) {
      ApplyTransferStep(mBankExport.OnIrMessage(*command, m));
    }
    return;
  }
  switch (*command) {
    case kCmdIrBegin:
      ApplyIrFetchStep(mIrFetch.OnBegin(m));
      break;
    case kCmdIrData:
      ApplyIrFetchStep(mIrFetch.OnData(m));
      break;
    case kCmdIrEnd: {
      IrFetchEnd end = mIrFetch.OnEnd(m);
      if (end.received) CompleteIrReceive(*end.received);
      ApplyIrFetchStep(end.step);
      break;
    }
    default:
      break;
  }
}

void QD3Control::CompleteIrReceive(const ReceivedIr& received) {
  const int number = received.irNumber;
  if (mCache) {
    NoteCacheWrite(Succeeded(mCache->WriteIrImage(number, received.bytes)));
    if (number >= kFirstFactoryIrNumber) {
      positionNames.ReloadPosition(*mCache, (number & kFactoryIrNumberMask) + 1);
    }
  }
  ShowIrForCurrentSelector();
  // Position 8's IR follows the one of position 7 (a dump asks for one at a time).
  if (mParams[kParamIrModeB].Raw() != 0 && session.userIrB != number && mCache &&
      !mCache->IsIrCached(session.userIrB)) {
    RequestIr(session.userIrB);
  }
}

void QD3Control::HandleIrNames(std::span<const uint8_t> m) {
  const auto update = ReadIrNames(m);
  if (!update) return;
  mSessionWatch.Answered(SessionRequest::kIrNames);
  irListRows.Apply(*update);
  if (update->nextRequest) SendDeviceMessage(*update->nextRequest);
}

void QD3Control::HandleIrStored() {
  ApplyTransferStep(mIrUpload.OnStored());
  if (!IsWindowOpen()) return;
  if (session.importIrAUploading || session.importIrBPending) {
    ContinuePresetImport();
  } else {
    ShowIrForCurrentSelector();
  }
}

// ---- the edited user-IR position ----

void QD3Control::CheckEditedUserIr(bool positionB) {
  const bool selected = positionB ? session.userIrBSelected : session.userIrASelected;
  const int modeParam = positionB ? kParamIrModeB : kParamIrModeA;
  if (!selected || mParams[modeParam].Raw() == 0) return;
  const int number = positionB ? session.userIrB : session.userIrA;
  if (mCache) userIrNames.Reload(*mCache, number);
  // The pedal's list names an IR there that the cache lacks: fetch it on the next tick.
  const std::string& row = irListRows.Row(number % kIrBankSize);
  if (row != EmptySlotName(number % kIrBankSize + 1) && row != userIrNames.Name(number)) {
    session.irRequestPending = true;
  }
}

// ---- the IR display ----

void QD3Control::ShowIr(int irValue) {
  const IrDisplaySelection selection{irValue, mParams[kParamIrModeA].Raw() != 0,
                                     mParams[kParamIrModeB].Raw() != 0, session.userIrA,
                                     session.userIrB};
  if (mCache) {
    qd3::ShowIr(selection, CachedIrPositionSource(*mCache), irBuffer);
  } else {
    qd3::ShowIr(selection, NoIrPositions(), irBuffer);
  }
  if (IsWindowOpen() && mIrDisplaySink) mIrDisplaySink(irBuffer);
  // A new cabinet on the display brings its page with it.
  ShowPageUnlessSkipped(kPageIr);
}

void QD3Control::ShowIrForCurrentSelector() {
  ShowIr(mParams[kParamIr].Raw());
}

}  // namespace qd3
