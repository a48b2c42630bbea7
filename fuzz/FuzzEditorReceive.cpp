// The editor receiving a sequence of SysEx messages through its real receive path,
// headless. Byte 0 picks the state the editor is brought into first:
//   0 unconnected, 1 connected (a device-info reply of firmware 1.1), 2 synchronising
//   (connected, then a checksum block that differs in every slot and two timer ticks),
//   3 backing up (connected, a bank export to a file in the scratch folder, one tick),
//   4 restoring (a bank import of 128 presets started before the pedal answers, then
//   connected and one tick), 5 uploading an IR (connected, a small WAV loaded into user
//   IR 0, one tick), 6 firmware mode (the firmware screen opened and the loader's ready
//   reply). Dialogs are answered by a scripted platform: OK, and the paths above.
// The rest is split at every 0xF7 into messages handed to HandleDeviceMessage, with a
// timer tick after each message whose first byte is odd. Holds: no sanitizer report, no
// exception, everything the editor sends is a message the pedal's codec recognises, and
// a message the editor's own codec does not recognise (garbled, cut, a data byte with its
// top bit set) is dropped: handling it sends nothing.
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
#include "tests/support/ScriptedPlatformServices.h"

namespace {

enum class StartState : uint8_t {
  kUnconnected,
  kConnected,
  kSynchronising,
  kBackingUp,
  kRestoring,
  kUploadingIr,
  kFirmware
};
constexpr int kStateCount = 7;

void WriteFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

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
  WriteFile(path, wav);
  return path;
}

// A bank file as an export writes it: the 128 presets' dumps, no IRs. Each record is
// "Bank" with parameter values 0..99 and blank comment fields.
std::filesystem::path WriteSmallBank(const std::filesystem::path& folder) {
  constexpr std::size_t kNameSize = 32;
  constexpr std::size_t kValueCount = 65;
  constexpr std::size_t kCommentStart = qd3::kRecordSize - 2 * kNameSize;
  constexpr int kValueRange = 100;
  std::vector<uint8_t> bank;
  for (int slot = 0; slot < qd3::kPresetCount; ++slot) {
    std::vector<uint8_t> record(qd3::kRecordSize, 0);
    record[0] = 1;
    const std::string name = "Bank " + std::to_string(slot);
    for (std::size_t i = 0; i < kNameSize; ++i) record[2 + i] = i < name.size() ? name[i] : ' ';
    for (std::size_t i = 0; i < kValueCount; ++i) {
      record[2 + kNameSize + i] = static_cast<uint8_t>((i * 5) % kValueRange);
    }
    std::fill(record.begin() + kCommentStart, record.end(), ' ');
    const auto dump = qd3::BuildPresetDump(slot, record);
    bank.insert(bank.end(), dump.begin(), dump.end());
  }
  const auto path = folder / "bank.q3b";
  WriteFile(path, bank);
  return path;
}

struct Files {
  std::filesystem::path wav;
  std::filesystem::path bank;
  std::filesystem::path exportTarget;
};

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

void BringInto(qd3::QD3Control& editor, qd3::ScriptedPlatformServices& platform, StartState state,
               const Files& files) {
  if (state == StartState::kUnconnected) return;
  if (state == StartState::kRestoring) {
    // Unconnected, so the import starts without a safety backup first.
    platform.QueueOpenFileResult(files.bank.string());
    editor.ImportBank();
  }
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
  } else if (state == StartState::kBackingUp) {
    platform.QueueSaveFileResult(files.exportTarget.string());
    editor.ExportBank();
    editor.OnDeviceTimer();
  } else if (state == StartState::kRestoring) {
    editor.OnDeviceTimer();
  } else if (state == StartState::kUploadingIr) {
    editor.LoadWavIntoIr(0, files.wav.string());
    editor.OnDeviceTimer();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto base = qd3::fuzz::ScratchFolder() / "editor";
  ResetCacheFolder(base);
  static const Files kFiles{WriteSmallWav(qd3::fuzz::ScratchFolder()),
                            WriteSmallBank(qd3::fuzz::ScratchFolder()),
                            qd3::fuzz::ScratchFolder() / "export.q3b"};

  qd3::ScriptedPlatformServices platform;
  qd3::QD3Control editor;
  editor.SetPlatformServices(&platform);
  std::size_t sent = 0;
  editor.SetDeviceMessageSink([&sent](std::span<const uint8_t> m) {
    FUZZ_CHECK(qd3::MatchToDevice(m).has_value() || qd3::MatchLoaderToDevice(m).has_value());
    ++sent;
  });
  editor.OpenCache(base);
  editor.LoadCacheState();
  BringInto(editor, platform, static_cast<StartState>(data[0] % kStateCount), kFiles);

  for (const auto message :
       qd3::fuzz::SplitAtEndBytes(std::span<const uint8_t>(data + 1, size - 1))) {
    const std::size_t sentBefore = sent;
    Deliver(editor, message);
    if (!qd3::MatchFromDevice(message) && !qd3::MatchLoaderFromDevice(message)) {
      FUZZ_CHECK(sent == sentBefore);
    }
    if (!message.empty() && (message[0] & 1) != 0) editor.OnDeviceTimer();
  }
  editor.OnDeviceTimer();
  editor.OnIdleTick();
  return 0;
}
