// The editor receiving a sequence of SysEx messages through its real receive path,
// headless. Byte 0 picks the state the editor is brought into first:
//   0 unconnected, 1 connected (a device-info reply of firmware 1.1), 2 synchronising
//   (connected, then a checksum block that differs in every slot and two timer ticks),
//   3 uploading an IR (connected, a small WAV loaded into user IR 0, one tick),
//   4 firmware mode (the firmware screen opened and the loader's ready reply).
// The rest is split at every 0xF7 into messages handed to HandleDeviceMessage, with a
// timer tick after each message whose first byte is odd. Holds: no sanitizer report, no
// exception, and everything the editor sends is a message the pedal's codec recognises.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "QD3Control.h"
#include "fuzz/FuzzSupport.h"
#include "presets/PresetCache.h"
#include "protocol/DeviceReplies.h"
#include "protocol/MessageBuilders.h"
#include "protocol/MessageMatch.h"

namespace {

enum class StartState : uint8_t {
  kUnconnected,
  kConnected,
  kSynchronising,
  kUploadingIr,
  kFirmware
};
constexpr int kStateCount = 5;

// 64 frames of a 16-bit mono 44100 Hz ramp: the smallest WAV the reader takes whole.
std::filesystem::path WriteSmallWav(const std::filesystem::path& folder) {
  constexpr uint32_t kFrames = 64;
  constexpr uint32_t kRate = 44100;
  std::vector<uint8_t> wav;
  const auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) wav.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const auto put16 = [&](uint16_t v) {
    wav.push_back(static_cast<uint8_t>(v));
    wav.push_back(static_cast<uint8_t>(v >> 8));
  };
  const auto tag = [&](const char* t) { wav.insert(wav.end(), t, t + 4); };
  tag("RIFF");
  put32(36 + kFrames * 2);
  tag("WAVE");
  tag("fmt ");
  put32(16);
  put16(1);  // integer PCM
  put16(1);  // mono
  put32(kRate);
  put32(kRate * 2);
  put16(2);
  put16(16);
  tag("data");
  put32(kFrames * 2);
  for (uint32_t i = 0; i < kFrames; ++i) put16(static_cast<uint16_t>(i * 512));
  const auto path = folder / "ir.wav";
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
  return path;
}

// Every input starts from an empty cache. The factory WAV files the editor installs on
// its first start stay, which spares eight file writes per input.
void ResetCacheFolder(const std::filesystem::path& base) {
  std::error_code ignored;
  std::filesystem::create_directories(base, ignored);
  qd3::PresetCache(base).DeleteCachedDatFiles();
  for (const auto& entry : std::filesystem::directory_iterator(base, ignored)) {
    if (entry.path().filename() != qd3::kFactoryIrsFolderName) {
      std::filesystem::remove_all(entry.path(), ignored);
    }
  }
}

void Deliver(qd3::QD3Control& editor, std::span<const uint8_t> message) {
  editor.HandleDeviceMessage(message.data(), message.size());
}

void BringInto(qd3::QD3Control& editor, StartState state, const std::filesystem::path& wav) {
  if (state == StartState::kUnconnected) return;
  if (state == StartState::kFirmware) {
    editor.OpenFirmwareUpdate();
    Deliver(editor, qd3::BuildLoaderReply(qd3::kLoaderReady));
    return;
  }
  Deliver(editor, qd3::BuildDeviceInfo(11, "X"));
  if (state == StartState::kSynchronising) {
    std::vector<uint8_t> pairs(qd3::kRecordSize, 0x01);  // every slot differs from (0, 0)
    Deliver(editor, qd3::BuildDataBlock(qd3::kBlockPresetChecksums, pairs));
    editor.OnDeviceTimer();
    editor.OnDeviceTimer();
  } else if (state == StartState::kUploadingIr) {
    editor.LoadWavIntoIr(0, wav.string());
    editor.OnDeviceTimer();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto base = qd3::fuzz::ScratchFolder() / "editor";
  ResetCacheFolder(base);
  static const std::filesystem::path kWav = WriteSmallWav(qd3::fuzz::ScratchFolder());

  qd3::QD3Control editor;
  editor.SetDeviceMessageSink([](std::span<const uint8_t> m) {
    FUZZ_CHECK(qd3::MatchToDevice(m).has_value() || qd3::MatchLoaderToDevice(m).has_value());
  });
  editor.OpenCache(base);
  editor.LoadCacheState();
  BringInto(editor, static_cast<StartState>(data[0] % kStateCount), kWav);

  for (const auto message :
       qd3::fuzz::SplitAtEndBytes(std::span<const uint8_t>(data + 1, size - 1))) {
    Deliver(editor, message);
    if (!message.empty() && (message[0] & 1) != 0) editor.OnDeviceTimer();
  }
  editor.OnDeviceTimer();
  editor.OnIdleTick();
  return 0;
}
