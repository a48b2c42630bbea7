#pragma once

// Uploads one IR image into the pedal, one message per 100 ms tick:
//
//   kCmdIrBegin (IR number, G = 2785, groups 0..255)   then wait for kCmdIrChunkAck
//   kCmdIrData x 9 (256 groups each)                    one per tick, no waiting
//   kCmdIrEnd (the last 225 groups and the checksum)    then wait for kCmdIrStored
//
// The session's `irUploadNext` is the permission for the next chunk: packing sets it when
// the pedal is connected, the first and the last chunk clear it, the chunk acknowledgement
// sets it again and the middle chunks leave it set.
//
// The pedal's silence does not leave the upload hanging: after 20 ticks (2 s) without the
// chunk acknowledgement or the stored confirmation the upload starts again from the first
// chunk, at most 3 times, and then ends as failed.

#include <cstdint>
#include <span>

#include "protocol/DeviceMessages.h"
#include "protocol/DeviceSession.h"
#include "protocol/ReplyWatchdog.h"
#include "protocol/TransferBuffer.h"
#include "protocol/TransferStep.h"

namespace qd3 {

inline constexpr int kIrUploadWaitTicks = 20;
inline constexpr int kIrUploadRetries = 3;
inline constexpr char kTextIrUploadNoAnswer[] =
    "QD3 did not confirm the IR upload. Please check the connection and load the IR again.";

class IrUpload {
 public:
  enum class Phase : uint8_t {
    kIdle,           // nothing to send (also: packed while disconnected)
    kAwaitFirstAck,  // first chunk sent, waiting for kCmdIrChunkAck
    kSending,        // middle chunks, then the last, one per tick
    kAwaitStored,    // last chunk sent, waiting for kCmdIrStored
  };

  IrUpload(DeviceSession& session, TransferBuffer& buffer) : mSession(session), mBuffer(buffer) {}

  // Packs the image (2436 bytes give 2785 groups) to go to IR `irNumber`, restarting any
  // upload under way. When `connected` the upload starts on the next tick; otherwise the
  // image is only packed and nothing is sent.
  PackStatus Start(int irNumber, std::span<const uint8_t> image, bool connected);

  // The 100 ms tick while the pedal is connected: the next chunk when `irUploadNext`
  // allows it, or the watchdog's count while waiting for an answer.
  TransferStep OnTick();
  // kCmdIrChunkAck: the first chunk arrived, the rest may follow.
  void OnChunkAck();
  // kCmdIrStored: the pedal stored the IR. Finishes the upload when it was waiting for it.
  TransferStep OnStored();
  // kCmdDeviceError: the pedal refused the image. The upload ends (sending it again
  // would only be refused again); the dispatcher's "ERROR!" is the one word said.
  void OnRefused();

  bool Active() const { return mPhase != Phase::kIdle; }
  Phase CurrentPhase() const { return mPhase; }
  int IrNumber() const { return mIrNumber; }
  int Retries() const { return mWatchdog.Retries(); }

 private:
  TransferStep SendNextChunk();
  TransferStep Restart();

  DeviceSession& mSession;
  TransferBuffer& mBuffer;
  Bytes mImage;  // kept to start again after silence
  int mIrNumber = 0;
  Phase mPhase = Phase::kIdle;
  ReplyWatchdog mWatchdog{kIrUploadWaitTicks, kIrUploadRetries};
};

}  // namespace qd3
