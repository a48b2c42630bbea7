#pragma once

#include <string>

#include "toolkit/Colors.h"

namespace qd3 {

enum class EAlign { Near, Center, Far };
enum class EVAlign { Top, Middle, Bottom };

// A text style: font id (empty for the default font), size in design units (the
// em size), colour and alignment inside the rectangle the text is drawn in.
struct IText {
  float size = 14.f;
  IColor fgColor = kColorBlack;
  std::string font;
  EAlign align = EAlign::Center;
  EVAlign valign = EVAlign::Middle;

  IText() = default;
  IText(float sz, const IColor& color, std::string fontId = {}, EAlign a = EAlign::Center,
        EVAlign va = EVAlign::Middle)
      : size(sz), fgColor(color), font(std::move(fontId)), align(a), valign(va) {}

  IText WithSize(float s) const {
    IText t = *this;
    t.size = s;
    return t;
  }
  IText WithFGColor(const IColor& c) const {
    IText t = *this;
    t.fgColor = c;
    return t;
  }
  IText WithAlign(EAlign a) const {
    IText t = *this;
    t.align = a;
    return t;
  }
  IText WithVAlign(EVAlign va) const {
    IText t = *this;
    t.valign = va;
    return t;
  }
};

}  // namespace qd3
