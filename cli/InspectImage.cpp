// IR images (the 2436-byte cache file) and firmware images (opaque bytes for the loader).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/InspectKinds.h"
#include "cli/Json.h"
#include "presets/IrFileLayout.h"
#include "protocol/FirmwareStream.h"
#include "protocol/Name32.h"
#include "protocol/TransferBuffer.h"

namespace qd3::cli {
namespace {

constexpr double kQ15Scale = 32768.0;

int16_t ReadLe16(std::span<const uint8_t> bytes, std::size_t offset) {
  return static_cast<int16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

}  // namespace

InspectOutput InspectIrImage(std::span<const uint8_t> bytes, bool json) {
  const std::string name =
      ShownName(TrimName32(bytes.subspan(kIrFileNameOffset).first<kNameSize>()));
  const double gain = ReadLe16(bytes, kIrFileGainOffset) / kQ15Scale;
  int peakRaw = 0;
  for (std::size_t i = 0; i < kIrFileSampleCount; ++i) {
    const int s = ReadLe16(bytes, kIrFileSamplesOffset + i * kIrFileSampleWidth);
    peakRaw = std::max(peakRaw, std::abs(s));
  }
  const double peak = peakRaw / kQ15Scale;
  if (json) {
    JsonWriter w;
    w.BeginObject().Key("kind").String("ir").Key("name").String(name);
    w.Key("gain").Number(gain).Key("peak").Number(peak).EndObject();
    return Shown(w.Text());
  }
  char levels[64];
  std::snprintf(levels, sizeof levels, "gain %.4f\npeak %.4f\n", gain, peak);
  return Shown("IR image, 1200 samples at 44100 Hz\nname: " + EscapedForTerminal(name) + "\n" +
               levels);
}

InspectOutput InspectFirmware(std::span<const uint8_t> bytes, bool json) {
  if (bytes.size() >= kFirmwareFileSizeLimit) {
    return Broken("firmware image of " + std::to_string(bytes.size()) +
                  " bytes: the editor ignores files of 65536 bytes or more");
  }
  if (bytes.size() > kFirmwareImageMaxSize) {
    return Broken("firmware image of " + std::to_string(bytes.size()) +
                  " bytes: more than the 57343 bytes the pedal's loader takes");
  }
  // The chunks exactly as the firmware stream would cut them.
  TransferBuffer buffer;
  buffer.Pack(bytes);
  const int groups = buffer.Total();
  int chunks = 0;
  while (buffer.TakeNextLoaderChunk().kind != ChunkKind::kNone) ++chunks;
  if (json) {
    JsonWriter w;
    w.BeginObject()
        .Key("kind")
        .String("firmware")
        .Key("bytes")
        .Int(static_cast<long long>(bytes.size()));
    w.Key("groups").Int(groups).Key("chunks").Int(chunks).EndObject();
    return Shown(w.Text());
  }
  char text[160];
  std::snprintf(text, sizeof text,
                "firmware image, %zu bytes, %d groups of 7 bits, %d loader chunks (about %.1f s)\n",
                bytes.size(), groups, chunks, chunks * 0.1);
  return Shown(text);
}

}  // namespace qd3::cli
