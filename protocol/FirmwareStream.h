#pragma once

// The firmware update's transfer: the image packed into the TransferBuffer, kLoaderEnter,
// then, from the loader's kLoaderReady on, one chunk per 100 ms tick while
// `firmwareMode`: kLoaderBegin with the group count and 240 groups, kLoaderData middle
// chunks of 240 groups while more than 240 remain, and a last kLoaderData with the
// remaining groups (exactly 240 go out as the last chunk, not a middle one) and the
// checksum. No chunk is acknowledged. The loader answers kLoaderDone or kLoaderFailed.
// Progress goes to the firmware screen ("firmwarecontrols"); every overlay in the steps
// below means that one.
//
// An image shorter than one chunk goes out as kLoaderBegin carrying its groups (the rest
// of the chunk zero) and a last chunk carrying the remaining count, 0, and the checksum:
// the count never becomes negative.
//
// Added bounds: an image that packs into more than 65,536 groups (over 57,343 bytes) is
// refused with a message, and so is an empty file; 5 s without kLoaderReady after
// kLoaderEnter end with a message, and a ready that comes later streams nothing: the
// player has been told that nothing was sent. Only the loader's kLoaderDone says
// "Firmware update finished."; after the last chunk the loader may take its time to
// program the image, but 60 s without a verdict end with a message that says so.

#include <cstdint>
#include <span>

#include "protocol/DeviceSession.h"
#include "protocol/ReplyWatchdog.h"
#include "protocol/TransferBuffer.h"
#include "protocol/TransferStep.h"
#include "protocol/TransferTexts.h"

namespace qd3 {

inline constexpr std::size_t kFirmwareFileSizeLimit = 65536;  // files this big are ignored
inline constexpr std::size_t kFirmwareImageMaxSize = 57343;   // packs into 65,536 groups
inline constexpr char kFirmwareFileExtension[] = "ldr";

inline constexpr char kTextFirmwareFinished[] = "Firmware update finished.";
inline constexpr char kTextFirmwareTooLarge[] =
    "This firmware image is too large for the pedal (more than 57,343 bytes). Nothing was "
    "sent.";
inline constexpr char kTextFirmwareEmpty[] = "This firmware file is empty. Nothing was sent.";
inline constexpr char kTextLoaderNoVerdict[] =
    "The pedal's loader received the whole image but did not say whether the update "
    "succeeded. Switch the pedal off and on, and check the firmware version it reports.";
inline constexpr int kLoaderVerdictTicks = 600;
inline constexpr char kTextLoaderSilent[] =
    "The pedal's loader does not answer. Nothing was sent; check the MIDI connection and try "
    "again.";

class FirmwareStream {
 public:
  FirmwareStream(DeviceSession& session, TransferBuffer& buffer);

  // "UPDATE FIRMWARE" with the chosen file's bytes. A file of 65,536 bytes or more is
  // ignored (kFailed, empty message: nothing to say); an image over 57,343 bytes is
  // refused with a message. Otherwise the image is packed and the step sends kLoaderEnter.
  TransferStep Start(std::span<const uint8_t> image);

  // Dispatcher, loader replies.
  TransferStep OnLoaderReady();   // `firmwareMode` = true, overlay shown, while awaited
  TransferStep OnLoaderDone();    // `firmwareMode` = false, `connected` = false; finished
  TransferStep OnLoaderFailed();  // the same, and "Error in update!"

  // Timer step "firmwareMode": the next chunk.
  TransferStep OnTick();
  // Every timer tick, before the priority chain: counts the silence while the loader's
  // ready or its verdict is awaited.
  TransferStep OnWatchTick();
  // The whole image went out and the loader has not said how it went.
  bool AwaitingVerdict() const { return mStage == Stage::kAwaitingVerdict; }

 private:
  enum class Stage : uint8_t { kIdle, kAwaitingReady, kStreaming, kAwaitingVerdict };

  DeviceSession& mSession;
  TransferBuffer& mBuffer;
  ReplyWatchdog mWatchdog{kReplyStallTicks, 0};
  ReplyWatchdog mVerdictWatchdog{kLoaderVerdictTicks, 0};
  Stage mStage = Stage::kIdle;
};

}  // namespace qd3
