#pragma once

#include "toolkit/controls/ITextControl.h"

namespace qd3 {

// A text the user edits in place: a press opens the canvas's text entry over it,
// and committing the entry sets the text and runs the action.
class IEditableTextControl : public ITextControl {
 public:
  IEditableTextControl(const IRECT& bounds, std::string str, const IText& text,
                       const IColor& background = kColorTransparent,
                       IActionFunction action = nullptr);

  // A typed text may be wider than the field: it is cut at the field's sides, which
  // is all a redraw of the field paints over again.
  void Draw(IDrawContext& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnTextEntryCompletion(const std::string& text) override;
};

}  // namespace qd3
