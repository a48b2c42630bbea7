#pragma once

#include <functional>

typedef struct _GtkWindow GtkWindow;

namespace qd3 {

class PreferencesLogic;

// The modal "Preferences" dialog over PreferencesLogic: a frame "MIDI Device
// Settings" with the "Input Device" and "Output Device" lists, the MIDI system
// the lists come from, and the buttons "Apply", "OK" and "Cancel". Returns when
// the dialog is closed. While it runs, `portsChanged` holds what refreshes its
// lists (the host calls it when ports come or go); it is cleared on return.
void RunPreferencesDialog(GtkWindow* parent, PreferencesLogic& logic,
                          std::function<void()>& portsChanged);

}  // namespace qd3
