#pragma once

#include <functional>
#include <string>
#include <utility>

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
  // Opens the entry as a press does (a shortcut key focusing the field).
  void BeginEditing();
  void OnTextEntryCompletion(const std::string& text) override;
  // A search field: told the text as it is typed, and "" when Escape clears it.
  using LiveTextFunction = std::function<void(const std::string&)>;
  void SetLiveTextFunction(LiveTextFunction fn) { mLive = std::move(fn); }
  void OnTextEntryEdited(const std::string& text) override;
  void OnTextEntryCancelled() override;
  // What Return does besides the commit (a search field: pick the first match).
  void SetReturnFunction(std::function<void()> fn) { mReturn = std::move(fn); }
  void OnTextEntryReturn() override {
    if (mReturn) mReturn();
  }

 private:
  std::size_t mMaxBytes = 0;
  LiveTextFunction mLive;
  std::function<void()> mReturn;
};

}  // namespace qd3
