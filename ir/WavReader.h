#pragma once

// Reads a WAV file into the working impulse response: the first channel, resampled to
// 44100 Hz by linear interpolation, its first 4096 samples. The IR gain is never changed.
//
// The layout is read strictly in sequence, all fields little-endian:
//   "RIFF" size "WAVE", then "fmt " directly or after a "JUNK" chunk that is skipped by
//   scanning 4-byte words for "fmt "; the fmt fields (size, format tag, channels, sample
//   rate, byte rate, block align, bits per sample; anything beyond 16 bytes skipped, except
//   that the extensible format tag 0xFFFE takes its sample format from the sub-format GUID
//   at fmt bytes 24..39); then a scan of 4-byte words for "data", its size and the
//   interleaved samples.
// Any chunk between fmt and data is passed over by that word scan, not by its size.
//
// A file that is not readable that way leaves the buffer and the gain as they were and
// says why. No read ever leaves the file's bytes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "ir/IrWorkingBuffer.h"

namespace qd3 {

enum class WavStatus : uint8_t {
  kOk,
  kNotRiffWave,            // "not a RIFF/WAVE file"
  kNoFmtChunk,             // first chunk neither "fmt " nor "JUNK", or the scan hit the end
  kTruncatedFmt,           // the file ends inside the fmt fields
  kNoDataChunk,            // the scan for "data" hit the end of the file
  kDataBeyondEnd,          // the data size claims more bytes than the file holds
  kBlockAlignZero,         // frames would be a division by zero
  kBlockAlignShort,        // block align smaller than one sample of every channel
  kNoChannels,             // a channel count of 0
  kTooManyChannels,        // more than two channels
  kUnsupportedWidth,       // bits per sample other than 8, 16, 24 or 32
  kBadSampleRate,          // a sample rate of 0
  kCannotOpen,             // the file could not be opened or read
  kTooLarge,               // the file is larger than any WAV worth reading here
  kNoSubFormat,            // extensible format tag with a fmt chunk too short for the GUID
  kUnsupportedSubFormat,   // extensible format whose GUID is neither integer PCM nor float
  kUnsupportedFloatWidth,  // IEEE float samples of another width than 32 bits
  kNoSamples,              // not one whole frame of data, or nothing left at 44100 Hz
};

// What was read and what of it was kept; filled as far as the file was read.
struct WavSummary {
  // As written: 1 integer PCM; 0xFFFE extensible, whose sub-format decides; with any
  // other tag, 32-bit samples are IEEE float.
  int formatTag = 0;
  bool isFloat = false;
  int bitsPerSample = 0;
  int sampleRate = 0;
  int channels = 0;
  int64_t frames = 0;           // data size / block align
  int64_t resampledLength = 0;  // L = floor(frames / (rate / 44100))
  int keptSamples = 0;          // min(L, 1200): what an IR image holds
  double keptShare = 0.0;       // keptSamples / L, 0 for an empty file
};

struct WavReadResult {
  WavStatus status = WavStatus::kOk;
  std::string reason;  // short text for the player; empty when ok
  WavSummary summary;

  bool Ok() const { return status == WavStatus::kOk; }
};

// The fixed text of a status, e.g. "unsupported sample width 12 bits" for kUnsupportedWidth
// with `bits` 12. For kUnsupportedSubFormat `bits` is the sub-format's code when its GUID
// has the standard form, else -1.
std::string WavStatusText(WavStatus status, int bits = 0);

// Reads the WAV bytes into `buffer` (see above).
WavReadResult ReadWav(std::span<const uint8_t> bytes, IrWorkingBuffer& buffer);
// Reads the file at `path` whole and then as above.
WavReadResult ReadWav(const std::filesystem::path& path, IrWorkingBuffer& buffer);

}  // namespace qd3
