#pragma once

#include "toolkit/controls/ITextControl.h"

namespace qd3 {

// A text the user edits in place: a press opens the canvas's text entry over it with the
// text as shown, trailing spaces left out (a fixed-width name is padded with them), and
// committing the entry sets the text and runs the action.
class IEditableTextControl : public ITextControl {
 public:
  // `maxBytes` > 0: the entry takes at most that many bytes of printable ASCII.
  IEditableTextControl(const IRECT& bounds, std::string str, const IText& text,
                       const IColor& background = kColorTransparent,
                       IActionFunction action = nullptr, std::size_t maxBytes = 0);

  // A typed text may be wider than the field: it is cut at the field's sides, which
  // is all a redraw of the field paints over again.
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnTextEntryCompletion(const std::string& text) override;

 private:
  std::size_t mMaxBytes = 0;
};

}  // namespace qd3
