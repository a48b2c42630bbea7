#include "editor/ImpulseResponses.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "ir/ConversionSummary.h"
#include "ir/IrDisplay.h"
#include "ir/IrNumbers.h"
#include "ir/WavReader.h"
#include "params/DependentValues.h"
#include "params/PageNumbers.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "protocol/Name32.h"

namespace qd3 {
namespace {

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

ImpulseResponses::ImpulseResponses(const Needs& needs)
    : mNeeds(needs), mUpload(needs.session, needs.transferBuffer) {}

// ---- loading a WAV ----

void ImpulseResponses::LoadUserIrWav(bool positionB) {
  const int target = SelectUserIrPosition(positionB);
  IPlatformServices* platform = mNeeds.screen.Platform();
  if (!platform) return;
  const std::string path = platform->PromptForOpenFile(kWavExtension, mNeeds.state.lastWavPath);
  if (path.empty()) return;
  LoadChosenWav(target, path);
}

void ImpulseResponses::LoadUserIrWavFile(bool positionB, const std::string& wavPath) {
  LoadChosenWav(SelectUserIrPosition(positionB), wavPath);
}

int ImpulseResponses::SelectUserIrPosition(bool positionB) {
  DeviceSession& session = mNeeds.session;
  session.userIrASelected = !positionB;
  session.userIrBSelected = positionB;
  const int target = positionB ? UserIrOfPositionB(session.currentPreset)
                               : UserIrOfPositionA(session.currentPreset);
  (positionB ? session.userIrB : session.userIrA) = target;
  // The high half goes out as a live edit; the pedal's acknowledgement brings the low half.
  const int highParam = positionB ? kParamUserIrBHigh : kParamUserIrAHigh;
  session.irNumberStep = highParam;
  mNeeds.writer.SetParameterValue(highParam,
                                  mNeeds.params[highParam].ToNormalized(IrNumberHigh(target)));
  return target;
}

void ImpulseResponses::LoadChosenWav(int target, const std::string& path) {
  mNeeds.state.lastWavPath = path;
  // A user IR already there may be used by other presets too: replaced only when asked.
  // Only a slot the cache knows to be empty is written without a question.
  const PresetCache* cache = mNeeds.cache.Get();
  const std::string& held = mNeeds.state.userIrNames.Name(target);
  const bool known = cache && cache->IsIrCached(target);
  if (!known || held != EmptyIrSlotText(target)) {
    const std::string what =
        known ? "holds \"" + held + "\"" : "may hold an IR this editor has not read";
    const std::string question = "User IR " + std::to_string(target) + " on the QD3 " + what +
                                 ". Replace it with \"" +
                                 std::filesystem::path(path).filename().string() +
                                 "\"?\nEvery preset that uses this IR will sound different.";
    if (!mNeeds.screen.Ask(question)) return;
  }
  LoadWavIntoIr(target, path);
}

bool ImpulseResponses::LoadWavIntoIr(int target, const std::string& wavPath) {
  if (!IsWavTarget(target)) return false;
  ImpulseResponseState& state = mNeeds.state;
  const WavReadResult read = ReadWav(std::filesystem::path(wavPath), state.irBuffer);
  if (!read.Ok()) {
    mNeeds.screen.Inform(Format(kTextWavUnreadable, read.reason));
    return false;
  }
  const auto name = IrNameFromWavPath(wavPath);
  const IrImageResult made = MakeIrImage(state.irBuffer, name);
  state.irBuffer.gain = made.gain;

  const CacheWriteStatus written = CacheAndUpload(target, made.image, false);
  if (mNeeds.cache.Get() && !Succeeded(written))
    mNeeds.screen.Inform(Format(kTextIrNotCached, WriteFailureText(written)));

  if (mNeeds.session.userIrASelected || mNeeds.session.userIrBSelected)
    state.userIrNames.Set(target, TrimName32(name));
  ShowIrName(target, TrimName32(name));
  state.irConversionSummary = ConversionSummaryText(read.summary, made.gain);
  mNeeds.screen.SetText(kTagIrConversionSummary, ConversionSummaryLine(state.irConversionSummary));
  // The graph shows what was loaded, whichever cabinet the selector has.
  if (mNeeds.session.userIrASelected || mNeeds.session.userIrBSelected) {
    mLoadedShown = mNeeds.session.userIrBSelected;
    Display(SelectorValueOfPosition(*mLoadedShown));
  }
  return true;
}

void ImpulseResponses::UploadImage(const IrImageBytes& block, int target) {
  IrWorkingBuffer& buffer = mNeeds.state.irBuffer;
  LoadIrImage(block, buffer);
  std::array<uint8_t, kNameSize> name{};
  std::copy_n(block.begin() + kIrFileNameOffset, kNameSize, name.begin());
  const IrImageResult made = MakeIrImage(buffer, name);
  buffer.gain = made.gain;
  const CacheWriteStatus written = CacheAndUpload(target, made.image, true);
  if (mNeeds.cache.Get()) mNeeds.cache.NoteWrite(Succeeded(written));
}

CacheWriteStatus ImpulseResponses::CacheAndUpload(int target, std::span<const uint8_t> image,
                                                  bool forImport) {
  // A new image replaces the one under way, which the pedal will now never confirm.
  if (mUpload.Active()) UploadLost(UploadLoss::kReplaced);
  PresetCache* cache = mNeeds.cache.Get();
  CacheUndo undo{target, cache ? cache->ReadIrImage(target) : std::nullopt};
  const CacheWriteStatus written =
      cache ? cache->WriteIrImage(target, image) : CacheWriteStatus::kNoCacheFile;
  mUpload.Start(target, image, mNeeds.session.connected);
  // Packed while disconnected nothing is sent, and the cache keeps the edit.
  if (cache && Succeeded(written) && mUpload.Active()) mUndo = std::move(undo);
  mImportUpload = forImport && mUpload.Active();
  return written;
}

bool ImpulseResponses::UploadLost(UploadLoss why) {
  RestoreCachedIr();
  return std::exchange(mImportUpload, false) && mImportLoss && mImportLoss(why);
}

void ImpulseResponses::RestoreCachedIr() {
  const std::optional<CacheUndo> undo = std::exchange(mUndo, std::nullopt);
  PresetCache* cache = mNeeds.cache.Get();
  if (!undo || !cache) return;
  const int number = undo->irNumber;
  if (undo->previous) {
    mNeeds.cache.NoteWrite(Succeeded(cache->WriteIrImage(number, *undo->previous)));
  } else if (const auto path = cache->IrFilePath(number)) {
    std::error_code ignored;  // a file that is already gone is what is wanted
    std::filesystem::remove(*path, ignored);
  }
  ImpulseResponseState& state = mNeeds.state;
  if (IsCabinetIr(number)) {
    const int position = (number & kFactoryIrNumberMask) + 1;
    state.positionNames.ReloadPosition(*cache, position);
    ShowIrName(number, state.positionNames.Name(position));
  } else {
    state.userIrNames.Reload(*cache, number);
    ShowIrName(number, state.userIrNames.Name(number));
  }
}

void ImpulseResponses::ShowIrName(int target, const std::string& name) {
  ImpulseResponseState& state = mNeeds.state;
  const DeviceSession& session = mNeeds.session;
  if (session.userIrASelected || session.userIrBSelected) {
    mNeeds.screen.SetText(session.userIrBSelected ? kTagIrNameB : kTagIrNameA, name);
    state.irListRows.Set(target % kIrBankSize, state.userIrNames.Name(target));
  }
  if (IsCabinetIr(target)) {
    const int position = (target & kFactoryIrNumberMask) + 1;
    if (PresetCache* cache = mNeeds.cache.Get())
      state.positionNames.ReloadPosition(*cache, position);
    mNeeds.screen.SetText(kTagCabinetRowFirst + (target & kFactoryIrNumberMask), name);
  }
}

// ---- requests and replies ----

void ImpulseResponses::RequestIr(int irNumber) {
  if (mFetch.Outstanding() != irNumber) mDroppedAtRequest = mDroppedInput;
  ApplyFetch(mFetch.Request(irNumber));
}

void ImpulseResponses::ApplyFetch(TransferStep step) {
  // The pedal may well have sent it all: our own input dropped part of the answer.
  if (step.end == TransferEnd::kFailed && mDroppedInput > mDroppedAtRequest) {
    step.message = kTextIrFetchDroppedHere;
  }
  mNeeds.outbox.ApplyIrFetch(step);
}

void ImpulseResponses::RequestIrNames(int bank) {
  mNeeds.outbox.Send(BuildRequestIrNames(kIrNameGroupsPerBank * bank));
}

void ImpulseResponses::RequestSelectedUserIr() {
  const DeviceSession& session = mNeeds.session;
  if (session.userIrASelected) {
    RequestIr(session.userIrA);
  } else if (session.userIrBSelected) {
    RequestIr(session.userIrB);
  }
}

void ImpulseResponses::OnTick() {
  if (mUpload.Active()) {
    TransferStep step = mUpload.OnTick();
    if (step.end == TransferEnd::kFailed && UploadLost(UploadLoss::kUnanswered)) {
      step.message.clear();
    }
    mNeeds.outbox.Apply(step, kIrUploadProgress);
  }
  ApplyFetch(mFetch.OnTick());
}

void ImpulseResponses::OnIrTransfer(DeviceCommand command, std::span<const uint8_t> m) {
  switch (command) {
    case kCmdIrBegin:
      ApplyFetch(mFetch.OnBegin(m));
      break;
    case kCmdIrData:
      ApplyFetch(mFetch.OnData(m));
      break;
    case kCmdIrEnd: {
      IrFetchEnd end = mFetch.OnEnd(m);
      if (end.received) CompleteIrReceive(*end.received);
      ApplyFetch(end.step);
      break;
    }
    default:
      break;
  }
}

void ImpulseResponses::CompleteIrReceive(const ReceivedIr& received) {
  const int number = received.irNumber;
  PresetCache* cache = mNeeds.cache.Get();
  if (cache) {
    mNeeds.cache.NoteWrite(Succeeded(cache->WriteIrImage(number, received.bytes)));
    if (number >= kFirstFactoryIrNumber) {
      mNeeds.state.positionNames.ReloadPosition(*cache, (number & kFactoryIrNumberMask) + 1);
    }
  }
  ShowIrForCurrentSelector();
  // Position 8's IR follows the one of position 7 (a dump asks for one at a time).
  const int userIrB = mNeeds.session.userIrB;
  if (mNeeds.params[kParamIrModeB].Raw() != 0 && userIrB != number && cache &&
      !cache->IsIrCached(userIrB)) {
    RequestIr(userIrB);
  }
}

void ImpulseResponses::OnIrNames(std::span<const uint8_t> m) {
  const auto update = ReadIrNames(m);
  if (!update) return;
  mNeeds.watch.Answered(SessionRequest::kIrNames);
  mNeeds.state.irListRows.Apply(*update);
  if (update->nextRequest) mNeeds.outbox.Send(*update->nextRequest);
}

void ImpulseResponses::OnIrName(std::span<const uint8_t> m) {
  if (const auto name = ReadName32(m, kIrNameOffset)) mNeeds.screen.SetText(kTagIrNameField, *name);
}

void ImpulseResponses::OnAck() {
  DeviceSession& session = mNeeds.session;
  if (session.irNumberStep == kParamUserIrAHigh) {
    session.irNumberStep = kParamUserIrALow;
    mNeeds.writer.SetParameterValue(kParamUserIrALow, (session.userIrA & 0x7F) / 127.0);
  } else if (session.irNumberStep == kParamUserIrBHigh) {
    session.irNumberStep = kParamUserIrBLow;
    mNeeds.writer.SetParameterValue(kParamUserIrBLow, (session.userIrB & 0x7F) / 127.0);
  }
}

void ImpulseResponses::OnChunkAck() {
  mUpload.OnChunkAck();
}

void ImpulseResponses::OnDeviceError() {
  if (mUpload.Active()) {
    mUpload.OnRefused();
    if (UploadLost(UploadLoss::kRefused)) return;
  }
  mNeeds.outbox.Post(kTextDeviceError);
}

bool ImpulseResponses::OnStored() {
  const TransferStep step = mUpload.OnStored();
  bool confirmedImport = false;
  if (step.end == TransferEnd::kFinished) {
    mUndo.reset();
    confirmedImport = std::exchange(mImportUpload, false);
  }
  mNeeds.outbox.Apply(step, kIrUploadProgress);
  return confirmedImport;
}

// ---- the edited user-IR position ----

void ImpulseResponses::CheckEditedUserIr(bool positionB) {
  const DeviceSession& session = mNeeds.session;
  const bool selected = positionB ? session.userIrBSelected : session.userIrASelected;
  const int modeParam = positionB ? kParamIrModeB : kParamIrModeA;
  if (!selected || mNeeds.params[modeParam].Raw() == 0) return;
  const int number = positionB ? session.userIrB : session.userIrA;
  ImpulseResponseState& state = mNeeds.state;
  if (PresetCache* cache = mNeeds.cache.Get()) state.userIrNames.Reload(*cache, number);
  // The pedal's list names an IR there that the cache lacks: fetch it on the next tick.
  const std::string& row = state.irListRows.Row(number % kIrBankSize);
  if (row != EmptySlotName(number % kIrBankSize + 1) && row != state.userIrNames.Name(number)) {
    mNeeds.session.irRequestPending = true;
  }
}

// ---- the IR display ----

void ImpulseResponses::ShowIr(int irValue) {
  mLoadedShown.reset();
  Display(irValue);
}

void ImpulseResponses::ShowIrAfterUpload() {
  if (mLoadedShown) {
    Display(SelectorValueOfPosition(*mLoadedShown));
  } else {
    ShowIrForCurrentSelector();
  }
}

int ImpulseResponses::SelectorValueOfPosition(bool positionB) const {
  constexpr int kPosition7 = 7;  // the picker's row 0 is the flat response
  // Rounded as the parameter itself holds the picker's value.
  const IParam& ir = mNeeds.params[kParamIr];
  return static_cast<int>(ir.Constrain(
      ir.FromNormalized(IrNormalizedFromPosition(positionB ? kPosition7 + 1 : kPosition7))));
}

void ImpulseResponses::Display(int irValue) {
  const DeviceSession& session = mNeeds.session;
  const IrDisplaySelection selection{irValue, mNeeds.params[kParamIrModeA].Raw() != 0,
                                     mNeeds.params[kParamIrModeB].Raw() != 0, session.userIrA,
                                     session.userIrB};
  if (PresetCache* cache = mNeeds.cache.Get()) {
    qd3::ShowIr(selection, CachedIrPositionSource(*cache), mNeeds.state.irBuffer);
  } else {
    qd3::ShowIr(selection, NoIrPositions(), mNeeds.state.irBuffer);
  }
  if (mNeeds.screen.IsOpen() && mDisplaySink) mDisplaySink(mNeeds.state.irBuffer);
  // A new cabinet on the display brings its page with it.
  mNeeds.pages.ShowPageUnlessSkipped(kPageIr);
}

void ImpulseResponses::ShowIrForCurrentSelector() {
  ShowIr(mNeeds.params[kParamIr].Raw());
}

}  // namespace qd3
