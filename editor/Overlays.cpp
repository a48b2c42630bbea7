#include "editor/Overlays.h"

#include "protocol/MessageBuilders.h"
#include "settings/MidiMapBlocks.h"

namespace qd3 {

void Overlays::OpenGlobalSettings() {
  mNeeds.session.pollEnabled = false;
  mOpen.settings = true;
  mNeeds.screen.ShowGroup(group::kGlobalSettings, true);
  mNeeds.outbox.Send(BuildRequestBlock(kBlockGlobalSettings));
}

void Overlays::CloseGlobalSettings() {
  mNeeds.session.pollEnabled = true;
  mOpen.settings = false;
  mNeeds.screen.ShowGroup(group::kGlobalSettings, false);
  mNeeds.mirror.Relabel();
}

namespace {

constexpr char kTextProgramMapUnread[] =
    "The QD3 did not send its program map, so the map on the pedal was left as it is.";
constexpr char kTextControllerMapUnread[] =
    "The QD3 did not send its controller map, so the map on the pedal was left as it is.";

}  // namespace

std::string Overlays::ResetQuestion(int kind) {
  const char* erased =
      "The QD3's global settings go back to their factory values; the presets "
      "are kept.\n";
  if (kind == kFactoryResetAll) {
    erased =
        "All 128 presets and the global settings on the QD3 are erased and replaced by "
        "the factory ones.\n";
  } else if (kind == kFactoryResetPresets) {
    erased = "All 128 presets on the QD3 are erased and replaced by the factory presets.\n";
  }
  return erased + std::string(kTextAreYouSure);
}

void Overlays::OpenProgramMap() {
  mOpen.programMap = true;
  mNeeds.mapsRead.program = false;
  mNeeds.screen.ShowGroup(group::kMidiProgram, true);
  mNeeds.screen.ShowGroup(group::kGlobalSettings, false);
  mNeeds.outbox.Send(BuildRequestBlock(kBlockProgramMap));
}

void Overlays::CloseProgramMap() {
  mOpen.programMap = false;
  mNeeds.screen.ShowGroup(group::kMidiProgram, false);
  mNeeds.screen.ShowGroup(group::kGlobalSettings, true);
  if (!mNeeds.mapsRead.program) {
    mNeeds.outbox.Post(kTextProgramMapUnread);
    return;
  }
  mNeeds.outbox.Send(BuildProgramMapBlock(mNeeds.programMap));
}

void Overlays::OpenControllerMap() {
  mOpen.controllerMap = true;
  mNeeds.mapsRead.controller = false;
  mNeeds.screen.ShowGroup(group::kMidiCc, true);
  mNeeds.screen.ShowGroup(group::kGlobalSettings, false);
  mNeeds.outbox.Send(BuildRequestBlock(kBlockControllerMap));
}

void Overlays::CloseControllerMap() {
  mOpen.controllerMap = false;
  mNeeds.screen.ShowGroup(group::kMidiCc, false);
  mNeeds.screen.ShowGroup(group::kGlobalSettings, true);
  if (!mNeeds.mapsRead.controller) {
    mNeeds.outbox.Post(kTextControllerMapUnread);
    return;
  }
  KnobControllers controllers{};
  for (size_t k = 0; k < controllers.size(); ++k) {
    controllers[k] = mNeeds.params[kFirstKnobControllerParam + static_cast<int>(k)].Raw();
  }
  mNeeds.outbox.Send(BuildControllerMapBlock(controllers));
}

void Overlays::FactoryReset(int kind) {
  // Without a way to ask there is no reset. The question says what goes.
  if (!mNeeds.screen.Ask(ResetQuestion(kind))) return;
  // The pedal's presets are about to change: the cache goes first, so nothing stale is
  // left behind when the pedal acts on the message.
  if (kind == kFactoryResetAll || kind == kFactoryResetPresets) {
    mNeeds.mirror.DeleteCacheAndBuildList();
  }
  mNeeds.outbox.Send(BuildFactoryReset(kind));
}

void Overlays::ShowAbout() {
  mOpen.about = true;
  mNeeds.screen.ShowGroup(group::kAbout, true);
}

void Overlays::CloseAbout() {
  mOpen.about = false;
  mNeeds.screen.ShowGroup(group::kAbout, false);
}

bool Overlays::OnKey(EditorKey key) {
  const bool close = key == EditorKey::kCloseOverlay;
  // Topmost first: the about screen lies above the settings pages, which lie above
  // the firmware screen.
  if (mOpen.about) {
    if (close) CloseAbout();
    return true;
  }
  if (mOpen.programMap) {
    if (close) CloseProgramMap();
    return true;
  }
  if (mOpen.controllerMap) {
    if (close) CloseControllerMap();
    return true;
  }
  if (mOpen.settings) {
    if (close) CloseGlobalSettings();
    return true;
  }
  if (mNeeds.banks.FirmwareScreenShown()) {
    // While the image streams the "X" is disabled, and so is Escape.
    if (close && !mNeeds.session.firmwareMode) mNeeds.banks.CloseFirmwareUpdate();
    return true;
  }
  return false;
}

}  // namespace qd3
