#include "simulator/StateFile.h"

#include <signal.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <system_error>

namespace qd3::sim {
namespace {

constexpr std::array<uint8_t, 8> kMagic = {'Q', 'D', '3', 'S', 'I', 'M', 'S', 'T'};
constexpr uint32_t kFormat = 1;
constexpr std::size_t kHeaderSize = kMagic.size() + 4 + 4;
constexpr std::size_t kCrcSize = 4;
constexpr char kTempInfix[] = ".tmp.";  // "<name>.tmp.<pid>" while a save is under way
constexpr char kBadSuffix[] = ".bad";
constexpr std::size_t kSerialField = kSerialSize;

constexpr std::size_t kPayloadSize =
    3 + kSerialField + (2 * kPresetCount + 1) * kRecordSize + kRecordSize + kControllerCount +
    kPresetCount + (kUserIrCount + kFactoryBankCount + kCabinetCount) * kIrImageSize;

// ---- Writing ---------------------------------------------------------------------------------

class Writer {
 public:
  void U8(uint8_t value) { mBytes.push_back(value); }
  void U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) U8(static_cast<uint8_t>(value >> shift));
  }
  void Raw(std::span<const uint8_t> bytes) {
    mBytes.insert(mBytes.end(), bytes.begin(), bytes.end());
  }
  template <typename T>
  void All(const std::vector<T>& items) {
    for (const T& item : items) Raw(item);
  }
  qd3::Bytes& Written() { return mBytes; }

 private:
  Bytes mBytes;
};

// ---- Reading ---------------------------------------------------------------------------------

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : mBytes(bytes) {}
  uint8_t U8() { return mBytes[mPos++]; }
  uint32_t U32() {
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= static_cast<uint32_t>(U8()) << shift;
    return value;
  }
  std::span<const uint8_t> Raw(std::size_t count) {
    const auto piece = mBytes.subspan(mPos, count);
    mPos += count;
    return piece;
  }
  template <std::size_t N>
  void Into(std::array<uint8_t, N>& target) {
    const auto piece = Raw(N);
    std::copy(piece.begin(), piece.end(), target.begin());
  }
  template <std::size_t N>
  std::vector<std::array<uint8_t, N>> Many(std::size_t count) {
    std::vector<std::array<uint8_t, N>> items(count);
    for (auto& item : items) Into(item);
    return items;
  }

 private:
  std::span<const uint8_t> mBytes;
  std::size_t mPos = 0;
};

bool SevenBit(std::span<const uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b <= kDataMask; });
}

bool ValidContent(const PedalState& state, uint8_t serialLength) {
  auto records = [](const std::vector<Record>& all) {
    return std::all_of(all.begin(), all.end(), [](const Record& r) { return IsValidRecord(r); });
  };
  return state.firmwareVersion <= kMax7 && state.currentPreset < kPresetCount &&
         serialLength <= kSerialField && records(state.presets) && records(state.factoryPresets) &&
         IsValidRecord(state.editBuffer) && SevenBit(state.globals) &&
         SevenBit(state.controllerMap) && SevenBit(state.programMap) &&
         SevenBit(
             std::span(reinterpret_cast<const uint8_t*>(state.serial.data()), state.serial.size()));
}

}  // namespace

const char* DescribeStateFileStatus(StateFileStatus status) {
  switch (status) {
    case StateFileStatus::kOk:
      return "ok";
    case StateFileStatus::kCannotOpen:
      return "cannot be opened";
    case StateFileStatus::kWrongSize:
      return "has the wrong size";
    case StateFileStatus::kBadMagic:
      return "is not a pedal state file";
    case StateFileStatus::kNewerFormat:
      return "was written by a newer simulator";
    case StateFileStatus::kUnknownFormat:
      return "has a format number no simulator writes";
    case StateFileStatus::kBadCrc:
      return "is damaged (CRC mismatch)";
    case StateFileStatus::kBadContent:
      return "holds values out of range";
    case StateFileStatus::kWriteFailed:
      return "could not be written";
  }
  return "unknown";
}

uint32_t Crc32(std::span<const uint8_t> bytes) {
  // zlib's CRC-32 is this checksum (polynomial 0xEDB88320, reflected, all ones in and out),
  // several times faster than a byte-wise table over the 790 kB of a state file.
  uLong crc = crc32(0L, Z_NULL, 0);
  while (!bytes.empty()) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size(), std::numeric_limits<uInt>::max());
    crc = crc32(crc, bytes.data(), static_cast<uInt>(chunk));
    bytes = bytes.subspan(chunk);
  }
  return static_cast<uint32_t>(crc);
}

