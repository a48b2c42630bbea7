#pragma once

// The pedal as it leaves the factory: 128 distinct demo presets, a few user IRs, the
// pedal's own factory IR bank and its eight cabinets, default settings and maps. Every
// value is computed, not random, so two pedals built from defaults are byte-identical.

#include <string_view>

#include "simulator/PedalState.h"

namespace qd3::sim {

inline constexpr char kDefaultSerial[] = "QD3-SIM-000001";

// The demo preset of `slot`: "Demo Preset 01" for slot 0, parameters varied per slot.
Record DefaultPresetRecord(int slot);

// A made-up but plausible IR: a decaying, deterministic noise tail under `name`.
IrImage MakeSyntheticIr(std::string_view name, uint32_t seed);
// What an unused user slot holds: a unit impulse with a blank (32 spaces) name.
IrImage EmptyIrImage();

PedalState DefaultPedalState();

// The three factory resets. Presets: every slot from the factory bank, the edit buffer
// reloaded from the current slot. Settings: global settings and both maps. Everything:
// both of those, the user IRs and cabinets as delivered, and preset 0 current.
void RestoreFactoryPresets(PedalState& state);
void RestoreFactorySettings(PedalState& state);
void RestoreEverything(PedalState& state);

}  // namespace qd3::sim
