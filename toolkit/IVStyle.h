#pragma once

#include <array>

#include "toolkit/IText.h"

namespace qd3 {

// Colour roles of the vector controls.
enum EVColor {
  kBG = 0,  // background behind the widget
  kFG,      // widget body when not pressed ("off" colour of buttons)
  kPR,      // widget body or pointer while pressed
  kFR,      // frame
  kHL,      // highlight under the mouse and the click splash
  kSH,      // shadow and the unfilled part of tracks
  kX1,      // accent: value arc, filled part of a slider
  kNumVColors
};

using IVColorSpec = std::array<IColor, kNumVColors>;

inline constexpr IVColorSpec kDefaultVColors = {
    IColor{0, 0, 0, 0},        IColor{255, 200, 200, 200}, IColor{255, 240, 240, 240},
    IColor{255, 70, 70, 70},   IColor{30, 0, 0, 0},        IColor{60, 0, 0, 0},
    IColor{255, 40, 120, 220},
};

// Look of a vector control: what it draws besides its widget and in which colours.
struct IVStyle {
  bool showLabel = true;
  bool showValue = true;
  IVColorSpec colors = kDefaultVColors;
  IText labelText{20.f, kColorBlack, {}, EAlign::Center, EVAlign::Middle};
  IText valueText{20.f, kColorBlack, {}, EAlign::Center, EVAlign::Middle};
  bool hideCursor = true;  // hide the pointer while dragging (honoured by hosts that can)
  bool drawFrame = true;
  float roundness = 0.f;  // corner radius as a fraction of half the shorter side, 0..1
  float frameThickness = 1.f;

  IColor Color(EVColor role) const { return colors[role]; }

  IVStyle WithShowLabel(bool b) const {
    IVStyle s = *this;
    s.showLabel = b;
    return s;
  }
  IVStyle WithShowValue(bool b) const {
    IVStyle s = *this;
    s.showValue = b;
    return s;
  }
  IVStyle WithColor(EVColor role, const IColor& c) const {
    IVStyle s = *this;
    s.colors[role] = c;
    return s;
  }
  IVStyle WithColors(const IVColorSpec& newColors) const {
    IVStyle s = *this;
    s.colors = newColors;
    return s;
  }
  IVStyle WithLabelText(const IText& t) const {
    IVStyle s = *this;
    s.labelText = t;
    return s;
  }
  IVStyle WithValueText(const IText& t) const {
    IVStyle s = *this;
    s.valueText = t;
    return s;
  }
  IVStyle WithHideCursor(bool b) const {
    IVStyle s = *this;
    s.hideCursor = b;
    return s;
  }
  IVStyle WithDrawFrame(bool b) const {
    IVStyle s = *this;
    s.drawFrame = b;
    return s;
  }
  IVStyle WithRoundness(float r) const {
    IVStyle s = *this;
    s.roundness = r;
    return s;
  }
  IVStyle WithFrameThickness(float t) const {
    IVStyle s = *this;
    s.frameThickness = t;
    return s;
  }
};

inline const IVStyle kDefaultStyle{};

}  // namespace qd3
