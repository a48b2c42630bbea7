#pragma once

#include <string>
#include <string_view>

#include "params/SoundTemplates.h"

namespace qd3 {

// Values the change handler derives from one parameter for another parameter,
// a graph or a list. Raw values are 0..127 unless said otherwise.

// --- linked parameters ---------------------------------------------------------

// "Compression" (69, 64..127) from "Dynamics" when the drive page opens or a
// template is applied: (d - 64) / 63 for d of 64 or more, else 0 (value 64).
double CompressionNormalizedFromDynamics(int dynamics);
// "Dynamics" (10) from "Compression": normalized v / 127, the same raw value.
double DynamicsNormalizedFromCompression(int compression);
// "IR" (14) from its reversed slider alias (73): raw 127 - v.
double IrNormalizedFromAlias(int alias);
// "IR" (14) from the IR position picker (72) after a press: position
// p = min(v, 8) gives 0.125 * p + 0.004 in single precision, which the catalogue
// stores as 1, 16, 32, 48, 64, 80, 96, 112, 127.
double IrNormalizedFromPosition(int pickerRaw);
// The IR selector slider (tag 61, bound to 73) mirrors "IR": 1 - v / 127.
float IrSliderValue(int ir);

// --- dynamics graph ------------------------------------------------------------

// Compressor ratio shown by parameter 25: S * 19 + 1 (1:1 .. 20:1).
float CompressorRatio(int raw);
// Expander ratio of parameter 29 as the graph takes it: 1 / (S * 11 + 1).
float ExpanderRatioReciprocal(int raw);
// Gate ratio of parameter 37 as the graph takes it: 1 / (S * 9 + 1).
float GateRatioReciprocal(int raw);
// The ratio the drive page's graph gets from "Dynamics": 1 when off, the
// compressor ratio of 25 or the reciprocal expander ratio of 29.
float DrivePageCompRatio(int dynamics, int compressorRatio, int expanderRatio);

// --- ambience and IR pages -----------------------------------------------------

// After "Reverb" (8) changes: on the ambience page the echo "TIME" group is shown
// when the echo or echoverb button is lit, hidden otherwise; elsewhere kept.
GroupChange EchoTimeGroupAfterReverb(int currentPage, double echoButton, double echoverbButton);

// A user-IR position (0 first, 1 second) with "IR Mode" v: user IR when v > 0,
// else the built-in cabinet whose fixed name is shown and whose gain knob and
// "IMPORT" button are disabled.
struct IrModeView {
  bool userIr = false;
  const char* fixedName = nullptr;  // "BRIT 2x12" / "BOUTIQUE 4x12" when !userIr
};
IrModeView IrModeViewFor(int position, int irMode);
// After an "IR Mode" change the IR display is recomputed only while "IR" selects
// one of the two user positions: v / 127 * 8 above 6.
bool IrModeRefreshesIrDisplay(int ir);

// User-IR number of a position from its two 7-bit halves (53/54, 55/56).
int UserIrNumber(int high, int low);
// The text of an empty user-IR list row for IR n: "Empty Slot %d" of n % 32 + 1.
std::string EmptyIrSlotText(int irNumber);
// After the stored name of IR n was refreshed from the cache: fetch IR n from the
// pedal when list row n % 32 is not an empty slot and differs from that name.
bool UserIrFetchNeeded(int irNumber, std::string_view rowText, std::string_view storedName);

// --- preset list ---------------------------------------------------------------

inline constexpr int kPresetListMaxTop = 109;  // 128 rows, 19 visible
inline constexpr int kPresetListVisibleRows = 19;
inline constexpr int kPresetListFirstRowY = 228;  // design units
inline constexpr int kPresetListRowPitch = 50;
inline constexpr int kPresetListRowX = 1;

// First visible row from "Scroll" (70): 109 - v.
int ListTopFromScroll(int scroll);
// "Scroll" value that brings slot to the top (or the list to its end): 109 - min(slot, 109).
int ScrollForSlot(int slot);
// Normalized "Scroll" for a first visible row: (109 - listTop) / 109.
double ScrollNormalizedForListTop(int listTop);

// Where preset row i sits for a first visible row: y = 228 + 50 (i - listTop);
// rows above the list are hidden.
struct PresetRowPlace {
  int x = kPresetListRowX;
  int y = 0;
  bool visible = false;
};
PresetRowPlace PresetRowPlacement(int row, int listTop);

// The slot a press on the preset list picks: listTop + row. The picker is not
// clamped by its control, so a press on its very bottom edge reads row 19; it is
// held to the last visible row so the slot never passes 127.
int PickedPresetSlot(int listTop, double pickerValue);
// A wheel turn over the list: 1 row with shift or control, else 3; a positive
// turn scrolls up (towards slot 0). Held to 0..109.
int ListTopAfterWheel(int listTop, bool positive, bool fineStep);

// What a pick sends while connected: the store into the picked slot when the
// store action is armed, else the selection of the picked preset.
enum class PresetPickAction { kNone, kStore, kSelect };
PresetPickAction PresetPickActionFor(bool connected, bool saveArmed);

}  // namespace qd3
