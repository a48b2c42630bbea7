#pragma once

// The text and control styles of the editor's screens, and the fonts they name.

#include "toolkit/IGraphics.h"
#include "toolkit/IText.h"
#include "toolkit/IVStyle.h"

namespace qd3 {

// Font ids that the text styles refer to.
inline constexpr const char* kFontRoboto = "Roboto-Regular";
inline constexpr const char* kFontAwesome = "ForkAwesome";
inline constexpr const char* kFontAudio = "Fontaudio";
inline constexpr const char* kFontLcd = "FontLCD";
inline constexpr const char* kFont7Seg = "Font7Seg";
inline constexpr const char* kFontKnow = "Fontknow";

// Label sizes of the vector buttons.
inline constexpr float kButtonLabelSmall = 18.f;
inline constexpr float kButtonLabelMedium = 20.f;
inline constexpr float kButtonLabelLarge = 30.f;

struct ScreenStyles {
  IText titleText;         // page titles
  IText captionText;       // knob captions
  IText unitText;          // unit texts under values
  IText valueText;         // value texts inside the knobs
  IText irGainText;        // IR gain values
  IText listText;          // preset list rows
  IText irListText;        // cabinet list rows
  IText nameText;          // preset name entry, caption of the IR display
  IText statusText;        // device status lines
  IText buttonText;        // labels of vector buttons, at kButtonLabelSmall
  IText displayGhostText;  // unlit segments "188" of the pedal display
  IText displayText;       // lit digits of the pedal display
  IText overlayText;       // texts of overlays; size set per control
  // Made from the three fonts no control uses, so that they exist like the others.
  IText awesomeText;
  IText audioText;
  IText lcdText;

  IVStyle knobStyle;
  IVStyle buttonStyle;  // label at kButtonLabelSmall; ButtonStyleWithLabelSize for others
  IVStyle clearButtonStyle;
  IVStyle boxStyle;
  IVStyle sliderStyle;

  IVStyle ButtonStyleWithLabelSize(float size) const {
    return buttonStyle.WithLabelText(buttonText.WithSize(size));
  }
};

// Loads the six fonts under their ids; a font that cannot be loaded falls back to
// the toolkit's default face when drawn. Returns how many loaded.
int LoadScreenFonts(IGraphics& graphics);

// The styles of every screen, built from the font ids above.
ScreenStyles MakeScreenStyles();

}  // namespace qd3
