#include "resources/factory_irs/CabinetDesigns.h"

namespace qd3::factory_irs {

// Voicing notes, per cabinet:
//  - Closed backs (TOLVANE, CALI 4x12, BRIT 2x12, BOUTIQUE 4x12) keep their low end down
//    to 65..85 Hz with a resonant low cut (the box tuning) and a strong, inverted
//    reflection off the closed back a little under a millisecond late.
//  - Open backs (BLONDE 2x12, TWEED 4x10, CALI 1x12, BLUE 2x12) lose the lows earlier
//    (95..125 Hz, no tuning bump) and their weaker reflection comes later, off the room
//    wall behind the cabinet.
//  - The 4x12s carry the 100..120 Hz thump and a 2..4 kHz presence peak; the 4x10 is
//    mid-forward around 850 Hz with a soft top; the open 1x12 and the blue 2x12
//    are the brightest, the one in its upper mids, the other in its top octave.
//
// Columns: character; low cut Hz, Q; high cut Hz, stages; four bands {Hz, Q, dB};
// reflection ms, gain; diffuse gain, ms; decay ms; noise seed.
const std::array<CabinetDesign, kCabinetCount>& CabinetDesigns() {
  // clang-format off
  static const std::array<CabinetDesign, kCabinetCount> kDesigns = {{
      // 1: the house cabinet, a closed 2x12 with an even, slightly forward voice.
      {"TOLVANE",       75.0, 0.9,   5500.0, 2,
       {{{110.0, 1.2, 3.0}, {500.0, 1.0, -2.0}, {2500.0, 1.5, 3.0}, {4200.0, 3.0, -2.0}}},
       0.8,  -0.30, 0.12, 1.2, 7.0, 0x51A7E001u},
      // 2: open 2x12, bright and scooped, glassy upper presence.
      {"BLONDE 2x12",   100.0, 0.707, 6500.0, 2,
       {{{170.0, 1.0, 1.5}, {700.0, 0.8, -6.0}, {3000.0, 1.8, 4.0}, {5200.0, 2.0, 2.0}}},
       1.6,  0.18,  0.10, 1.0, 6.0, 0x51A7E002u},
      // 3: open 4x10, mid-forward with a soft, early top roll-off.
      {"TWEED 4x10",    95.0, 0.707, 4200.0, 2,
       {{{250.0, 1.0, 1.0}, {850.0, 0.8, 6.0}, {1800.0, 1.2, 2.0}, {3400.0, 1.5, -4.0}}},
       1.4,  0.20,  0.14, 1.4, 6.5, 0x51A7E003u},
      // 4: open 1x12, light in the lows, bright and forward in the upper mids.
      {"CALI 1x12",     125.0, 0.707, 6000.0, 2,
       {{{220.0, 1.2, 1.0}, {1200.0, 1.0, 3.0}, {2200.0, 1.0, 5.0}, {3500.0, 2.0, 2.0}}},
       1.8,  0.15,  0.08, 0.9, 5.0, 0x51A7E004u},
      // 5: closed 4x12, strong 105 Hz thump, lower-mid dip, 2.5 kHz presence.
      {"CALI 4x12",     68.0, 1.1,   5200.0, 3,
       {{{105.0, 1.4, 7.0}, {400.0, 1.0, -3.5}, {2500.0, 1.6, 4.0}, {3900.0, 2.5, 2.0}}},
       0.7,  -0.35, 0.15, 1.5, 8.5, 0x51A7E005u},
      // 6: open 2x12, chimey: a 1.1 kHz bell, a dip at 2 kHz and a sparkling top.
      {"BLUE 2x12",     105.0, 0.707, 8000.0, 2,
       {{{140.0, 1.0, 1.5}, {1100.0, 1.2, 3.0}, {2000.0, 1.2, -4.0}, {4800.0, 1.5, 6.0}}},
       1.5,  0.16,  0.10, 1.1, 5.5, 0x51A7E006u},
      // 7: closed 2x12, punchy upper mids and a cone-breakup dip at 3.5 kHz.
      {"BRIT 2x12",     85.0, 0.9,   5000.0, 2,
       {{{120.0, 1.2, 3.0}, {1500.0, 1.0, 3.0}, {2200.0, 1.8, 5.0}, {3500.0, 3.0, -6.0}}},
       0.9,  -0.28, 0.12, 1.3, 7.0, 0x51A7E007u},
      // 8: closed 4x12, tight 95 Hz thump, smooth mids, 3.2 kHz presence, dipped top.
      {"BOUTIQUE 4x12", 65.0, 1.0,   5800.0, 3,
       {{{95.0, 1.6, 6.0}, {600.0, 0.9, -3.0}, {3200.0, 1.4, 4.5}, {5000.0, 3.0, -4.0}}},
       0.75, -0.32, 0.14, 1.6, 9.0, 0x51A7E008u},
  }};
  // clang-format on
  return kDesigns;
}

}  // namespace qd3::factory_irs
