#pragma once

// Renders the factory cabinet impulse responses and writes them as WAV files: 44.1 kHz,
// 16-bit PCM, mono, the canonical 44-byte header ("RIFF", "WAVE", a 16-byte "fmt "
// chunk, then "data"), so that every reader, the editor's own included, takes them.
// The output depends only on the design table: same bytes on every build.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/factory_irs/CabinetDesigns.h"

namespace qd3::factory_irs {

inline constexpr double kSampleRate = 44100.0;
inline constexpr std::size_t kFrameCount = 2048;  // 46 ms, well past the decay
// Peak level after normalisation: -1 dBFS, so no sample reaches full scale.
inline constexpr double kPeakLevel = 0.891;
// The last frames fade to silence with a raised cosine, so the file ends without a step.
inline constexpr std::size_t kFadeOutFrames = 256;

// The impulse response as 16-bit samples, kFrameCount long.
std::vector<int16_t> RenderCabinet(const CabinetDesign& design);

// A complete WAV file holding the samples (44.1 kHz, 16-bit, mono).
std::vector<uint8_t> MakeWavFile(const std::vector<int16_t>& samples);

// The WAV file of factory cabinet `index` (0..7, the order of CabinetDesigns()).
std::vector<uint8_t> FactoryCabinetWav(std::size_t index);

}  // namespace qd3::factory_irs
