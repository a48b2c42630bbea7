#pragma once

// The outgoing buffer of packed 7-bit groups shared by the impulse-response upload and the
// firmware transfer (never both at once), and the chunking of its groups into messages.
//
// A transfer is cut into a first chunk, middle chunks and a last chunk that also carries
// the checksum over all G groups. A chunk is the last one when the groups still to send
// are at most one chunk. The first chunk always carries a whole chunk, so an image of
// fewer groups sends zero groups from the zero-filled buffer there (the receiver keeps
// only G groups, and zeros leave the checksum as it is), followed by an empty last chunk
// with the checksum.

#include <cstdint>
#include <span>

#include "protocol/Checksum14.h"
#include "protocol/DeviceMessages.h"

namespace qd3 {

enum class PackStatus : uint8_t {
  kPacked,
  kTooLarge,  // the image packs into more than 65,536 groups; nothing was packed
};

enum class ChunkKind : uint8_t {
  kNone,  // nothing packed, or the last chunk has gone
  kFirst,
  kMiddle,
  kLast,
};

struct TransferChunk {
  ChunkKind kind = ChunkKind::kNone;
  Bytes message;  // empty for kNone
};

class TransferBuffer {
 public:
  TransferBuffer();

  // Zero-fills the buffer and packs the image into G = floor(8N / 7) + 1 groups, ready to
  // send from the first chunk; a transfer under way is abandoned. An image too large for
  // the buffer is refused and leaves nothing to send.
  PackStatus Pack(std::span<const uint8_t> image);

  // The next impulse-response message (kCmdIrBegin for IR `irNumber`, kCmdIrData,
  // kCmdIrEnd; 256 groups per chunk), advancing position and remaining.
  TransferChunk TakeNextIrChunk(int irNumber);
  // The next firmware message (kLoaderBegin, kLoaderData middle or last; 240 groups).
  TransferChunk TakeNextLoaderChunk();

  bool HasNextChunk() const { return mStage != Stage::kIdle; }
  int Position() const { return mPosition; }    // next group to send
  int Remaining() const { return mRemaining; }  // groups not yet sent
  int Total() const { return mTotal; }          // G
  Checksum14Pair Checksum() const { return mChecksum; }
  std::span<const uint8_t> Groups() const;  // the G packed groups

 private:
  enum class Stage : uint8_t { kIdle, kFirst, kFollowing };

  struct Step {
    ChunkKind kind = ChunkKind::kNone;
    std::span<const uint8_t> groups;
  };
  // Picks the next chunk of `chunkGroups` groups and advances past it.
  Step Advance(std::size_t chunkGroups);

  Bytes mGroups;  // kTransferBufferSize groups, allocated once
  Stage mStage = Stage::kIdle;
  int mPosition = 0;
  int mRemaining = 0;
  int mTotal = 0;
  Checksum14Pair mChecksum;
};

}  // namespace qd3
