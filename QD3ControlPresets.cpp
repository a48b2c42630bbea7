// The pedal's presets as the editor mirrors them: the checksum comparison, the
// synchronisation run that fetches changed slots into the disk cache, and the
// dump of the current preset that loads the edit buffer.
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "QD3Control.h"
#include "QD3ControlScreenNames.h"
#include "params/DependentValues.h"
#include "params/DeviceParamNumbers.h"
#include "presets/PresetRecord.h"
#include "presets/SlotLabels.h"
#include "presets/StaleTemporaries.h"
#include "presets/StoreRecord.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"
#include "protocol/Name32.h"
#include "resources/factory_irs/FactoryIrWavs.h"

namespace qd3 {
namespace {

// The cabinet positions whose factory IR a user IR can replace.
constexpr int kPositionA = 7;
constexpr int kPositionB = 8;

Checksum14Pair ReceivedChecksum(std::span<const uint8_t> m) {
  return {m[kChecksumHiOffset], m[kChecksumLoOffset]};
}

// A cache that cannot be written loses nothing it held, but every connection then reads the
// presets and IRs again; without a word the player would only see slow connections.
constexpr const char* kTextCacheUnwritable =
    "The editor's cache folder %s cannot be written (is the disk full or the folder "
    "read-only?). What is read from the pedal is not kept, so it will be read again at "
    "every connection.";

PresetRecord RecordOf(std::span<const uint8_t> m) {
  return PresetRecord::FromPrefix(m.subspan(kRecordOffset, kRecordSize));
}

// A user-IR name as the position label shows it: trailing spaces cut, but a
// field of spaces alone stays as it is.
std::string PositionName(std::span<const uint8_t, kNameSize> field) {
  if (IsBlankName32(field)) return std::string(kNameSize, ' ');
  return TrimName32(field);
}

}  // namespace

void QD3Control::OpenCache(const std::filesystem::path& baseFolder) {
  // Writes cut short by a crash leave "NNN.dat.tmp" behind; they are ours to remove.
  RemoveStaleTemporaries(baseFolder);
  mCache = std::make_unique<PresetCache>(baseFolder);
}

void QD3Control::NoteCacheWrite(bool written) {
  if (written || std::exchange(mCacheWriteFailureTold, true) || !mCache) return;
  std::string text(kTextCacheUnwritable);
  text.replace(text.find("%s"), 2, mCache->BaseFolder().string());
  PostMessage(std::move(text));
}

int QD3Control::PatchOffset() const {
  return mParams[kParamPatchOffset].Raw();
}

void QD3Control::AttachPresetRows(const std::array<IControlHandle*, kPresetCount>& rows) {
  mPresetRows = rows;
  for (int slot = 0; slot < kPresetCount; ++slot) {
    SetRowLabel(slot, mRowLabels[static_cast<size_t>(slot)]);
    SetRowColor(slot, slot == session.highlightedPreset);
  }
}

void QD3Control::SetRowLabel(int slot, std::string label) {
  mRowLabels[static_cast<size_t>(slot)] = std::move(label);
  if (!IsWindowOpen()) return;
  if (IControlHandle* row = mPresetRows[static_cast<size_t>(slot)]) {
    row->SetStr(mRowLabels[static_cast<size_t>(slot)]);
    row->SetDirty();
  }
}

void QD3Control::SetRowColor(int slot, bool current) {
  if (!IsWindowOpen() || slot < 0 || slot >= kPresetCount) return;
  if (IControlHandle* row = mPresetRows[static_cast<size_t>(slot)]) {
    row->SetTextColor(IColorFromArgb(
        RowKindOf(current) == PresetRowKind::kCurrent ? kColorCurrentRow : kColorOtherRow));
    row->SetDirty();
  }
}

void QD3Control::ScrollPresetList(int scroll) {
  mListTop = ListTopFromScroll(scroll);
  if (!IsWindowOpen()) return;
  for (int slot = 0; slot < kPresetCount; ++slot) {
    if (IControlHandle* row = mPresetRows[static_cast<size_t>(slot)]) {
      const PresetRowPlace place = PresetRowPlacement(slot, mListTop);
      row->Hide(!place.visible);
      row->MoveTo(static_cast<float>(place.x), static_cast<float>(place.y));
      row->SetDirty();
    }
  }
}

void QD3Control::PickPresetRow(int row) {
  const int slot = PickedPresetSlot(mListTop, row);
  SetRowColor(session.highlightedPreset, false);
  session.highlightedPreset = slot;
  SetRowColor(slot, true);
  switch (PresetPickActionFor(session.connected, session.saveArmed)) {
    case PresetPickAction::kStore:
      if (mScreen) {
        if (IControlHandle* display = mScreen->GetControlWithTag(kTagValueDisplay)) {
          display->Hide(false);
        }
      }
      // Device parameter 18 stores the edit buffer into that slot.
      SendDeviceMessage(BuildParamChange(kDeviceParamStore, slot));
      session.saveAwaiting = true;
      break;
    case PresetPickAction::kSelect:
      SendDeviceMessage(BuildSelectPreset(slot));
      break;
    case PresetPickAction::kNone:
      break;
  }
}

void QD3Control::LoadCacheState() {
  if (!mCache) return;
  // The eight factory cabinets are the display's fallback for positions 1..8.
  const FactoryWavInstall wavs = mCache->InstallFactoryIrWavs(FactoryIrWavs());
  if (wavs != FactoryWavInstall::kAlreadyPresent) {
    NoteCacheWrite(wavs == FactoryWavInstall::kInstalled);
  }
  positionNames.LoadFromCache(*mCache);
  userIrNames.LoadFromCache(*mCache);
  for (const RowLabel& row : mCache->ScanPresetsFolder(PatchOffset())) {
    SetRowLabel(row.row, row.label);
  }
  const PresetList list = mCache->BuildListFromCache(PatchOffset());
  for (int slot = 0; slot < kPresetCount; ++slot) {
    SetRowLabel(slot, list.labels[static_cast<size_t>(slot)]);
  }
  checksums.SetPairs(list.checksums);
}

void QD3Control::ClearCacheData() {
  if (mCache) {
    const ClearCacheResult result = mCache->ClearCache(PatchOffset());
    for (const RowLabel& row : result.scanned) SetRowLabel(row.row, row.label);
    for (int slot = 0; slot < kPresetCount; ++slot) {
      SetRowLabel(slot, result.list.labels[static_cast<size_t>(slot)]);
    }
    checksums.SetPairs(result.list.checksums);
  }
  if (mPlatform) mPlatform->ShowMessageBox(kTextFinished, "", EMsgBoxType::OK);
}

void QD3Control::StoreCurrentPreset() {
  std::string labelA, labelB;
  if (mScreen) {
    if (IControlHandle* a = mScreen->GetControlWithTag(kTagIrNameA)) labelA = a->GetStr();
    if (IControlHandle* b = mScreen->GetControlWithTag(kTagIrNameB)) labelB = b->GetStr();
    if (IControlHandle* name = mScreen->GetControlWithTag(kTagPresetName)) {
      presetNameText = name->GetStr();
    }
  }
  const PresetRecord record = BuildStoreRecord(presetNameText, liveValues, labelA, labelB);
  SendDeviceMessage(BuildStorePresetMessage(session.currentPreset, record));
}

// ---- checksum block and synchronisation ----

void QD3Control::HandlePresetChecksums(std::span<const uint8_t> m) {
  const auto data = *ReadRecordData(m);
  VerifyRestore(data);
  ApplyTransferStep(mSync.OnChecksumBlock(data));
}

void QD3Control::ContinuePresetSync(std::span<const uint8_t> m) {
  const PresetSync::DumpResult result = mSync.OnDump(m, PatchOffset());
  if (result.storedSlot) {
    const int slot = *result.storedSlot;
    const PresetRecord record = RecordOf(m);
    // The table moves on even when the write fails: the cache keeps its previous file,
    // and the run does not ask the pedal again and again for a slot it cannot keep.
    if (mCache) NoteCacheWrite(Succeeded(mCache->WritePreset(slot, record.Bytes())));
    SetRowLabel(slot, CachedSlotLabel(slot, PatchOffset(), record));
    if (slot == session.currentPreset) SetRowColor(slot, true);
  }
  ApplyTransferStep(result.step);
}

// ---- dumps ----

void QD3Control::HandlePresetDump(std::span<const uint8_t> m) {
  // A dump that arrives between the checksum block and the run's first request
  // was not asked for by the run (an answer already on its way): it is the
  // current preset, not a slot of the synchronisation.
  if (mSync.OwnsDump()) {
    ContinuePresetSync(m);
  } else if (session.backupActive) {
    // During a bank export every dump is collected by the export itself.
    ApplyTransferStep(mBankExport.OnPresetDump(m));
  } else {
    ApplyCurrentPresetDump(m);
  }
}

void QD3Control::ApplyCurrentPresetDump(std::span<const uint8_t> m) {
  const int slot = m[kSelectorOffset];
  if (slot >= kPresetCount) return;
  session.currentPreset = slot;
  const std::string number = SlotNumberText(slot, PatchOffset());

  if (session.currentPreset != session.highlightedPreset) {
    SetRowColor(session.highlightedPreset, false);
    session.highlightedPreset = session.currentPreset;
    SetRowColor(session.highlightedPreset, true);
    SetParameterValue(kParamScroll, ListScrollForSlot(slot) / 109.0);
  }

  // A damaged dump is no answer: the request stays waited on and goes out again.
  if (!VerifyRecordChecksum(m)) return;
  mSessionWatch.Answered(SessionRequest::kCurrentPreset);

  const PresetRecord record = RecordOf(m);
  session.applyingDeviceValues = true;
  for (int i = 0; i < kNumSoundParams; ++i) {
    const uint8_t raw = record.Param(i);
    SetParameterValue(i, mParams[i].ToNormalized(raw));
    deviceSnapshot[static_cast<size_t>(i)] = raw;
  }
  MatchTemplates();
  session.userIrASelected = false;
  session.userIrBSelected = false;

  // Not saved is judged against what just arrived, also without a window.
  presetModified = false;
  const bool irA = mParams[kParamIrModeA].Raw() > 0;
  const bool irB = mParams[kParamIrModeB].Raw() > 0;
  if (irA) {
    userIrNames.Set(kUserIrNamePositionA,
                    PositionName(record.UserIrNameField(UserIrPosition::kPosition7)));
  }
  if (irB) {
    userIrNames.Set(kUserIrNamePositionB,
                    PositionName(record.UserIrNameField(UserIrPosition::kPosition8)));
  }
  if (IsWindowOpen()) {
    if (IControlHandle* display = mScreen->GetControlWithTag(kTagValueDisplay)) {
      display->Hide(false);
      display->SetStr(number);
      display->SetTextColor(IColorFromArgb(kColorDisplay));
      display->SetDirty();
    }
    const auto name = record.NameField();
    presetNameText.assign(name.begin(), name.end());
    SetControlText(kTagPresetName, presetNameText);
    SetControlText(kTagIrNameA,
                   irA ? userIrNames.Name(kUserIrNamePositionA) : positionNames.Name(kPositionA));
    SetControlText(kTagIrNameB,
                   irB ? userIrNames.Name(kUserIrNamePositionB) : positionNames.Name(kPositionB));
    if (irA || irB) ShowIrForCurrentSelector();
  }
  SetRowLabel(slot, CurrentPresetLabel(slot, PatchOffset(), record));
  session.applyingDeviceValues = false;

  if (session.saveArmed) {
    session.saveArmed = false;
    session.saveAwaiting = false;
    if (mScreen) {
      if (IControlHandle* display = mScreen->GetControlWithTag(kTagValueDisplay)) {
        display->Hide(false);
      }
    }
    if (mCache) NoteCacheWrite(Succeeded(mCache->WritePreset(slot, record.Bytes())));
    checksums.StoreReceived(slot, ReceivedChecksum(m));
  }

  // Fetch a user IR the cache lacks; position 8 only when position 7 uses none.
  if (!mCache) return;
  if (irA) {
    if (!mCache->IsIrCached(session.userIrA)) RequestIr(session.userIrA);
  } else if (irB) {
    if (!mCache->IsIrCached(session.userIrB)) RequestIr(session.userIrB);
  }
}

}  // namespace qd3
