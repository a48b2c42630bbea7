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

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnTextEntryCompletion(const std::string& text) override;
};

}  // namespace qd3
