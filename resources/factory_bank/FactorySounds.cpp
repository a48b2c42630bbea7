#include "resources/factory_bank/FactorySounds.h"

namespace qd3::factory_bank {
namespace {

constexpr DriveTemplateId kBlond = kBlondTemplate;
constexpr DriveTemplateId kLiverpool = kLiverpoolTemplate;
constexpr DriveTemplateId kBritish = kBritishTemplate;
constexpr DriveTemplateId kCaliClassic = kCaliClassicTemplate;
constexpr DriveTemplateId kBoutiqueA = kBoutiqueATemplate;
constexpr DriveTemplateId kTweed = kTweedTemplate;
constexpr DriveTemplateId kTopBoost = kTopBoostTemplate;
constexpr DriveTemplateId kPlexi = kPlexiTemplate;
constexpr DriveTemplateId kCaliMetal = kCaliMetalTemplate;
constexpr DriveTemplateId kBoutiqueB = kBoutiqueBTemplate;

constexpr AmbienceTemplateId kRoom = kRoomTemplate;
constexpr AmbienceTemplateId kHall = kHallTemplate;
constexpr AmbienceTemplateId kSpring = kSpringTemplate;
constexpr AmbienceTemplateId kPlate = kPlateTemplate;
constexpr AmbienceTemplateId kChorus = kChorusTemplate;
constexpr AmbienceTemplateId kEcho = kEchoTemplate;
constexpr AmbienceTemplateId kEchoverb = kEchoverbTemplate;

// Cabinet positions: 1 TOLVANE, 2 BLONDE 2x12, 3 TWEED 4x10, 4 CALI 1x12, 5 CALI 4x12,
// 6 BLUE 2x12, 7 BRIT 2x12, 8 BOUTIQUE 4x12.
// Columns: name, drive voicing, gain, level, low, mid, high, gate, cabinet, wet %,
// the four ambiences (slots s, 32 + s, 64 + s, 96 + s).
// clang-format off
const std::array<BaseSound, kBaseSoundCount> kSounds = {{
    // Cleans and edge of breakup.
    {"Blond Clean",      kBlond,              60, 72, 60, 58, 72,  0, 2, 100, {kRoom, kPlate, kSpring, kChorus}},
    {"Blond Sparkle",    kBlond,              48, 74, 56, 60, 80,  0, 4, 100, {kHall, kPlate, kSpring, kEcho}},
    {"Blond Edge",       kBlond,              82, 68, 62, 66, 70,  4, 6,  90, {kRoom, kSpring, kEcho, kEchoverb}},
    {"Liverpool Jangle", kLiverpool,          27, 64, 58, 64, 74,  0, 6, 100, {kRoom, kChorus, kEcho, kHall}},
    {"Liverpool Push",   kLiverpool,          50, 60, 60, 68, 70,  4, 2,  90, {kRoom, kSpring, kEchoverb, kPlate}},
    {"Tweed Clean",      kTweed,              38, 72, 62, 66, 64,  0, 3, 100, {kSpring, kRoom, kPlate, kEcho}},
    {"Cali Clean",       kCaliClassic,        40, 72, 64, 60, 68,  0, 4, 100, {kPlate, kRoom, kChorus, kHall}},
    {"Boutique Clean",   kBoutiqueA,          44, 70, 60, 64, 70,  0, 1, 100, {kRoom, kHall, kChorus, kEchoverb}},
    // Crunch.
    {"Tweed Crunch",     kTweed,              61, 66, 64, 70, 62,  8, 3,  80, {kRoom, kSpring, kEcho, kPlate}},
    {"Tweed Breakup",    kTweed,              76, 64, 66, 72, 60, 10, 3,  80, {kSpring, kRoom, kEchoverb, kHall}},
    {"Plexi Crunch",     kPlexi,              86, 64, 64, 70, 66, 14, 7,  70, {kRoom, kHall, kEcho, kPlate}},
    {"Brit Crunch",      kBritish,            90, 64, 66, 68, 64, 14, 7,  70, {kRoom, kPlate, kEcho, kHall}},
    {"Chime Crunch",     kTopBoost,           78, 62, 58, 62, 74, 12, 6,  80, {kRoom, kSpring, kChorus, kEchoverb}},
    {"Cali Crunch",      kCaliClassic,        80, 64, 64, 64, 64, 14, 5,  70, {kRoom, kHall, kEcho, kPlate}},
    {"Boutique Crunch",  kBoutiqueA,          80, 64, 62, 68, 66, 12, 1,  70, {kRoom, kPlate, kEchoverb, kHall}},
    {"Dark Crunch",      kBoutiqueB,          62, 64, 66, 62, 56, 14, 8,  70, {kRoom, kHall, kEcho, kSpring}},
    // Leads.
    {"Plexi Lead",       kPlexi,             110, 62, 62, 72, 64, 20, 7,  70, {kHall, kEcho, kEchoverb, kRoom}},
    {"Brit Lead",        kBritish,           112, 62, 64, 70, 62, 22, 7,  70, {kHall, kEcho, kPlate, kRoom}},
    {"Chime Lead",       kTopBoost,          108, 60, 60, 66, 70, 20, 6,  70, {kEcho, kHall, kChorus, kRoom}},
    {"Cali Lead",        kCaliClassic,       106, 62, 64, 70, 62, 22, 5,  70, {kEchoverb, kHall, kEcho, kRoom}},
    {"Boutique Lead",    kBoutiqueA,         110, 62, 62, 72, 64, 20, 8,  70, {kEchoverb, kPlate, kEcho, kRoom}},
    {"Smooth Lead",      kBoutiqueB,         100, 62, 62, 70, 58, 20, 1,  70, {kHall, kEchoverb, kEcho, kPlate}},
    {"Tweed Lead",       kTweed,             104, 62, 64, 74, 60, 18, 3,  70, {kEcho, kSpring, kHall, kRoom}},
    {"Blues Lead",       kPlexi,              92, 64, 62, 72, 62, 16, 2,  80, {kSpring, kHall, kEcho, kRoom}},
    // High gain.
    {"Cali Metal",       kCaliMetal,          91, 58, 68, 56, 66, 36, 5,  50, {kRoom, kHall, kPlate, kEcho}},
    {"Metal Rhythm",     kCaliMetal,         100, 58, 70, 52, 64, 40, 5,  40, {kRoom, kPlate, kHall, kEchoverb}},
    {"Metal Lead",       kCaliMetal,         120, 58, 66, 60, 64, 40, 8,  60, {kHall, kEcho, kEchoverb, kRoom}},
    {"Modern Chug",      kBoutiqueB,         110, 58, 70, 50, 66, 44, 8,  40, {kRoom, kHall, kPlate, kEcho}},
    {"Tight Rhythm",     kCaliMetal,         114, 58, 64, 54, 68, 46, 5,  40, {kRoom, kPlate, kHall, kEchoverb}},
    {"Brit Hot",         kBritish,           122, 60, 66, 68, 64, 32, 7,  60, {kRoom, kHall, kEcho, kPlate}},
    {"Plexi Hot",        kPlexi,             122, 60, 64, 70, 64, 32, 8,  60, {kHall, kRoom, kEcho, kEchoverb}},
    {"Boutique Hot",     kBoutiqueB,         124, 58, 66, 66, 62, 38, 1,  60, {kEchoverb, kRoom, kHall, kPlate}},
}};
// clang-format on

const std::array<AmbienceMix, kNumAmbienceTemplates> kMixes = {{
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

const AmbienceMix& MixOf(AmbienceTemplateId ambience) {
  return kMixes.at(static_cast<std::size_t>(ambience));
}

}  // namespace qd3::factory_bank
