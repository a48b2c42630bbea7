#include "editor/FileDrops.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

#include "QD3ControlScreenNames.h"
#include "editor/BankActivities.h"
#include "editor/ImpulseResponses.h"
#include "presets/PresetFile.h"
#include "presets/SlotLabels.h"
#include "protocol/MessageBuilders.h"

namespace qd3 {
namespace {

constexpr char kTextWhereToDrop[] =
    " cannot be dropped here: drop a WAV file on user IR 7 or 8 of the IR page, a preset file "
    "(.q3p) on a preset in the list, or a bank file (.q3b) anywhere.";

// The controls of a user-IR position's row on the IR page: its cabinet-list name, mode
// switch, gain knob and IMPORT button.
struct UserIrRowControl {
  int tag;
  int paramIdx;
  DropSpot spot;
};
constexpr std::array<UserIrRowControl, 8> kUserIrRowControls = {{
    {kTagIrNameA, -1, DropSpot::kUserIrA},
    {kNoTag, kParamIrModeA, DropSpot::kUserIrA},
    {kTagUserIrGainKnobA, -1, DropSpot::kUserIrA},
    {kTagUserIrImportA, -1, DropSpot::kUserIrA},
    {kTagIrNameB, -1, DropSpot::kUserIrB},
    {kNoTag, kParamIrModeB, DropSpot::kUserIrB},
    {kTagUserIrGainKnobB, -1, DropSpot::kUserIrB},
    {kTagUserIrImportB, -1, DropSpot::kUserIrB},
}};

bool IsPicker(const ScreenWriter::Pointed& c) {
  return c.paramIdx == kParamPresetPicker || c.paramIdx == kParamIrPositionPicker;
}

// Appended piece by piece: GCC 12 at -O3 warns, wrongly, about a literal plus a string.
std::string Quoted(const std::string& path) {
  std::string text = "\"";
  text += DroppedFileName(path);
  text += '"';
  return text;
}

// The extension after the name's last dot, lower case; empty without one.
std::string Extension(const std::string& path) {
  const std::string name = DroppedFileName(path);
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

DropVerdict Refused(std::string text) {
  return {DropKind::kRefused, {}, std::move(text)};
}

// A list row's label without the padding around it; the slot's number while the list
// has no label for it.
std::string SlotName(const FileDrops::Actions& actions, int slot, int offset) {
  std::string label = actions.slotLabel(slot);
  label.erase(label.find_last_not_of(' ') + 1);
  label.erase(0, label.find_first_not_of(' '));
  std::string text = "\"";
  text += label.empty() ? SlotNumberText(slot, offset) : label;
  text += '"';
  return text;
}

std::string PositionName(bool positionB) {
  return positionB ? "8" : "7";
}

}  // namespace

std::string DroppedFileName(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const size_t slash = trimmed.find_last_of('/');
  return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

DropPlace DropPlaceOf(const std::vector<ScreenWriter::Pointed>& underPoint) {
  for (const ScreenWriter::Pointed& c : underPoint) {
    if (IsPicker(c)) continue;
    if (c.presetSlot >= 0) return {DropSpot::kPresetRow, c.presetSlot};
    for (const UserIrRowControl& row : kUserIrRowControls) {
      const bool byTag = row.tag != kNoTag && c.tag == row.tag;
      const bool byParam = row.paramIdx >= 0 && c.paramIdx == row.paramIdx;
      if (byTag || byParam) return {row.spot, -1};
    }
    // Anything else on top (a panel, an overlay) covers what lies beneath.
    return {};
  }
  return {};
}

DropVerdict JudgeDrop(const std::vector<std::string>& paths, const DropPlace& place) {
  if (paths.empty()) return Refused({});
  const std::string& path = paths.front();
  if (paths.size() > 1) {
    const size_t others = paths.size() - 1;
    return Refused(Quoted(path) + " and " + std::to_string(others) +
                   (others == 1 ? " other file were" : " other files were") +
                   " dropped together: drop one file at a time.");
  }
  // Whatever the desktop could not name as a local file arrives as its address.
  if (!std::filesystem::path(path).is_absolute()) {
    return Refused(Quoted(path) +
                   " is not a file on this computer: save it to a folder here, then drop it.");
  }
  const std::string ext = Extension(path);
  if (ext == kBankExtension) return {DropKind::kBankFile, path, {}};
  if (ext == kWavExtension &&
      (place.spot == DropSpot::kUserIrA || place.spot == DropSpot::kUserIrB)) {
    return {DropKind::kWav, path, {}};
  }
  if (ext == kPresetFileExtension && place.spot == DropSpot::kPresetRow) {
    return {DropKind::kPresetFile, path, {}};
  }
  return Refused(Quoted(path) + kTextWhereToDrop);
}

int FileDrops::PatchOffset() const {
  return mNeeds.params[kParamPatchOffset].Raw();
}

void FileDrops::Drop(const std::vector<std::string>& paths, float x, float y, Actions actions) {
  const DropPlace place = DropPlaceOf(mNeeds.screen.ControlsAt(x, y));
  const DropVerdict verdict = JudgeDrop(paths, place);
  if (verdict.kind == DropKind::kRefused) {
    if (!verdict.refusal.empty()) mNeeds.screen.ShowBox(verdict.refusal);
    return;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(verdict.path, error)) {
    mNeeds.screen.ShowBox(Quoted(verdict.path) +
                          " cannot be opened: it is a folder or no longer there.");
    return;
  }
  switch (verdict.kind) {
    case DropKind::kBankFile:
      actions.importBank(verdict.path);
      break;
    case DropKind::kWav:
      DropWav(verdict.path, place.spot == DropSpot::kUserIrB, actions);
      break;
    case DropKind::kPresetFile:
      DropPresetFile(verdict.path, place.slot, std::move(actions));
      break;
    case DropKind::kRefused:
      break;
  }
}

void FileDrops::DropWav(const std::string& path, bool positionB, const Actions& actions) {
  // As its IMPORT button, which is dark while the position plays its factory IR.
  if (mNeeds.params[positionB ? kParamIrModeB : kParamIrModeA].Raw() == 0) {
    const std::string position = PositionName(positionB);
    mNeeds.screen.ShowBox(Quoted(path) + " cannot go into position " + position +
                          " while it plays its factory IR: switch position " + position +
                          " to its user IR first.");
    return;
  }
  actions.loadWav(positionB, path);
}

void FileDrops::DropPresetFile(const std::string& path, int slot, Actions actions) {
  DeviceSession& session = mNeeds.session;
  if (!session.connected || slot == session.currentPreset) {
    ImportIntoCurrent(path, actions);
    return;
  }
  if (actions.busy()) {
    mNeeds.screen.ShowBox(Quoted(path) +
                          " cannot be imported now: the QD3 is busy with a transfer or a store. "
                          "Drop it again when it has finished.");
    return;
  }
  // A file the import would refuse is refused before the pedal leaves its preset.
  const PresetFileData file = LoadPresetFile(path);
  switch (file.status) {
    case PresetFileStatus::kIgnored:
      mNeeds.screen.ShowBox(Quoted(path) + " is not a preset file this editor can read.");
      return;
    case PresetFileStatus::kUnknownFormat:
    case PresetFileStatus::kUnsupportedVersion:
      mNeeds.screen.ShowBox(file.message);
      return;
    case PresetFileStatus::kRead:
      break;
  }
  // Changing the preset drops the unsaved edits, so that question comes before.
  if (mNeeds.edit.presetModified &&
      !mNeeds.screen.Ask(ImportQuestionText(ImportQuestion::kPresetNotSaved))) {
    return;
  }
  mNeeds.outbox.Send(BuildSelectPreset(slot));
  mWaiting = Waiting{path, slot, kPresetChangeWaitTicks, std::move(actions)};
}

void FileDrops::ImportIntoCurrent(const std::string& path, const Actions& actions) {
  if (!actions.importPreset(path)) {
    mNeeds.screen.ShowBox(Quoted(path) + " is not a preset file this editor can read.");
  }
}

void FileDrops::OnPresetLoaded(int slot) {
  if (!mWaiting || mWaiting->slot != slot) return;
  // Loaded from the pedal's reply: the questions wait for the idle tick.
  mNeeds.outbox.Later([this, waited = std::move(*mWaiting)] { ContinueAfterChange(waited); });
  mWaiting.reset();
}

void FileDrops::ContinueAfterChange(const Waiting& waited) {
  const DeviceSession& session = mNeeds.session;
  if (!session.connected || session.currentPreset != waited.slot) {
    mNeeds.screen.ShowBox("The QD3 left preset " +
                          SlotName(waited.actions, waited.slot, PatchOffset()) + " before " +
                          Quoted(waited.path) + " could be imported, so nothing was imported.");
    return;
  }
  ImportIntoCurrent(waited.path, waited.actions);
}

void FileDrops::OnDeviceTick() {
  if (!mWaiting) return;
  const bool lost = !mNeeds.session.connected;
  if (!lost && --mWaiting->ticksLeft > 0) return;
  const std::string label = SlotName(mWaiting->actions, mWaiting->slot, PatchOffset());
  const std::string name = Quoted(mWaiting->path);
  mWaiting.reset();
  mNeeds.outbox.Post(lost ? "The QD3 was disconnected before it changed to preset " + label +
                                ", so " + name + " was not imported."
                          : "The QD3 did not change to preset " + label + " within 3 seconds, so " +
                                name + " was not imported.");
}

}  // namespace qd3
