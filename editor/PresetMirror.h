#pragma once

// The pedal's presets as the editor mirrors them: the disk cache and the preset list's
// rows, the checksum comparison and the synchronisation that fetches changed slots, and
// the dump of the current preset that loads the edit buffer.

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "editor/CacheKeeper.h"
#include "editor/EditorKey.h"
#include "editor/EditorState.h"
#include "editor/ImpulseResponses.h"
#include "editor/Outbox.h"
#include "editor/ParamWriter.h"
#include "editor/PresetListFilter.h"
#include "editor/ScreenWriter.h"
#include "editor/TemplatesAndFiles.h"
#include "presets/ChecksumTable.h"
#include "presets/PresetSync.h"

namespace qd3 {

class PresetMirror {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    CacheKeeper& cache;
    DeviceSession& session;
    SessionWatch& watch;
    const ParamCatalogue& params;
    ParamWriter& writer;
    ChecksumTable& checksums;
    EditBufferState& edit;
    ImpulseResponseState& irState;
    ImpulseResponses& ir;
    TemplatesAndFiles& templates;
    PedalFaceState& face;
  };
  explicit PresetMirror(const Needs& needs);

  // The screens' 128 rows, labelled and coloured as the editor knows them.
  void AttachRows(const ScreenWriter::PresetRows& rows);
  const std::string& RowLabel(int slot) const { return mRowLabels.at(static_cast<size_t>(slot)); }

  // Start-up and after the cache was rebuilt: folder scan, then the list and the
  // checksum table from the cached files.
  void LoadCacheState();
  // "Clear Cache Data": removes every cached preset and IR, keeps the WAV files.
  void ClearCacheData();
  // The pedal's presets changed wholesale: the cached ones go, the list is rebuilt.
  void DeleteCacheAndBuildList();
  // The list's labels with the current "PATCH OFFSET".
  void Relabel();

  // The scroll bar's value, and a click on a visible row.
  void Scroll(int scroll);
  void Pick(int row);
  // A wheel turn over the list: 3 rows, 1 with `fine` (Shift or Ctrl); positive is up.
  void WheelList(bool positive, bool fine);
  // The list keys: the highlight moves and is scrolled into view, or is picked. False for
  // the other keys.
  bool OnListKey(EditorKey key);
  int ListTop() const { return mListTop; }
  // The filter field: only the rows whose number or name holds `text` are listed, from
  // the top; Return in the field picks the first of them.
  void Filter(const std::string& text);
  void PickFirstShown();
  // The slot a visible row shows (0 at the top); -1 below the last one listed.
  int SlotAtRow(int row) const;
  const PresetListFilter& ListFilter() const { return mFilter; }

  PresetSync& Sync() { return mSync; }
  void OnChecksumBlock(std::span<const uint8_t, kChecksumBlockSize> data);
  // A dump the synchronisation asked for.
  void ContinueSync(std::span<const uint8_t> m);
  // A dump of the current preset: into the edit buffer, the display and the list.
  void ApplyCurrentPresetDump(std::span<const uint8_t> m);
  // The editor stored `record` into `slot`: its row and its cache file show it at once.
  // The checksum table takes the record's checksum too, so that a pedal that did not
  // store it (protected) differs at the next comparison and is asked for the slot again.
  void NoteStored(int slot, const PresetRecord& record);
  // The record `slot` holds as far as the editor knows: its cache file, or the dump of
  // the current preset; nothing for a slot never seen.
  std::optional<PresetRecord> StoredRecord(int slot) const;
  // A record written into the current slot becomes the pedal's edit buffer: the editor
  // loads it as it loads the pedal's dump.
  void LoadStoredRecord(int slot, const PresetRecord& record);
  // Told after each current preset loaded into the edit buffer.
  using LoadedSink = std::function<void(int slot)>;
  void SetLoadedSink(LoadedSink sink) { mLoaded = std::move(sink); }
  // Told of the record a pedal-side store (the save button) put into a slot, before the
  // cache takes it.
  using PedalStoredSink = std::function<void(int slot, const PresetRecord& record)>;
  void SetPedalStoredSink(PedalStoredSink sink) { mPedalStored = std::move(sink); }

 private:
  void ShowListTop(int listTop);
  // The rows from mListTop on, the filtered-out ones hidden.
  void PlaceRows();
  int MaxListTop() const;
  void PickSlot(int slot);
  void SetRowLabel(int slot, std::string label);
  void SetRowColor(int slot, bool current);
  void ApplyList(const PresetList& list);

  Needs mNeeds;
  LoadedSink mLoaded;
  PedalStoredSink mPedalStored;
  // The current preset's record as last loaded or stored.
  std::optional<std::pair<int, PresetRecord>> mCurrentRecord;
  PresetSync mSync;
  std::array<std::string, kPresetCount> mRowLabels;
  int mListTop = 0;  // the preset list's first visible row, among those the filter shows
  PresetListFilter mFilter;
};

}  // namespace qd3
