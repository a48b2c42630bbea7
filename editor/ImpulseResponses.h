#pragma once

// Impulse responses on the editor's side: a WAV file made into a user IR and uploaded,
// the pedal's IR transfers and names, the two-step user-IR numbers, and the IR display
// that follows the cabinet selector.

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "editor/CacheKeeper.h"
#include "editor/EditorState.h"
#include "editor/Outbox.h"
#include "editor/Pages.h"
#include "editor/ParamWriter.h"
#include "editor/ScreenWriter.h"
#include "ir/IrFetch.h"
#include "ir/IrImage.h"
#include "ir/IrUpload.h"
#include "params/ParamCatalogue.h"
#include "protocol/DeviceSession.h"
#include "protocol/SessionWatch.h"
#include "protocol/TransferBuffer.h"

namespace qd3 {

// The extension of WAV files, as the load dialog filters them.
inline constexpr char kWavExtension[] = "wav";

class ImpulseResponses {
 public:
  // The IR display of the open window, given the working buffer after every ShowIr.
  using DisplaySink = std::function<void(const IrWorkingBuffer&)>;
  // Why an upload ended without the pedal's kCmdIrStored.
  enum class UploadLoss : uint8_t { kRefused, kUnanswered, kReplaced };
  // Told when an upload of UploadImage ends unconfirmed. True when it told the player,
  // who then gets no second box for the same refusal or silence.
  using ImportLossSink = std::function<bool(UploadLoss)>;

  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    CacheKeeper& cache;
    DeviceSession& session;
    SessionWatch& watch;
    const ParamCatalogue& params;
    ParamWriter& writer;
    Pages& pages;
    TransferBuffer& transferBuffer;
    ImpulseResponseState& state;
  };
  explicit ImpulseResponses(const Needs& needs);

  void SetDisplaySink(DisplaySink sink) { mDisplaySink = std::move(sink); }
  void SetImportLossSink(ImportLossSink sink) { mImportLoss = std::move(sink); }

  // The load button of cabinet position 7 (or 8): the number of the current slot's own
  // user IR goes to the pedal in two halves, then the chosen WAV file becomes that IR.
  void LoadUserIrWav(bool positionB);
  // The same with `wavPath` in place of the dialog's choice.
  void LoadUserIrWavFile(bool positionB, const std::string& wavPath);
  // Converts, caches, names and uploads `wavPath` as IR `target`. False when the file
  // could not be read as a WAV file; the player has been told why.
  bool LoadWavIntoIr(int target, const std::string& wavPath);
  // An IR image of a preset file: into the working buffer, cached and uploaded as `target`.
  void UploadImage(const IrImageBytes& block, int target);

  // Refills the working buffer for cabinet selector value `irValue` and shows it.
  void ShowIr(int irValue);
  void ShowIrForCurrentSelector();
  // After a WAV load's upload: the graph goes on showing the loaded position until the
  // player picks a cabinet; otherwise as ShowIrForCurrentSelector.
  void ShowIrAfterUpload();
  void RequestIr(int irNumber);
  void RequestIrNames(int bank);
  // The timer's request of an IR the pedal names but the cache lacks.
  void RequestSelectedUserIr();
  // A user-IR number of position 7 (or 8) was completed by its low half.
  void CheckEditedUserIr(bool positionB);

  // The pedal's replies.
  void OnIrTransfer(DeviceCommand command, std::span<const uint8_t> m);
  void OnIrNames(std::span<const uint8_t> m);
  void OnIrName(std::span<const uint8_t> m);
  // kCmdAck: the pedal took the high half of a user-IR number; the low half follows.
  void OnAck();
  void OnChunkAck();
  // kCmdDeviceError: "ERROR!", and an upload in flight is refused.
  void OnDeviceError();
  // kCmdIrStored: the upload's step. True when it confirmed an upload of UploadImage.
  bool OnStored();
  // The device timer's step while connected.
  void OnTick();
  // The host's running count of incoming messages it had to drop (receive queue full,
  // too long). A fetch that fails after such a drop says the loss was on this side.
  void NoteDroppedInput(uint64_t total) { mDroppedInput = total; }

 private:
  // The cache file an upload overwrote, kept until the pedal confirms the upload:
  // refused or given up, the pedal still holds the old image and so does the cache again.
  struct CacheUndo {
    int irNumber = 0;
    std::optional<std::array<uint8_t, kIrFileSize>> previous;  // none: there was no file
  };

  // The load button's first half: position 7 (or 8) edited, the high half of its own
  // user-IR number sent. Returns that number.
  int SelectUserIrPosition(bool positionB);
  // The second half, once a file is chosen: the question before a held IR is replaced.
  void LoadChosenWav(int target, const std::string& path);
  void CompleteIrReceive(const ReceivedIr& received);
  // Caches `image` as IR `target` and starts its upload, ending any upload under way.
  // Returns the cache's answer; kNoCacheFile without a cache.
  CacheWriteStatus CacheAndUpload(int target, std::span<const uint8_t> image, bool forImport);
  // An upload under way ended without kCmdIrStored: the cache gets its old file back and
  // an import's upload tells the import. True when the import told the player.
  bool UploadLost(UploadLoss why);
  void RestoreCachedIr();
  void ShowIrName(int target, const std::string& name);
  void ApplyFetch(TransferStep step);
  // Fills the working buffer for selector value `irValue` and hands it to the display.
  void Display(int irValue);
  // The selector value of user-IR position 7 or 8, for the display only.
  int SelectorValueOfPosition(bool positionB) const;

  Needs mNeeds;
  IrUpload mUpload;
  std::optional<CacheUndo> mUndo;
  bool mImportUpload = false;  // the upload under way is a preset file's IR
  IrFetch mFetch;
  uint64_t mDroppedInput = 0;
  uint64_t mDroppedAtRequest = 0;  // mDroppedInput when the outstanding fetch began
  DisplaySink mDisplaySink;
  ImportLossSink mImportLoss;
  // The user-IR position (false: 7, true: 8) the last WAV load went to, while the graph
  // shows it rather than the selector's cabinet.
  std::optional<bool> mLoadedShown;
};

}  // namespace qd3
