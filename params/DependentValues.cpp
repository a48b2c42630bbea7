#include "params/DependentValues.h"

#include <algorithm>
#include <cstdio>

#include "params/PageNumbers.h"
#include "params/ValueDisplay.h"

namespace qd3 {
namespace {

constexpr int kRawMax = 127;
constexpr double kRawMaxD = 127.0;
constexpr int kCompressionMin = 64;
constexpr double kCompressionSpan = 63.0;
constexpr int kMaxIrPosition = 8;    // nine cabinet positions, 7 and 8 the user IRs
constexpr int kUserIrPositions = 6;  // positions above this on the 0..8 scale are user IRs
constexpr int kIrListRows = 32;      // rows of one user-IR bank
constexpr int kWheelStep = 3;
constexpr int kWheelFineStep = 1;

float Scaled(int raw) {
  return static_cast<float>(raw) / static_cast<float>(kRawMax);
}

}  // namespace

double CompressionNormalizedFromDynamics(int dynamics) {
  return dynamics >= kCompressionMin ? (dynamics - kCompressionMin) / kCompressionSpan : 0.0;
}

double DynamicsNormalizedFromCompression(int compression) {
  return compression / kRawMaxD;
}

double IrNormalizedFromAlias(int alias) {
  return (kRawMax - alias) / kRawMaxD;
}

double IrNormalizedFromPosition(int pickerRaw) {
  // Single precision on purpose: the float sum lands just above each step, so
  // the catalogue's rounding gives the cabinet numbers the pedal expects.
  const float position = static_cast<float>(std::clamp(pickerRaw, 0, kMaxIrPosition));
  return 0.125f * position + 0.004f;
}

float IrSliderValue(int ir) {
  return 1.0f - Scaled(ir);
}

float CompressorRatio(int raw) {
  return Scaled(raw) * 19.0f + 1.0f;
}

float ExpanderRatioReciprocal(int raw) {
  return 1.0f / (Scaled(raw) * 11.0f + 1.0f);
}

float GateRatioReciprocal(int raw) {
  return 1.0f / (Scaled(raw) * 9.0f + 1.0f);
}

float DrivePageCompRatio(int dynamics, int compressorRatio, int expanderRatio) {
  switch (DynamicsFromRaw(dynamics).state) {
    case DynamicsState::kOff:
      return 1.0f;
    case DynamicsState::kCompressor:
      return CompressorRatio(compressorRatio);
    case DynamicsState::kExpander:
      return ExpanderRatioReciprocal(expanderRatio);
  }
  return 1.0f;
}

GroupChange EchoTimeGroupAfterReverb(int currentPage, double echoButton, double echoverbButton) {
  if (currentPage != kPageAmbience) return GroupChange::kKeep;
  return echoButton > 0.0 || echoverbButton > 0.0 ? GroupChange::kShow : GroupChange::kHide;
}

IrModeView IrModeViewFor(int position, int irMode) {
  if (irMode > 0) return {true, nullptr};
  return {false, position == 0 ? "BRIT 2x12" : "BOUTIQUE 4x12"};
}

bool IrModeRefreshesIrDisplay(int ir) {
  return static_cast<float>(ir) / static_cast<float>(kRawMax) * static_cast<float>(kMaxIrPosition) >
         static_cast<float>(kUserIrPositions);
}

int UserIrNumber(int high, int low) {
  return 128 * high + low;
}

std::string EmptyIrSlotText(int irNumber) {
  const int row = (irNumber % kIrListRows + kIrListRows) % kIrListRows;
  char text[32];
  std::snprintf(text, sizeof text, "Empty Slot %d", row + 1);
  return text;
}

bool UserIrFetchNeeded(int irNumber, std::string_view rowText, std::string_view storedName) {
  if (rowText == EmptyIrSlotText(irNumber)) return false;
  return rowText != storedName;
}

int ListTopFromScroll(int scroll) {
  return kPresetListMaxTop - std::clamp(scroll, 0, kPresetListMaxTop);
}

int ScrollForSlot(int slot) {
  return kPresetListMaxTop - std::clamp(slot, 0, kPresetListMaxTop);
}

double ScrollNormalizedForListTop(int listTop) {
  return (kPresetListMaxTop - listTop) / static_cast<double>(kPresetListMaxTop);
}

PresetRowPlace PresetRowPlacement(int row, int listTop) {
  PresetRowPlace place;
  place.y = kPresetListFirstRowY + kPresetListRowPitch * (row - listTop);
  place.visible = place.y >= kPresetListFirstRowY;
  return place;
}

int PickedPresetSlot(int listTop, double pickerValue) {
  const int row = std::clamp(static_cast<int>(pickerValue), 0, kPresetListVisibleRows - 1);
  return std::clamp(listTop, 0, kPresetListMaxTop) + row;
}

int ListTopAfterWheel(int listTop, bool positive, bool fineStep) {
  const int step = fineStep ? kWheelFineStep : kWheelStep;
  return std::clamp(positive ? listTop - step : listTop + step, 0, kPresetListMaxTop);
}

PresetPickAction PresetPickActionFor(bool connected, bool saveArmed) {
  if (!connected) return PresetPickAction::kNone;
  return saveArmed ? PresetPickAction::kStore : PresetPickAction::kSelect;
}

}  // namespace qd3
