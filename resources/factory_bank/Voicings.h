#pragma once

// The drive and ambience voicings the factory presets are built from: the same raw
// values the drive and ambience pages' template buttons load, so that the pedal's
// template matching lights the button of the voicing a factory preset started from.

#include <array>

namespace qd3::factory_bank {

// Raw values of "Gain" (1), "Buzz" (2), "Punch" (3), "Crunch" (4), "Buzz Q" (44),
// "Punch Q" (45), "Crunch Q" (46), "Punch Freq" (11), "Drive" (5), "Dynamics" (10) and
// "Preset Level" (64).
struct DriveVoicing {
  int gain;
  int buzz;
  int punch;
  int crunch;
  int buzzQ;
  int punchQ;
  int crunchQ;
  int punchFreq;
  int drive;
  int dynamics;
  int presetLevel;
};

enum DriveVoicingId : int {
  kDriveBlond,
  kDriveLiverpool,
  kDriveBritish,
  kDriveCaliClassic,
  kDriveBoutiqueA,
  kDriveTweed,
  kDriveTopBoost,
  kDrivePlexi,
  kDriveCaliMetal,
  kDriveBoutiqueB,
  kDriveVoicingCount
};

inline constexpr std::array<DriveVoicing, kDriveVoicingCount> kDriveVoicings = {{
    {65, 29, 17, 112, 64, 10, 64, 58, 26, 88, 32},   // blond
    {27, 47, 17, 126, 64, 127, 64, 82, 7, 84, 127},  // liverpool
    {97, 53, 49, 105, 64, 64, 64, 54, 15, 64, 32},   // british
    {64, 64, 64, 64, 64, 64, 64, 54, 64, 64, 32},    // cali classic
    {91, 45, 98, 91, 64, 64, 64, 94, 63, 64, 32},    // boutique a
    {61, 29, 33, 94, 64, 64, 64, 69, 30, 94, 32},    // tweed
    {98, 47, 88, 96, 64, 64, 64, 41, 111, 64, 32},   // top boost
    {98, 51, 48, 100, 64, 64, 64, 54, 30, 64, 32},   // plexi
    {91, 45, 64, 91, 64, 64, 64, 54, 64, 64, 32},    // cali metal
    {80, 0, 114, 80, 64, 47, 64, 66, 100, 64, 32},   // boutique b
}};

// Raw values of "Reverb Room Size" (16), "Reverb Diffusion" (18), "Reverb Extension
// Factor" (19), "Reverb Fbk. Delay Size" (20), "Reverb Fbk. Filter" (21), "Reverb Fbk.
// Damper Factor" (22), "Reverb LP Filter" (23), "Reverb HP Filter" (24), "Reverb
// Modulation Depth" (58) and "Reverb Modulation Rate" (59).
struct AmbienceVoicing {
  int roomSize;
  int diffusion;
  int extensionFactor;
  int feedbackDelaySize;
  int feedbackFilter;
  int feedbackDamper;
  int lpFilter;
  int hpFilter;
  int modulationDepth;
  int modulationRate;
};

enum AmbienceVoicingId : int {
  kAmbienceRoom,
  kAmbienceHall,
  kAmbienceSpring,
  kAmbiencePlate,
  kAmbienceChorus,
  kAmbienceEcho,
  kAmbienceEchoverb,
  kAmbienceVoicingCount
};

inline constexpr std::array<AmbienceVoicing, kAmbienceVoicingCount> kAmbienceVoicings = {{
    {47, 20, 3, 49, 127, 93, 127, 15, 0, 0},      // room
    {64, 8, 2, 64, 127, 64, 64, 20, 4, 127},      // hall
    {109, 100, 2, 71, 127, 73, 26, 23, 26, 0},    // spring
    {86, 120, 2, 127, 127, 45, 127, 42, 4, 127},  // plate
    {74, 84, 4, 52, 0, 0, 127, 0, 67, 60},        // chorus
    {64, 64, 5, 0, 127, 64, 127, 15, 0, 0},       // echo
    {64, 70, 5, 0, 127, 32, 127, 10, 0, 0},       // echoverb
}};

}  // namespace qd3::factory_bank
