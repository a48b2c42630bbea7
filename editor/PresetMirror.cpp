#include "editor/PresetMirror.h"

#include <algorithm>
#include <utility>

#include "params/DependentValues.h"
#include "params/DeviceParamNumbers.h"
#include "presets/PresetRecord.h"
#include "presets/SlotLabels.h"
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

PresetMirror::PresetMirror(const Needs& needs)
    : mNeeds(needs), mSync(needs.session, needs.checksums) {}

void PresetMirror::AttachRows(const ScreenWriter::PresetRows& rows) {
  mNeeds.screen.AttachRows(rows);
  for (int slot = 0; slot < kPresetCount; ++slot) {
    SetRowLabel(slot, mRowLabels[static_cast<size_t>(slot)]);
    SetRowColor(slot, slot == mNeeds.session.highlightedPreset);
  }
}

void PresetMirror::SetRowLabel(int slot, std::string label) {
  mRowLabels[static_cast<size_t>(slot)] = std::move(label);
  mNeeds.screen.SetRowText(slot, mRowLabels[static_cast<size_t>(slot)]);
  // A renamed or newly read preset may now match the filter, or no longer.
  if (mFilter.Active() && mFilter.Refresh(mRowLabels)) {
    mListTop = std::min(mListTop, MaxListTop());
    PlaceRows();
  }
}

void PresetMirror::SetRowColor(int slot, bool current) {
  mNeeds.screen.SetRowTextColor(
      slot, RowKindOf(current) == PresetRowKind::kCurrent ? kColorCurrentRow : kColorOtherRow);
}

void PresetMirror::ApplyList(const PresetList& list) {
  for (int slot = 0; slot < kPresetCount; ++slot) {
    SetRowLabel(slot, list.labels[static_cast<size_t>(slot)]);
  }
}

// ---- the cache ----

void PresetMirror::LoadCacheState() {
  PresetCache* cache = mNeeds.cache.Get();
  if (!cache) return;
  // The eight factory cabinets are the display's fallback for positions 1..8.
  const FactoryWavInstall wavs = cache->InstallFactoryIrWavs(FactoryIrWavs());
  if (wavs != FactoryWavInstall::kAlreadyPresent) {
    mNeeds.cache.NoteWrite(wavs == FactoryWavInstall::kInstalled);
  }
  mNeeds.irState.positionNames.LoadFromCache(*cache);
  mNeeds.irState.userIrNames.LoadFromCache(*cache);
  const int offset = PatchOffsetOf(mNeeds.params);
  for (const qd3::RowLabel& row : cache->ScanPresetsFolder(offset)) SetRowLabel(row.row, row.label);
  const PresetList list = cache->BuildListFromCache(offset);
  ApplyList(list);
  mNeeds.checksums.SetPairs(list.checksums);
}

void PresetMirror::ClearCacheData() {
  if (PresetCache* cache = mNeeds.cache.Get()) {
    const ClearCacheResult result = cache->ClearCache(PatchOffsetOf(mNeeds.params));
    for (const qd3::RowLabel& row : result.scanned) SetRowLabel(row.row, row.label);
    ApplyList(result.list);
    mNeeds.checksums.SetPairs(result.list.checksums);
  }
  mNeeds.screen.Inform(kTextFinished);
}

void PresetMirror::DeleteCacheAndBuildList() {
  PresetCache* cache = mNeeds.cache.Get();
  if (!cache) return;
  cache->DeleteCachedDatFiles();
  const PresetList list = cache->BuildListFromCache(PatchOffsetOf(mNeeds.params));
  ApplyList(list);
  mNeeds.checksums.SetPairs(list.checksums);
}

void PresetMirror::Relabel() {
  PresetCache* cache = mNeeds.cache.Get();
  if (!cache) return;
  // The folder scan alone leaves rows without a listed file at their old number, so
  // the list build by file number follows and gives every row the new offset.
  const int offset = PatchOffsetOf(mNeeds.params);
  for (const qd3::RowLabel& row : cache->ScanPresetsFolder(offset)) SetRowLabel(row.row, row.label);
  ApplyList(cache->BuildListFromCache(offset));
}

// ---- the list ----

void PresetMirror::Scroll(int scroll) {
  mListTop = std::min(ListTopFromScroll(scroll), MaxListTop());
  PlaceRows();
}

void PresetMirror::PlaceRows() {
  if (!mNeeds.screen.IsOpen()) return;
  for (int slot = 0; slot < kPresetCount; ++slot) {
    const int place = mFilter.IndexOf(slot);
    if (place < 0) {
      mNeeds.screen.PlaceRow(slot, false, 0, 0);
      continue;
    }
    const PresetRowPlace row = PresetRowPlacement(place, mListTop);
    mNeeds.screen.PlaceRow(slot, row.visible, row.x, row.y);
  }
}

int PresetMirror::MaxListTop() const {
  const int shown = static_cast<int>(mFilter.Shown().size());
  return std::clamp(shown - kPresetListVisibleRows, 0, kPresetListMaxTop);
}

void PresetMirror::Pick(int row) {
  const int slot = SlotAtRow(row);
  if (slot >= 0) PickSlot(slot);
}

