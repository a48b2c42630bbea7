#include "editor/CompareStored.h"

#include "QD3ControlScreenNames.h"

namespace qd3 {

void CompareStored::Toggle() {
  if (mActive) {
    Leave();
    return;
  }
  EditBufferState& edit = mNeeds.edit;
  if (!edit.presetModified) return;
  mEdited = CaptureSound(mNeeds.params);
  mActive = true;
  WriteSound(mNeeds.params, mNeeds.writer, edit.deviceSnapshot);
  // The edited sound still exists: the preset stays marked as edited while comparing.
  edit.presetModified = true;
  mNeeds.screen.ShowPresetModified(true);
  Light(true);
}

void CompareStored::Leave() {
  if (!mActive) return;
  mActive = false;
  WriteSound(mNeeds.params, mNeeds.writer, mEdited);
  Light(false);
}

void CompareStored::Forget() {
  if (!mActive) return;
  mActive = false;
  Light(false);
}

void CompareStored::Light(bool on) {
  mNeeds.screen.SetValue(kTagCompareButton, on ? 1.0 : 0.0);
}

}  // namespace qd3
