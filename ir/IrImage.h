#pragma once

// The pedal's impulse-response image (the IR cache file and, packed to 7 bits, the
// upload): 2436 bytes, little-endian, laid out as presets/IrFileLayout.h says: format word
// 1, gain Q15, 32-byte name, 1200 Q15 samples at 44100 Hz.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "ir/IrWorkingBuffer.h"
#include "presets/IrFileLayout.h"

namespace qd3 {

using IrImageBytes = std::array<uint8_t, kIrFileSize>;

struct IrImageResult {
  IrImageBytes image{};
  double gain = 1.0;  // the new working IR gain
};

// Builds the image from the working buffer's first 1200 samples. The gain normalises the
// energy: N = sqrt(sum of squares), gain = 1.2 / (N * sqrt 2), at most 1.0 (silence gives
// 1.0). The samples are stored unscaled as sample * 32768 truncated toward zero; values at
// or beyond full scale are held at 32767 / -32768 instead of wrapping, and a gain of 1.0
// is stored as 32767, since 32768 would read back as -1.0.
IrImageResult MakeIrImage(const IrWorkingBuffer& buffer, std::span<const uint8_t, kNameSize> name);

// The name of an IR loaded from a WAV file: the file name after the last separator ('/' or
// '\'), without its last four characters (the extension), cut to 32 characters and padded
// with spaces.
std::array<uint8_t, kNameSize> IrNameFromWavPath(std::string_view path);

// Reads an image's gain and 1200 samples into the buffer; samples 1200..4095 stay as they
// were. Only an image of exactly 2436 bytes is read; anything else changes nothing and
// gives false.
bool LoadIrImage(std::span<const uint8_t> image, IrWorkingBuffer& buffer);

}  // namespace qd3
