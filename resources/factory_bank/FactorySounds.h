#pragma once

// What the 128 factory presets sound like: 32 base sounds, each in four ambiences. Slots
// 0..31 hold the base sounds in their first ambience under their plain name; slots
// 32 * v + s (v = 1..3) hold sound s in its ambience v, named "<sound> <ambience>".

#include <array>
#include <string_view>

#include "params/SoundTemplateTables.h"

namespace qd3::factory_bank {

inline constexpr int kBaseSoundCount = 32;
inline constexpr int kAmbiencesPerSound = 4;

struct BaseSound {
  std::string_view name;
  DriveTemplateId drive;  // the drive page's voicing button it starts from
  int gain;               // "Gain" (1); replaces the voicing's own, which matching ignores
  int level;              // "Level" (0), balancing clean against driven sounds
  int low;                // "Low" (6)
  int mid;                // "Mid" (12)
  int high;               // "High" (7)
  int gate;               // "Gate" (9): none for cleans, more the more gain
  int cabinet;            // cabinet position 1..8
  int wetPercent;         // scales the ambience's reverb amount: cleans wet, high gain drier
  std::array<AmbienceTemplateId, kAmbiencesPerSound> ambiences;
};

// How much of each ambience a preset gets, beyond the voicing itself.
struct AmbienceMix {
  std::string_view suffix;  // added to the sound's name in slots 32 and above
  int reverb;               // "Reverb" (8) before the sound's wet scaling
  int decayTime;            // "Reverb Decay Time" (17)
  int mode;                 // "Reverb Mode" (57): 0 room, 1 hall, 2 arena, 3 spring, 4 plate
};

const std::array<BaseSound, kBaseSoundCount>& BaseSounds();
const AmbienceMix& MixOf(AmbienceTemplateId ambience);

}  // namespace qd3::factory_bank
