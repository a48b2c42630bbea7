#pragma once

// Parameters 0..64 of the edit buffer as one value: what an undo step and COMPARE keep,
// and write back as the player would have turned the controls.

#include <array>

#include "editor/ParamWriter.h"
#include "params/ParamCatalogue.h"

namespace qd3 {

using SoundValues = std::array<int, kNumSoundParams>;

SoundValues CaptureSound(const ParamCatalogue& params);
// Sets each parameter that differs from `target`; connected, each is a live edit.
void WriteSound(const ParamCatalogue& params, ParamWriter& writer, const SoundValues& target);

}  // namespace qd3
