#pragma once

typedef struct _GtkWindow GtkWindow;

namespace qd3 {

class PreferencesLogic;

// The modal "Preferences" dialog over PreferencesLogic: a frame "MIDI Device
// Settings" with the "Input Device" and "Output Device" lists, and the buttons
// "Apply", "OK" and "Cancel". Returns when the dialog is closed.
void RunPreferencesDialog(GtkWindow* parent, PreferencesLogic& logic);

}  // namespace qd3
