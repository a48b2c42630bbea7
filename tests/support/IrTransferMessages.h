#pragma once

// The messages of one IR transfer as either side sends it: kCmdIrBegin, the data chunks
// and kCmdIrEnd of `image` as IR `number`.

#include <span>
#include <vector>

#include "protocol/TransferBuffer.h"

namespace qd3::test {

inline std::vector<Bytes> IrTransferMessages(std::span<const uint8_t> image, int number) {
  TransferBuffer buffer;
  buffer.Pack(image);
  std::vector<Bytes> messages;
  for (auto chunk = buffer.TakeNextIrChunk(number); chunk.kind != ChunkKind::kNone;
       chunk = buffer.TakeNextIrChunk(number)) {
    messages.push_back(chunk.message);
  }
  return messages;
}

}  // namespace qd3::test
