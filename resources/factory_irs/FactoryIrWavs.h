#pragma once

// The eight factory cabinet WAV files compiled into the program (raw data resources
// 201..208, named as kFactoryIrWavNames), ready for PresetCache::InstallFactoryIrWavs.
// Available to every target that links the OBJECT library qd3_factory_irs.

#include "presets/PresetCache.h"

namespace qd3 {

inline constexpr int kFirstFactoryIrWavResourceId = 201;

// The files in the order of kFactoryIrWavNames.
FactoryIrWavData FactoryIrWavs();

}  // namespace qd3
