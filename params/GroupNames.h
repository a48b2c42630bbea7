#pragma once

// Every group of controls that is shown, hidden, enabled or disabled together, under
// the name the screens attach its controls with. Pure data, so that the page rules,
// the screens and the editor spell each name once.

#include <array>

namespace qd3::group {

// ---- the main window ----
inline constexpr const char* kBackground = "background";
inline constexpr const char* kMain = "maincontrols";
inline constexpr const char* kDevice = "devicecontrols";
inline constexpr const char* kNeedsPedal = "bcontrols";  // disabled until the pedal answers
inline constexpr const char* kFilterLed = "filterled";
inline constexpr const char* kCustomIr = "customircontrols";

// ---- the detail pages ----
inline constexpr const char* kAnalogSim = "analogsimcontrols";
inline constexpr const char* kGate = "gatecontrols";
inline constexpr const char* kDynamics = "dynamicscontrols";
inline constexpr const char* kExpander = "expcontrols";
inline constexpr const char* kCompressor = "compcontrols";
inline constexpr const char* kIrPage = "ircontrols";
inline constexpr const char* kIrDisplay = "irdisplay";
inline constexpr const char* kAmbience = "ambiencecontrols";       // with the voicing buttons
inline constexpr const char* kAmbienceEcho = "ambiencecontrols2";  // the echo "TIME" controls
inline constexpr const char* kBuzzFilter = "buzzfiltercontrols";
inline constexpr const char* kPunchFilter = "punchfiltercontrols";
inline constexpr const char* kCrunchFilter = "crunchfiltercontrols";
inline constexpr const char* kLowFilter = "lowfiltercontrols";
inline constexpr const char* kMidFilter = "midfiltercontrols";
inline constexpr const char* kHighFilter = "highfiltercontrols";
inline constexpr const char* kDrive = "drivecontrols";  // with the voicing buttons
inline constexpr const char* kPreamp = "preampcontrols";
inline constexpr const char* kLevel = "levelcontrols";
inline constexpr const char* kAutoFilter = "autofiltercontrols";

// ---- overlays ----
inline constexpr const char* kProgress = "progresscontrols";
inline constexpr const char* kFactoryProgress = "factorypresetcontrols";
inline constexpr const char* kGlobalSettings = "globalsettingscontrols";
inline constexpr const char* kFirmware = "firmwarecontrols";
inline constexpr const char* kFirmwareBackground = "fwbgcontrols";
inline constexpr const char* kFirmwareUpdate = "fwupdatecontrols";
inline constexpr const char* kAbout = "aboutcontrols";
inline constexpr const char* kMidiCc = "midicccontrols";
inline constexpr const char* kMidiProgram = "midiprogramcontrols";

// Every detail group a page switch hides first, in the order it hides them.
inline constexpr std::array<const char*, 19> kDetailPageGroups = {
    kAnalogSim,  kGate,         kDynamics,   kExpander,    kCompressor,   kIrPage,    kIrDisplay,
    kAmbience,   kAmbienceEcho, kBuzzFilter, kPunchFilter, kCrunchFilter, kLowFilter, kMidFilter,
    kHighFilter, kDrive,        kPreamp,     kLevel,       kAutoFilter,
};

// Detail groups that a page switch hides although no page builds them: hiding them is
// harmless, showing one would be a mistake.
inline constexpr std::array<const char*, 6> kUnbuiltGroups = {
    kDynamics, kExpander, kCompressor, kBuzzFilter, kPunchFilter, kCrunchFilter,
};

// Every name above, once.
inline constexpr std::array<const char*, 34> kAll = {
    kBackground,     kMain,        kDevice,
    kNeedsPedal,     kFilterLed,   kCustomIr,
    kAnalogSim,      kGate,        kDynamics,
    kExpander,       kCompressor,  kIrPage,
    kIrDisplay,      kAmbience,    kAmbienceEcho,
    kBuzzFilter,     kPunchFilter, kCrunchFilter,
    kLowFilter,      kMidFilter,   kHighFilter,
    kDrive,          kPreamp,      kLevel,
    kAutoFilter,     kProgress,    kFactoryProgress,
    kGlobalSettings, kFirmware,    kFirmwareBackground,
    kFirmwareUpdate, kAbout,       kMidiCc,
    kMidiProgram,
};

}  // namespace qd3::group
