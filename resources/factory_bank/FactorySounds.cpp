#include "resources/factory_bank/FactorySounds.h"

namespace qd3::factory_bank {
namespace {

constexpr AmbienceVoicingId kRoom = kAmbienceRoom;
constexpr AmbienceVoicingId kHall = kAmbienceHall;
constexpr AmbienceVoicingId kSpring = kAmbienceSpring;
constexpr AmbienceVoicingId kPlate = kAmbiencePlate;
constexpr AmbienceVoicingId kChorus = kAmbienceChorus;
constexpr AmbienceVoicingId kEcho = kAmbienceEcho;
constexpr AmbienceVoicingId kEchoverb = kAmbienceEchoverb;

// Cabinet positions: 1 TOLVANE, 2 BLONDE 2x12, 3 TWEED 4x10, 4 CALI 1x12, 5 CALI 4x12,
// 6 BLUE 2x12, 7 BRIT 2x12, 8 BOUTIQUE 4x12.
// Columns: name, drive voicing, gain, level, low, mid, high, gate, cabinet, wet %,
// the four ambiences (slots s, 32 + s, 64 + s, 96 + s).
// clang-format off
const std::array<BaseSound, kBaseSoundCount> kSounds = {{
    // Cleans and edge of breakup.
    {"Blond Clean",      kDriveBlond,         60, 72, 60, 58, 72,  0, 2, 100, {kRoom, kPlate, kSpring, kChorus}},
    {"Blond Sparkle",    kDriveBlond,         48, 74, 56, 60, 80,  0, 4, 100, {kHall, kPlate, kSpring, kEcho}},
    {"Blond Edge",       kDriveBlond,         82, 68, 62, 66, 70,  4, 6,  90, {kRoom, kSpring, kEcho, kEchoverb}},
    {"Liverpool Jangle", kDriveLiverpool,     27, 64, 58, 64, 74,  0, 6, 100, {kRoom, kChorus, kEcho, kHall}},
    {"Liverpool Push",   kDriveLiverpool,     50, 60, 60, 68, 70,  4, 2,  90, {kRoom, kSpring, kEchoverb, kPlate}},
    {"Tweed Clean",      kDriveTweed,         38, 72, 62, 66, 64,  0, 3, 100, {kSpring, kRoom, kPlate, kEcho}},
    {"Cali Clean",       kDriveCaliClassic,   40, 72, 64, 60, 68,  0, 4, 100, {kPlate, kRoom, kChorus, kHall}},
    {"Boutique Clean",   kDriveBoutiqueA,     44, 70, 60, 64, 70,  0, 1, 100, {kRoom, kHall, kChorus, kEchoverb}},
    // Crunch.
    {"Tweed Crunch",     kDriveTweed,         61, 66, 64, 70, 62,  8, 3,  80, {kRoom, kSpring, kEcho, kPlate}},
    {"Tweed Breakup",    kDriveTweed,         76, 64, 66, 72, 60, 10, 3,  80, {kSpring, kRoom, kEchoverb, kHall}},
    {"Plexi Crunch",     kDrivePlexi,         86, 64, 64, 70, 66, 14, 7,  70, {kRoom, kHall, kEcho, kPlate}},
    {"Brit Crunch",      kDriveBritish,       90, 64, 66, 68, 64, 14, 7,  70, {kRoom, kPlate, kEcho, kHall}},
    {"Chime Crunch",     kDriveTopBoost,      78, 62, 58, 62, 74, 12, 6,  80, {kRoom, kSpring, kChorus, kEchoverb}},
    {"Cali Crunch",      kDriveCaliClassic,   80, 64, 64, 64, 64, 14, 5,  70, {kRoom, kHall, kEcho, kPlate}},
    {"Boutique Crunch",  kDriveBoutiqueA,     80, 64, 62, 68, 66, 12, 1,  70, {kRoom, kPlate, kEchoverb, kHall}},
    {"Dark Crunch",      kDriveBoutiqueB,     62, 64, 66, 62, 56, 14, 8,  70, {kRoom, kHall, kEcho, kSpring}},
    // Leads.
    {"Plexi Lead",       kDrivePlexi,        110, 62, 62, 72, 64, 20, 7,  70, {kHall, kEcho, kEchoverb, kRoom}},
    {"Brit Lead",        kDriveBritish,      112, 62, 64, 70, 62, 22, 7,  70, {kHall, kEcho, kPlate, kRoom}},
    {"Chime Lead",       kDriveTopBoost,     108, 60, 60, 66, 70, 20, 6,  70, {kEcho, kHall, kChorus, kRoom}},
    {"Cali Lead",        kDriveCaliClassic,  106, 62, 64, 70, 62, 22, 5,  70, {kEchoverb, kHall, kEcho, kRoom}},
    {"Boutique Lead",    kDriveBoutiqueA,    110, 62, 62, 72, 64, 20, 8,  70, {kEchoverb, kPlate, kEcho, kRoom}},
    {"Smooth Lead",      kDriveBoutiqueB,    100, 62, 62, 70, 58, 20, 1,  70, {kHall, kEchoverb, kEcho, kPlate}},
    {"Tweed Lead",       kDriveTweed,        104, 62, 64, 74, 60, 18, 3,  70, {kEcho, kSpring, kHall, kRoom}},
    {"Blues Lead",       kDrivePlexi,         92, 64, 62, 72, 62, 16, 2,  80, {kSpring, kHall, kEcho, kRoom}},
    // High gain.
    {"Cali Metal",       kDriveCaliMetal,     91, 58, 68, 56, 66, 36, 5,  50, {kRoom, kHall, kPlate, kEcho}},
    {"Metal Rhythm",     kDriveCaliMetal,    100, 58, 70, 52, 64, 40, 5,  40, {kRoom, kPlate, kHall, kEchoverb}},
    {"Metal Lead",       kDriveCaliMetal,    120, 58, 66, 60, 64, 40, 8,  60, {kHall, kEcho, kEchoverb, kRoom}},
    {"Modern Chug",      kDriveBoutiqueB,    110, 58, 70, 50, 66, 44, 8,  40, {kRoom, kHall, kPlate, kEcho}},
    {"Tight Rhythm",     kDriveCaliMetal,    114, 58, 64, 54, 68, 46, 5,  40, {kRoom, kPlate, kHall, kEchoverb}},
    {"Brit Hot",         kDriveBritish,      122, 60, 66, 68, 64, 32, 7,  60, {kRoom, kHall, kEcho, kPlate}},
    {"Plexi Hot",        kDrivePlexi,        122, 60, 64, 70, 64, 32, 8,  60, {kHall, kRoom, kEcho, kEchoverb}},
    {"Boutique Hot",     kDriveBoutiqueB,    124, 58, 66, 66, 62, 38, 1,  60, {kEchoverb, kRoom, kHall, kPlate}},
}};
// clang-format on

const std::array<AmbienceMix, kAmbienceVoicingCount> kMixes = {{
    {"Room", 20, 40, 0},
    {"Hall", 30, 84, 1},
    {"Spring", 32, 60, 3},
    {"Plate", 28, 72, 4},
    {"Chorus", 24, 50, 1},
    {"Echo", 30, 64, 0},
    {"Echoverb", 34, 76, 1},
}};

}  // namespace

const std::array<BaseSound, kBaseSoundCount>& BaseSounds() {
  return kSounds;
}

const AmbienceMix& MixOf(AmbienceVoicingId ambience) {
  return kMixes.at(static_cast<std::size_t>(ambience));
}

}  // namespace qd3::factory_bank
