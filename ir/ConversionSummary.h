#pragma once

// The text the IR page shows after a WAV file was loaded: what the file was and what of it
// became the IR, e.g.
//
//   16-bit PCM, 48000 Hz, stereo, 48000 frames (1.000 s)
//   kept: first channel, resampled to 44.1 kHz, first 1200 samples = 27.2 ms (2.7 % of the file)
//   gain 0.8485

#include <string>

#include "ir/WavReader.h"

namespace qd3 {

std::string ConversionSummaryText(const WavSummary& summary, double gain);
// The same on one line, its parts between middle dots, as the IR page shows it.
std::string ConversionSummaryLine(std::string text);

}  // namespace qd3
