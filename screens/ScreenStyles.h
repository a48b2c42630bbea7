#pragma once

// The palette, text sizes, text and control styles of the editor's screens, and the
// fonts they name. The screens and their overlays take every colour from here.

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

namespace palette {

inline constexpr IColor kLightGrey{255, 204, 204, 204};  // titles, values
// Captions and units: light enough for 4.5:1 on the window and on a knob's face.
inline constexpr IColor kDarkGrey{255, 160, 160, 160};
inline constexpr IColor kCyan{255, 100, 255, 255};        // names, cabinet rows, curves
inline constexpr IColor kEditedAmber{255, 255, 176, 59};  // "EDITED" beside the name
inline constexpr IColor kListCyan{150, 100, 255, 255};    // preset rows
inline constexpr IColor kIrGainCyan{255, 51, 255, 255};
inline constexpr IColor kGhostSegments{255, 51, 51, 51};  // unlit segments of the display

inline constexpr IColor kKnobAccent{255, 51, 255, 255};
// The face a knob's value and unit are read on, and its frame and pointer.
inline constexpr IColor kKnobBody{255, 52, 52, 56};
inline constexpr IColor kKnobFrame{255, 150, 150, 150};
inline constexpr IColor kKnobPressed{255, 169, 169, 169};
inline constexpr IColor kButtonOff{255, 124, 124, 124};  // black labels at 5:1
inline constexpr IColor kButtonPressed{255, 144, 144, 144};
inline constexpr IColor kBoxBody{255, 94, 94, 94};
inline constexpr IColor kLinkHover = kButtonOff;  // links of the firmware screen

inline constexpr IColor kWindowBackground{255, 28, 28, 30};  // behind everything
inline constexpr IColor kListRowBackground{255, 38, 38, 38};
inline constexpr IColor kProgressPanel{255, 32, 32, 32};  // opaque: nothing shows through
inline constexpr IColor kSettingsCaptionText{255, 240, 240, 240};
inline constexpr IColor kSettingsCaptionBackground{255, 70, 70, 70};

}  // namespace palette

// Text sizes of the styles below.
namespace text_size {

inline constexpr float kTitle = 44.f;
inline constexpr float kCaption = 26.f;
inline constexpr float kUnit = 34.f;
inline constexpr float kValue = 40.f;
inline constexpr float kIrGain = 22.f;
inline constexpr float kList = 27.f;
inline constexpr float kIrList = 24.f;
inline constexpr float kName = 24.f;
inline constexpr float kStatus = 22.f;
inline constexpr float kDisplay = 88.f;
inline constexpr float kBox = 20.f;  // message boxes and overlay texts before resizing
inline constexpr float kUnusedFont = 20.f;

}  // namespace text_size

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
