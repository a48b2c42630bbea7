#pragma once

// A tiny WAV writer for the tests: RIFF/WAVE with an optional JUNK chunk before "fmt ",
// extra fmt bytes, an optional chunk between fmt and data, and raw sample bytes.

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "protocol/DeviceMessages.h"

namespace qd3::test {

struct WavLayout {
  int formatTag = 1;
  int channels = 1;
  int sampleRate = 44100;
  int bits = 16;
  int blockAlign = -1;    // -1: channels * bits / 8
  Bytes junk;             // contents of a JUNK chunk before "fmt " (none when empty)
  Bytes fmtExtra;         // bytes after the 16 fmt fields, counted in the fmt size
  Bytes between;          // contents of a LIST chunk between fmt and data (none when empty)
  int64_t dataSize = -1;  // -1: the size of the sample bytes
};

inline void Put(Bytes& out, std::string_view id) {
  out.insert(out.end(), id.begin(), id.end());
}
inline void Le(Bytes& out, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline Bytes MakeWav(const WavLayout& w, const Bytes& samples) {
  Bytes out;
  Put(out, "RIFF");
  Le(out, 0, 4);  // patched below
  Put(out, "WAVE");
  if (!w.junk.empty()) {
    Put(out, "JUNK");
    Le(out, w.junk.size(), 4);
    out.insert(out.end(), w.junk.begin(), w.junk.end());
  }
  Put(out, "fmt ");
  Le(out, 16 + w.fmtExtra.size(), 4);
  Le(out, static_cast<uint64_t>(w.formatTag), 2);
  Le(out, static_cast<uint64_t>(w.channels), 2);
  Le(out, static_cast<uint64_t>(w.sampleRate), 4);
  const int align = w.blockAlign >= 0 ? w.blockAlign : w.channels * w.bits / 8;
  Le(out, static_cast<uint64_t>(w.sampleRate * align), 4);
  Le(out, static_cast<uint64_t>(align), 2);
  Le(out, static_cast<uint64_t>(w.bits), 2);
  out.insert(out.end(), w.fmtExtra.begin(), w.fmtExtra.end());
  if (!w.between.empty()) {
    Put(out, "LIST");
    Le(out, w.between.size(), 4);
    out.insert(out.end(), w.between.begin(), w.between.end());
  }
  Put(out, "data");
  Le(out, w.dataSize >= 0 ? static_cast<uint64_t>(w.dataSize) : samples.size(), 4);
  out.insert(out.end(), samples.begin(), samples.end());
  const auto riffSize = static_cast<uint32_t>(out.size() - 8);
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(riffSize >> (8 * i));
  return out;
}

// The 22 bytes an extensible fmt chunk (tag 0xFFFE) carries after cbSize: valid bits,
// channel mask and the sub-format GUID of format code `code`
// ({code-0000-0010-8000-00AA00389B71}); `guidTail` replaces the GUID's last 14 bytes.
inline Bytes ExtensibleFmt(int code, int validBits, const Bytes& guidTail = {}) {
  Bytes out;
  Le(out, 22, 2);  // cbSize
  Le(out, static_cast<uint64_t>(validBits), 2);
  Le(out, 0x4, 4);  // front centre
  Le(out, static_cast<uint64_t>(code), 2);
  const Bytes tail = guidTail.empty() ? Bytes{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}
                                      : guidTail;
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

inline Bytes Pcm16(const std::vector<int>& values) {
  Bytes out;
  for (const int v : values) Le(out, static_cast<uint16_t>(static_cast<int16_t>(v)), 2);
  return out;
}

inline Bytes Float32(const std::vector<float>& values) {
  Bytes out;
  for (const float f : values) {
    uint32_t u = 0;
    std::memcpy(&u, &f, sizeof u);
    Le(out, u, 4);
  }
  return out;
}

}  // namespace qd3::test
