// Files dropped from the desktop: routed to the part that judges them, with the
// editor's own entry points as what each accepted drop does.
#include "QD3Control.h"

namespace qd3 {

void QD3Control::DropFiles(const std::vector<std::string>& paths, float x, float y) {
  FileDrops::Actions actions;
  actions.importPreset = [this](const std::string& path) { return ImportPresetFileFrom(path); };
  actions.importBank = [this](const std::string& path) { mBanks.ImportBankFile(path); };
  actions.loadWav = [this](bool positionB, const std::string& path) {
    mIr.LoadUserIrWavFile(positionB, path);
  };
  actions.slotLabel = [this](int slot) { return mMirror.RowLabel(slot); };
  // What a change of the pedal's preset would disturb.
  actions.busy = [this] { return TransferRunning() || browseArmed; };
  mDrops.Drop(paths, x, y, std::move(actions));
}

}  // namespace qd3
