#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <vector>

#include "params/IParam.h"

namespace qd3 {

// Index ranges of the catalogue. Sound parameters are the 65 values of a preset.
inline constexpr int kNumParams = 139;
inline constexpr int kNumSoundParams = 65;
inline constexpr int kFirstGlobalParam = 80;
inline constexpr int kLastGlobalParam = 90;
inline constexpr int kFirstKnobControllerParam = 91;
inline constexpr int kLastKnobControllerParam = 98;

// Indices that other code names directly.
enum ParamIndex : int {
  kParamLevel = 0,
  kParamGain = 1,
  kParamDrive = 5,
  kParamLow = 6,
  kParamHigh = 7,
  kParamReverb = 8,
  kParamGate = 9,
  kParamDynamics = 10,
  kParamMid = 12,
  kParamIr = 14,
  kParamAnalogSim = 15,
  kParamReverbDecayTime = 17,
  kParamCompressorRatio = 25,
  kParamExpanderRatio = 29,
  kParamGateRatio = 37,
  kParamIrModeA = 40,
  kParamIrModeB = 41,
  kParamUserIrAHigh = 53,
  kParamUserIrALow = 54,
  kParamUserIrBHigh = 55,
  kParamUserIrBLow = 56,
  kParamReverbMode = 57,
  kParamAutoFilterOn = 60,
  kParamAutoFilterLevel = 61,
  kParamCompression = 69,
  kParamScroll = 70,
  kParamPresetPicker = 71,
  kParamIrPositionPicker = 72,
  kParamIrAlias = 73,
  kParamIrPageTarget = 74,
  kParamPatchOffset = 82,
  kParamEditPotDisplayMode = 85,
  kParamControllerProgram = 99,
  kParamDeviceProgram = 100,
};

// The 139 parameters of the editor, built once with their defaults.
class ParamCatalogue {
 public:
  ParamCatalogue();

  // Indices are 0..138. One from outside (a pedal's echo, a file) is checked by the
  // caller first; an index out of range here is a programmer error: asserted, and in a
  // release build it reads the last parameter instead of throwing on the message path.
  IParam& operator[](int index) { return mParams[Checked(index)]; }
  const IParam& operator[](int index) const { return mParams[Checked(index)]; }
  static constexpr int Size() { return kNumParams; }

 private:
  static size_t Checked(int index) {
    assert(index >= 0 && index < kNumParams);
    return static_cast<size_t>(std::clamp(index, 0, kNumParams - 1));
  }

  std::vector<IParam> mParams;
};

// The specs of all 139 parameters in index order.
std::vector<ParamSpec> BuildParamSpecs();

}  // namespace qd3