int PresetMirror::SlotAtRow(int row) const {
  const std::vector<int>& shown = mFilter.Shown();
  const auto place = static_cast<size_t>(PickedPresetSlot(mListTop, row));
  return place < shown.size() ? shown[place] : -1;
}

void PresetMirror::Filter(const std::string& text) {
  if (!mFilter.Set(text, mRowLabels)) return;
  ShowListTop(0);
  // The scroll bar may not report back a value it already had.
  mListTop = 0;
  PlaceRows();
}

void PresetMirror::PickFirstShown() {
  // Without a filter there is no first match to pick.
  if (mFilter.Active() && !mFilter.Shown().empty()) PickSlot(mFilter.Shown().front());
}

void PresetMirror::ShowListTop(int listTop) {
  listTop = std::clamp(listTop, 0, MaxListTop());
  // The scroll bar follows; the rows are placed here whether or not it reports back.
  mNeeds.writer.SetParameterValue(kParamScroll, ScrollNormalizedForListTop(listTop));
  Scroll(kPresetListMaxTop - listTop);
}

void PresetMirror::WheelList(bool positive, bool fine) {
  ShowListTop(ListTopAfterWheel(mListTop, positive, fine));
}

bool PresetMirror::OnListKey(EditorKey key) {
  DeviceSession& session = mNeeds.session;
  // The keys move among the rows listed: places in the filter's list, not slots.
  const std::vector<int>& shown = mFilter.Shown();
  const int last = static_cast<int>(shown.size()) - 1;
  // A highlighted slot the filter hides is before the first row listed.
  const int from = mFilter.IndexOf(session.highlightedPreset);
  int to = from;
  switch (key) {
    case EditorKey::kListUp:
      to = from - 1;
      break;
    case EditorKey::kListDown:
      to = from + 1;
      break;
    case EditorKey::kListPageUp:
      to = from - kPresetListVisibleRows;
      break;
    case EditorKey::kListPageDown:
      to = from + kPresetListVisibleRows;
      break;
    case EditorKey::kListFirst:
      to = 0;
      break;
    case EditorKey::kListLast:
      to = last;
      break;
    case EditorKey::kListPick:
      if (last >= 0) PickSlot(shown[static_cast<size_t>(std::max(from, 0))]);
      return true;
    default:
      return false;
  }
  if (last < 0) return true;  // nothing listed to move to
  to = std::clamp(to, 0, last);
  SetRowColor(session.highlightedPreset, false);
  session.highlightedPreset = shown[static_cast<size_t>(to)];
  SetRowColor(session.highlightedPreset, true);
  if (to < mListTop) {
    ShowListTop(to);
  } else if (to >= mListTop + kPresetListVisibleRows) {
    ShowListTop(to - kPresetListVisibleRows + 1);
  }
  return true;
}

void PresetMirror::PickSlot(int slot) {
  DeviceSession& session = mNeeds.session;
  SetRowColor(session.highlightedPreset, false);
  session.highlightedPreset = slot;
  SetRowColor(slot, true);
  switch (PresetPickActionFor(session.connected, session.saveArmed)) {
    case PresetPickAction::kStore:
      mNeeds.screen.Hide(kTagValueDisplay, false);
      // Device parameter 18 stores the edit buffer into that slot.
      mNeeds.outbox.Send(BuildParamChange(kDeviceParamStore, slot));
      // The store's wait for the pedal's dump is counted from this store on.
      mNeeds.face.blinkCount = 0;
      session.saveAwaiting = true;
      break;
    case PresetPickAction::kSelect:
      mNeeds.outbox.Send(BuildSelectPreset(slot));
      break;
    case PresetPickAction::kNone:
      break;
  }
}

// ---- checksum block and synchronisation ----

void PresetMirror::OnChecksumBlock(std::span<const uint8_t, kChecksumBlockSize> data) {
  mNeeds.outbox.Apply(mSync.OnChecksumBlock(data), kSyncProgress);
}

void PresetMirror::ContinueSync(std::span<const uint8_t> m) {
  const int offset = PatchOffsetOf(mNeeds.params);
  const PresetSync::DumpResult result = mSync.OnDump(m, offset);
  if (result.storedSlot) {
    const int slot = *result.storedSlot;
    const PresetRecord record = RecordOf(m);
    // The table moves on even when the write fails: the cache keeps its previous file,
    // and the run does not ask the pedal again and again for a slot it cannot keep.
    if (PresetCache* cache = mNeeds.cache.Get()) {
      mNeeds.cache.NoteWrite(Succeeded(cache->WritePreset(slot, record.Bytes())));
    }
    SetRowLabel(slot, CachedSlotLabel(slot, offset, record));
    if (slot == mNeeds.session.currentPreset) SetRowColor(slot, true);
  }
  mNeeds.outbox.Apply(result.step, kSyncProgress);
}

// ---- the current preset ----

