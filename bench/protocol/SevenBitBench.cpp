// Packing and unpacking one impulse-response image (2436 bytes, 2785 groups), the work
// done once per IR upload and once per IR fetch.

#include <benchmark/benchmark.h>

#include <array>

#include "protocol/SevenBit.h"
#include "protocol/TransferBuffer.h"

namespace qd3 {
namespace {

constexpr std::size_t kIrImageBytes = 2436;

Bytes IrImage() {
  Bytes image(kIrImageBytes);
  uint32_t seed = 1;
  for (uint8_t& b : image) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return image;
}

void BM_Pack7BitWithChecksum(benchmark::State& state) {
  const Bytes image = IrImage();
  std::array<uint8_t, kTransferBufferSize> groups{};
  for (auto _ : state) {
    auto packed = Pack7Bit(image, groups);
    benchmark::DoNotOptimize(packed);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kIrImageBytes));
}
BENCHMARK(BM_Pack7BitWithChecksum);

// As the upload does it: zero-fill all 65,536 groups, then pack.
void BM_TransferBufferPack(benchmark::State& state) {
  const Bytes image = IrImage();
  TransferBuffer buffer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(buffer.Pack(image));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TransferBufferPack);

void BM_Unpack7Bit(benchmark::State& state) {
  const Bytes groups = Pack7Bit(IrImage());
  for (auto _ : state) {
    Bytes bytes = Unpack7Bit(groups);
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["groups"] = static_cast<double>(groups.size());
}
BENCHMARK(BM_Unpack7Bit);

}  // namespace
}  // namespace qd3
