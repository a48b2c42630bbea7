#pragma once

#include <array>

#include "params/GroupNames.h"

namespace qd3 {

// The built-in voicings of the drive page and the ambience types of the ambience
// page. Each row holds raw parameter values (0..127, "Reverb Extension Factor"
// 2..5) and the picture button that stands for it.

inline constexpr int kNumDriveTemplates = 10;
inline constexpr int kNumAmbienceTemplates = 7;
// The "no template" numbers that the highlight and match calls use.
inline constexpr int kNoDriveTemplate = kNumDriveTemplates;
inline constexpr int kNoAmbienceTemplate = kNumAmbienceTemplates;

// Drive buttons carry tags 82..91, ambience buttons 75..81, in template order.
inline constexpr int kFirstDriveButtonTag = 82;
inline constexpr int kFirstAmbienceButtonTag = 75;
inline constexpr const char* kDriveButtonGroup = group::kDrive;
inline constexpr const char* kAmbienceButtonGroup = group::kAmbience;
// The echo "TIME" controls of the ambience page, shown only for the echo voicings.
inline constexpr const char* kEchoTimeGroup = group::kAmbienceEcho;

// The rows of the two tables below, in button order.
enum DriveTemplateId : int {
  kBlondTemplate,
  kLiverpoolTemplate,
  kBritishTemplate,
  kCaliClassicTemplate,
  kBoutiqueATemplate,
  kTweedTemplate,
  kTopBoostTemplate,
  kPlexiTemplate,
  kCaliMetalTemplate,
  kBoutiqueBTemplate,
};
static_assert(kBoutiqueBTemplate + 1 == kNumDriveTemplates);

// kEchoTemplate and kEchoverbTemplate use the echo "TIME" controls.
enum AmbienceTemplateId : int {
  kRoomTemplate,
  kHallTemplate,
  kSpringTemplate,
  kPlateTemplate,
  kChorusTemplate,
  kEchoTemplate,
  kEchoverbTemplate,
};
static_assert(kEchoverbTemplate + 1 == kNumAmbienceTemplates);

// Field order of a drive template and the parameter each field sets.
enum DriveField : int {
  kDriveGain,
  kDriveBuzz,
  kDrivePunch,
  kDriveCrunch,
  kDriveBuzzQ,
  kDrivePunchQ,
  kDriveCrunchQ,
  kDrivePunchFreq,
  kDriveDrive,
  kDriveDynamics,
  kDrivePresetLevel,
  kNumDriveFields,
};
inline constexpr std::array<int, kNumDriveFields> kDriveFieldParam = {1,  2,  3, 4,  44, 45,
                                                                      46, 11, 5, 10, 64};

// Field order of an ambience template and the parameter each field sets.
enum AmbienceField : int {
  kAmbienceRoomSize,
  kAmbienceDiffusion,
  kAmbienceExtensionFactor,
  kAmbienceFbkDelaySize,
  kAmbienceFbkFilter,
  kAmbienceFbkDamperFactor,
  kAmbienceLpFilter,
  kAmbienceHpFilter,
  kAmbienceModulationDepth,
  kAmbienceModulationRate,
  kNumAmbienceFields,
};
inline constexpr std::array<int, kNumAmbienceFields> kAmbienceFieldParam = {16, 18, 19, 20, 21,
                                                                            22, 23, 24, 58, 59};

struct DriveTemplate {
  const char* picture;  // two frames: dark, lit
  std::array<int, kNumDriveFields> values;
};

struct AmbienceTemplate {
  const char* picture;
  std::array<int, kNumAmbienceFields> values;
};

// clang-format off
inline constexpr std::array<DriveTemplate, kNumDriveTemplates> kDriveTemplates = {{
    //                       Gain Buzz Punch Crunch BuzzQ PunchQ CrunchQ PFreq Drive Dyn Level
    {"amp-blond.png",       {65,  29,  17,   112,   64,   10,    64,     58,   26,   88, 32}},
    {"amp-liverpool.png",   {27,  47,  17,   126,   64,   127,   64,     82,   7,    84, 127}},
    {"amp-british.png",     {97,  53,  49,   105,   64,   64,    64,     54,   15,   64, 32}},
    {"amp-caliclassic.png", {64,  64,  64,   64,    64,   64,    64,     54,   64,   64, 32}},
    {"amp-boutiquea.png",   {91,  45,  98,   91,    64,   64,    64,     94,   63,   64, 32}},
    {"amp-tweed.png",       {61,  29,  33,   94,    64,   64,    64,     69,   30,   94, 32}},
    {"amp-topboost.png",    {98,  47,  88,   96,    64,   64,    64,     41,   111,  64, 32}},
    {"amp-plexi.png",       {98,  51,  48,   100,   64,   64,    64,     54,   30,   64, 32}},
    {"amp-calimetal.png",   {91,  45,  64,   91,    64,   64,    64,     54,   64,   64, 32}},
    {"amp-boutiqueb.png",   {80,  0,   114,  80,    64,   47,    64,     66,   100,  64, 32}},
}};

inline constexpr std::array<AmbienceTemplate, kNumAmbienceTemplates> kAmbienceTemplates = {{
    //                      Room Diff Ext Delay FbkF Damp LP   HP  ModD ModR
    {"radio-room.png",      {47,  20,  3,  49,   127, 93,  127, 15, 0,   0}},
    {"radio-hall.png",      {64,  8,   2,  64,   127, 64,  64,  20, 4,   127}},
    {"radio-spring.png",    {109, 100, 2,  71,   127, 73,  26,  23, 26,  0}},
    {"radio-plate.png",     {86,  120, 2,  127,  127, 45,  127, 42, 4,   127}},
    {"radio-chorus.png",    {74,  84,  4,  52,   0,   0,   127, 0,  67,  60}},
    {"radio-echo.png",      {64,  64,  5,  0,    127, 64,  127, 15, 0,   0}},
    {"radio-echoverb.png",  {64,  70,  5,  0,    127, 32,  127, 10, 0,   0}},
}};
// clang-format on

}  // namespace qd3
