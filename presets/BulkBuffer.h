#pragma once

// The 1,048,576-byte buffer that the bank export and the bank import share (they never
// run together). It is allocated zeroed by calloc: a block this large comes straight from
// the system's zero pages, so only the pages a transfer writes become resident. An editor
// that never moves a bank does not pay a megabyte of memory, nor the time to clear it.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>

#include "presets/BankFile.h"

namespace qd3 {

class BulkBuffer {
 public:
  BulkBuffer() : mBytes(static_cast<uint8_t*>(std::calloc(kBulkBufferSize, 1))) {
    if (!mBytes) throw std::bad_alloc();
  }

  std::span<uint8_t> Bytes() { return {mBytes.get(), kBulkBufferSize}; }
  static constexpr std::size_t Size() { return kBulkBufferSize; }

 private:
  struct Free {
    void operator()(uint8_t* bytes) const { std::free(bytes); }
  };
  std::unique_ptr<uint8_t, Free> mBytes;
};

}  // namespace qd3
