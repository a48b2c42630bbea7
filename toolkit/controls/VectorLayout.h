#pragma once

#include <algorithm>
#include <string>

#include "toolkit/IRECT.h"
#include "toolkit/IVStyle.h"

namespace qd3 {

// Where a vector control puts its label (on top), its value text (at the bottom)
// and its widget (the rest), following the style.
struct VectorLayout {
  IRECT label;
  IRECT widget;
  IRECT valueText;

  static VectorLayout Make(const IRECT& r, const IVStyle& style, const std::string& labelStr) {
    VectorLayout l{{}, r, {}};
    if (style.showLabel && !labelStr.empty()) {
      const float lh = style.labelText.size + 6.f;
      l.label = r.GetFromTop(lh);
      l.widget = l.widget.GetReducedFromTop(lh);
    }
    if (style.showValue) {
      const float vh = style.valueText.size + 6.f;
      l.valueText = l.widget.GetFromBottom(vh);
      l.widget.B -= vh;
    }
    return l;
  }
};

inline float CornerRadius(const IVStyle& style, const IRECT& r) {
  return style.roundness * std::min(r.W(), r.H()) / 2.f;
}

}  // namespace qd3