Bytes EncodeState(const PedalState& state) {
  Writer payload;
  payload.U8(static_cast<uint8_t>(state.firmwareVersion));
  payload.U8(static_cast<uint8_t>(state.currentPreset));
  const std::size_t serialLength = std::min(state.serial.size(), kSerialField);
  payload.U8(static_cast<uint8_t>(serialLength));
  std::array<uint8_t, kSerialField> serial{};
  std::copy_n(state.serial.begin(), serialLength, serial.begin());
  payload.Raw(serial);
  payload.All(state.presets);
  payload.All(state.factoryPresets);
  payload.Raw(state.editBuffer);
  payload.Raw(state.globals);
  payload.Raw(state.controllerMap);
  payload.Raw(state.programMap);
  payload.All(state.userIrs);
  payload.All(state.factoryBankIrs);
  payload.All(state.cabinetIrs);

  Writer file;
  file.Raw(kMagic);
  file.U32(kFormat);
  file.U32(static_cast<uint32_t>(payload.Written().size()));
  file.Raw(payload.Written());
  file.U32(Crc32(payload.Written()));
  return std::move(file.Written());
}

StateFileStatus DecodeState(std::span<const uint8_t> image, PedalState& out) {
  if (image.size() < kHeaderSize) return StateFileStatus::kWrongSize;
  if (!std::equal(kMagic.begin(), kMagic.end(), image.begin())) return StateFileStatus::kBadMagic;
  Reader header(image.subspan(kMagic.size()));
  const uint32_t format = header.U32();
  if (format > kFormat) return StateFileStatus::kNewerFormat;
  // Only format 1 exists; an older one would be converted here. Format 0 was taken for 1
  // and written back as 1 (found by fuzzing): nothing ever wrote it.
  if (format < kFormat) return StateFileStatus::kUnknownFormat;
  if (header.U32() != kPayloadSize || image.size() != kHeaderSize + kPayloadSize + kCrcSize) {
    return StateFileStatus::kWrongSize;
  }
  const auto payload = image.subspan(kHeaderSize, kPayloadSize);
  if (Reader(image.subspan(kHeaderSize + kPayloadSize)).U32() != Crc32(payload)) {
    return StateFileStatus::kBadCrc;
  }

  Reader in(payload);
  PedalState state;
  state.firmwareVersion = in.U8();
  state.currentPreset = in.U8();
  const uint8_t serialLength = in.U8();
  const auto serial = in.Raw(kSerialField);
  state.serial.assign(serial.begin(),
                      serial.begin() + std::min<std::size_t>(serialLength, kSerialField));
  state.presets = in.Many<kRecordSize>(kPresetCount);
  state.factoryPresets = in.Many<kRecordSize>(kPresetCount);
  in.Into(state.editBuffer);
  in.Into(state.globals);
  in.Into(state.controllerMap);
  in.Into(state.programMap);
  state.userIrs = in.Many<kIrImageSize>(kUserIrCount);
  state.factoryBankIrs = in.Many<kIrImageSize>(kFactoryBankCount);
  state.cabinetIrs = in.Many<kIrImageSize>(kCabinetCount);
  if (!ValidContent(state, serialLength)) return StateFileStatus::kBadContent;
  out = std::move(state);
  return StateFileStatus::kOk;
}

StateFileStatus SaveStateFile(const PedalState& state, const std::filesystem::path& path) {
  const Bytes image = EncodeState(state);
  std::filesystem::path temp = path;
  temp += kTempInfix + std::to_string(getpid());
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) return StateFileStatus::kWriteFailed;
  const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size() &&
                       std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  const bool closed = std::fclose(file) == 0;
  std::error_code error;
  if (written && closed) std::filesystem::rename(temp, path, error);
  if (!written || !closed || error) {
    std::filesystem::remove(temp, error);
    return StateFileStatus::kWriteFailed;
  }
  return StateFileStatus::kOk;
}

StateFileStatus LoadStateFile(const std::filesystem::path& path, PedalState& out) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return StateFileStatus::kCannotOpen;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return StateFileStatus::kCannotOpen;
  if (size != kHeaderSize + kPayloadSize + kCrcSize) return StateFileStatus::kWrongSize;
  std::ifstream file(path, std::ios::binary);
  if (!file) return StateFileStatus::kCannotOpen;
  const Bytes image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return StateFileStatus::kCannotOpen;
  return DecodeState(image, out);
}

namespace {

// "<name>.tmp.<pid>" beside `path` whose process is gone; a running simulator's own
// temporary (a save under way) is left alone.
int RemoveStaleTemporaries(const std::filesystem::path& path) {
  const std::string prefix = path.filename().string() + kTempInfix;
  std::error_code error;
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  int removed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || !entry.is_regular_file(error)) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) {
          return std::isdigit(static_cast<unsigned char>(c)) != 0;
        }))
      continue;
    const long pid = std::strtol(digits.c_str(), nullptr, 10);
    if (pid > 0 && pid != getpid() && (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)) {
      continue;
    }
    if (std::filesystem::remove(entry.path(), error)) ++removed;
  }
  return removed;
}

}  // namespace

StartLoad LoadStateFileAtStart(const std::filesystem::path& path, PedalState& out) {
  StartLoad load;
  load.removedTemporaries = RemoveStaleTemporaries(path);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return load;
  load.status = LoadStateFile(path, out);
  if (load.status == StateFileStatus::kOk || load.status == StateFileStatus::kCannotOpen) {
    return load;
  }
  std::filesystem::path bad = path;
  bad += kBadSuffix;
  std::filesystem::rename(path, bad, error);
  if (!error) load.setAside = bad;
  return load;
}

}  // namespace qd3::sim
