// Loading a WAV into an upload-ready IR (read, image, packing) and refilling the IR
// display for a selector between two cabinets: the work behind a load button and behind
// every step of the IR slider.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ir/IrDisplay.h"
#include "ir/IrImage.h"
#include "ir/IrNumbers.h"
#include "ir/WavReader.h"
#include "protocol/TransferBuffer.h"

namespace qd3 {
namespace {

void Le(Bytes& out, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// One second of 48 kHz 16-bit stereo: a decaying tone.
Bytes StereoSecondWav() {
  constexpr int kRate = 48000;
  constexpr int kChannels = 2;
  Bytes wav = {'R', 'I', 'F', 'F'};
  Le(wav, 36 + kRate * kChannels * 2, 4);
  for (const char c : std::string("WAVEfmt ")) wav.push_back(static_cast<uint8_t>(c));
  Le(wav, 16, 4);
  Le(wav, 1, 2);
  Le(wav, kChannels, 2);
  Le(wav, kRate, 4);
  Le(wav, kRate * kChannels * 2, 4);
  Le(wav, kChannels * 2, 2);
  Le(wav, 16, 2);
  for (const char c : std::string("data")) wav.push_back(static_cast<uint8_t>(c));
  Le(wav, kRate * kChannels * 2, 4);
  for (int i = 0; i < kRate; ++i) {
    const auto v = static_cast<int16_t>(30000 * std::exp(-i / 2000.0) * std::sin(i * 0.03));
    Le(wav, static_cast<uint16_t>(v), 2);
    Le(wav, static_cast<uint16_t>(-v), 2);
  }
  return wav;
}

void BM_WavToPackedImage(benchmark::State& state) {
  const Bytes wav = StereoSecondWav();
  const auto name = IrNameFromWavPath("/irs/Bench Cab.wav");
  IrWorkingBuffer buffer;
  TransferBuffer transfer;
  for (auto _ : state) {
    const WavReadResult read = ReadWav(wav, buffer);
    const IrImageResult image = MakeIrImage(buffer, name);
    buffer.gain = image.gain;
    benchmark::DoNotOptimize(read);
    benchmark::DoNotOptimize(transfer.Pack(image.image));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WavToPackedImage)->Unit(benchmark::kMicrosecond);

// The same from a file on disk, as the load button does it.
void BM_WavFileToPackedImage(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / "qd3-ir-bench.wav";
  {
    const Bytes wav = StereoSecondWav();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(wav.data(), 1, wav.size(), file);
    std::fclose(file);
  }
  const auto name = IrNameFromWavPath(path.string());
  IrWorkingBuffer buffer;
  TransferBuffer transfer;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadWav(path, buffer));
    const IrImageResult image = MakeIrImage(buffer, name);
    benchmark::DoNotOptimize(transfer.Pack(image.image));
    benchmark::ClobberMemory();
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_WavFileToPackedImage)->Unit(benchmark::kMicrosecond);

// Parameter 14 = 71: positions 4 and 5 read from the cache and blended.
void BM_ShowIrCrossfade(benchmark::State& state) {
  const auto base = std::filesystem::temp_directory_path() / "qd3-ir-bench-cache";
  std::filesystem::remove_all(base);
  PresetCache cache(base);
  IrWorkingBuffer source;
  for (std::size_t i = 0; i < 1200; ++i)
    source.samples[i] = std::sin(i * 0.1) * std::exp(-i / 300.0);
  const std::array<uint8_t, kNameSize> name{};
  for (int k = 1; k <= 8; ++k) {
    cache.WriteIrImage(CabinetIrOfPosition(k), MakeIrImage(source, name).image);
  }
  const CachedIrPositionSource positions(cache);
  IrWorkingBuffer buffer;
  for (auto _ : state) {
    ShowIr({.irValue = 71}, positions, buffer);
    benchmark::DoNotOptimize(buffer.samples.data());
    benchmark::ClobberMemory();
  }
  std::filesystem::remove_all(base);
}
BENCHMARK(BM_ShowIrCrossfade)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qd3
