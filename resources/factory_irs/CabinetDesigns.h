#pragma once

// How each of the eight factory cabinet impulse responses is made: a band-limited
// speaker (high-pass for the low roll-off, a steeper low-pass for the cone's top end),
// a few resonant bells and dips that give the cabinet its voice, an early reflection off
// the cabinet's back, a short diffuse burst for the density of a real cabinet, and an
// exponential decay. All numbers are our own voicing choices.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qd3::factory_irs {

inline constexpr std::size_t kCabinetCount = 8;
inline constexpr std::size_t kBandsPerCabinet = 4;

// One peaking section: +gainDb is a resonance, -gainDb a dip.
struct ResonanceBand {
  double hz;
  double q;
  double gainDb;
};

struct CabinetDesign {
  std::string_view character;  // the cabinet position's name on the pedal
  double lowCutHz;             // 12 dB/octave high-pass corner
  double lowCutQ;              // above 0.707 adds the bump of a closed box's tuning
  double highCutHz;            // corner of the cone roll-off
  int highCutStages;           // cascaded 12 dB/octave low-pass sections
  std::array<ResonanceBand, kBandsPerCabinet> bands;
  double reflectionMs;    // delay of the back-wall reflection after the direct sound
  double reflectionGain;  // its level relative to the direct impulse; negative: inverted
  double diffuseGain;     // level of the diffuse burst relative to the direct impulse
  double diffuseMs;       // time constant of the diffuse burst
  double decayMs;         // time constant of the overall envelope
  uint32_t seed;          // fixed seed of the diffuse burst's noise
};

// In the order of the cabinet positions 1..8 and of the WAV files 01..08.
const std::array<CabinetDesign, kCabinetCount>& CabinetDesigns();

}  // namespace qd3::factory_irs