void PresetMirror::NoteStored(int slot, const PresetRecord& record) {
  if (slot < 0 || slot >= kPresetCount) return;
  if (slot == mNeeds.session.currentPreset) mCurrentRecord.emplace(slot, record);
  SetRowLabel(slot, CurrentPresetLabel(slot, PatchOffsetOf(mNeeds.params), record));
  if (PresetCache* cache = mNeeds.cache.Get()) {
    const bool written = Succeeded(cache->WritePreset(slot, record.Bytes()));
    mNeeds.cache.NoteWrite(written);
    if (written) mNeeds.checksums.StoreReceived(slot, record.Checksum());
  }
}

std::optional<PresetRecord> PresetMirror::StoredRecord(int slot) const {
  if (PresetCache* cache = mNeeds.cache.Get()) {
    if (std::optional<PresetRecord> cached = cache->ReadPreset(slot)) return cached;
  }
  if (mCurrentRecord && mCurrentRecord->first == slot) return mCurrentRecord->second;
  return std::nullopt;
}

void PresetMirror::LoadStoredRecord(int slot, const PresetRecord& record) {
  // The store message has the dump's layout: slot, record and its checksum.
  ApplyCurrentPresetDump(BuildStorePresetMessage(slot, record));
}

void PresetMirror::ApplyCurrentPresetDump(std::span<const uint8_t> m) {
  const int slot = m[kSelectorOffset];
  if (slot >= kPresetCount) return;
  DeviceSession& session = mNeeds.session;
  ScreenWriter& screen = mNeeds.screen;
  const ParamCatalogue& params = mNeeds.params;
  const int offset = PatchOffsetOf(params);
  session.currentPreset = slot;

  if (session.currentPreset != session.highlightedPreset) {
    SetRowColor(session.highlightedPreset, false);
    session.highlightedPreset = session.currentPreset;
    SetRowColor(session.highlightedPreset, true);
    const int place = mFilter.IndexOf(slot);
    if (place >= 0) mNeeds.writer.SetParameterValue(kParamScroll, ListScrollForSlot(place) / 109.0);
  }

  // A damaged dump is no answer: the request stays waited on and goes out again.
  if (!VerifyRecordChecksum(m)) return;
  mNeeds.watch.Answered(SessionRequest::kCurrentPreset);

  const PresetRecord record = RecordOf(m);
  session.applyingDeviceValues = true;
  for (int i = 0; i < kNumSoundParams; ++i) {
    const uint8_t raw = record.Param(i);
    mNeeds.writer.SetParameterValue(i, params[i].ToNormalized(raw));
    mNeeds.edit.deviceSnapshot[static_cast<size_t>(i)] = raw;
  }
  mNeeds.templates.MatchTemplates();
  session.userIrASelected = false;
  session.userIrBSelected = false;

  // Not saved is judged against what just arrived, also without a window.
  mNeeds.edit.presetModified = false;
  const bool irA = params[kParamIrModeA].Raw() > 0;
  const bool irB = params[kParamIrModeB].Raw() > 0;
  ImpulseResponseState& irs = mNeeds.irState;
  if (irA) {
    irs.userIrNames.Set(kUserIrNamePositionA,
                        PositionName(record.UserIrNameField(UserIrPosition::kPosition7)));
  }
  if (irB) {
    irs.userIrNames.Set(kUserIrNamePositionB,
                        PositionName(record.UserIrNameField(UserIrPosition::kPosition8)));
  }
  if (screen.IsOpen()) {
    screen.Hide(kTagValueDisplay, false);
    screen.SetText(kTagValueDisplay, SlotNumberText(slot, offset));
    screen.ShowPresetModified(false);
    const auto name = record.NameField();
    mNeeds.edit.presetNameText.assign(name.begin(), name.end());
    screen.SetText(kTagPresetName, mNeeds.edit.presetNameText);
    screen.SetText(kTagIrNameA, irA ? irs.userIrNames.Name(kUserIrNamePositionA)
                                    : irs.positionNames.Name(kPositionA));
    screen.SetText(kTagIrNameB, irB ? irs.userIrNames.Name(kUserIrNamePositionB)
                                    : irs.positionNames.Name(kPositionB));
    if (irA || irB) mNeeds.ir.ShowIrForCurrentSelector();
  }
  SetRowLabel(slot, CurrentPresetLabel(slot, offset, record));
  session.applyingDeviceValues = false;

  PresetCache* cache = mNeeds.cache.Get();
  if (session.saveArmed) {
    session.saveArmed = false;
    session.saveAwaiting = false;
    screen.Hide(kTagValueDisplay, false);
    if (mPedalStored) mPedalStored(slot, record);
    if (cache) mNeeds.cache.NoteWrite(Succeeded(cache->WritePreset(slot, record.Bytes())));
    mNeeds.checksums.StoreReceived(slot, ReceivedChecksum(m));
  }
  mCurrentRecord.emplace(slot, record);
  if (mLoaded) mLoaded(slot);

  // Fetch a user IR the cache lacks; position 8 only when position 7 uses none.
  if (!cache) return;
  if (irA) {
    if (!cache->IsIrCached(session.userIrA)) mNeeds.ir.RequestIr(session.userIrA);
  } else if (irB) {
    if (!cache->IsIrCached(session.userIrB)) mNeeds.ir.RequestIr(session.userIrB);
  }
}

}  // namespace qd3
