#pragma once

// COMPARE: the pedal plays the stored preset while the edited sound waits in the editor,
// and plays the edited sound again at the second press or at the next edit.

#include "editor/EditorState.h"
#include "editor/ParamWriter.h"
#include "editor/ScreenWriter.h"
#include "editor/SoundValues.h"
#include "params/ParamCatalogue.h"

namespace qd3 {

class CompareStored {
 public:
  struct Needs {
    ScreenWriter& screen;
    const ParamCatalogue& params;
    ParamWriter& writer;
    EditBufferState& edit;
  };
  explicit CompareStored(const Needs& needs) : mNeeds(needs) {}

  bool Active() const { return mActive; }
  // The button and the key: only an edited preset has something to compare.
  void Toggle();
  // Plays the edited sound again, if comparing; before anything that changes or stores
  // the edit buffer.
  void Leave();
  // The pedal loaded another edit buffer: nothing to go back to.
  void Forget();

 private:
  void Light(bool on);

  Needs mNeeds;
  bool mActive = false;
  SoundValues mEdited{};
};

}  // namespace qd3
