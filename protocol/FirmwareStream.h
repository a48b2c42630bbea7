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
// refused with a message; 5 s without kLoaderReady after kLoaderEnter end with a message.
// The verdict after the last chunk is not timed: the loader may take its time to program
// the image, and "Firmware update finished." has been said by then.

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
  TransferStep OnLoaderReady();   // `firmwareMode` = true, overlay shown
  TransferStep OnLoaderDone();    // `firmwareMode` = false, `connected` = false
  TransferStep OnLoaderFailed();  // the same, and "Error in update!"

  // Timer step "firmwareMode": the next chunk.
  TransferStep OnTick();
  // Every timer tick, before the priority chain: counts the silence while the loader's
  // ready is awaited.
  TransferStep OnWatchTick();

 private:
  enum class Stage : uint8_t { kIdle, kAwaitingReady, kStreaming };

  DeviceSession& mSession;
  TransferBuffer& mBuffer;
  ReplyWatchdog mWatchdog{kReplyStallTicks, 0};
  Stage mStage = Stage::kIdle;
};

}  // namespace qd3
