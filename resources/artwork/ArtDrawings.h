#pragma once

// The drawing functions of the pictures, grouped by the file that holds them.
#include "resources/artwork/ArtworkCatalog.h"

namespace qd3::art {

// PedalFace.cpp
void DrawBackground(cairo_t* cr, const Picture& p, int frame);

// KnobsAndSwitches.cpp
void DrawKnob(cairo_t* cr, const Picture& p, int frame);
void DrawFootSwitch(cairo_t* cr, const Picture& p, int frame);
void DrawSaveButton(cairo_t* cr, const Picture& p, int frame);
void DrawLed(cairo_t* cr, const Picture& p, int frame);
void DrawMicHandle(cairo_t* cr, const Picture& p, int frame);
void DrawMicTrack(cairo_t* cr, const Picture& p, int frame);

// VoicingButtons.cpp
void DrawVoicingButton(cairo_t* cr, const Picture& p, int frame);

// Screens.cpp
void DrawIrFrame(cairo_t* cr, const Picture& p, int frame);
void DrawIrPanel(cairo_t* cr, const Picture& p, int frame);
void DrawFirmwareScreen(cairo_t* cr, const Picture& p, int frame);
void DrawSettingsScreen(cairo_t* cr, const Picture& p, int frame);
void DrawMidiController(cairo_t* cr, const Picture& p, int frame);
void DrawAboutScreen(cairo_t* cr, const Picture& p, int frame);

// Shared by the backgrounds: the editor's dark canvas texture over w x h.
void DrawCanvas(cairo_t* cr, double w, double h);

}  // namespace qd3::art
