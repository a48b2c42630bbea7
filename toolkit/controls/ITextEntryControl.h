#pragma once

#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IText.h"

namespace qd3 {

// The canvas's one in-place text editor. Opened over a control by
// IGraphics::CreateTextEntry; while open it receives the keyboard: Return commits, Escape
// cancels, Backspace, Delete, Home, End and the arrows edit, Ctrl+A selects everything
// (the next key replaces or deletes it). The text scrolls to keep the caret in view.
class ITextEntryControl : public IControl {
 public:
  ITextEntryControl();

  // `maxBytes` > 0: at most that many bytes, printable ASCII only.
  void Begin(IControl& caller, const IText& text, const IRECT& bounds, std::string_view initial,
             std::size_t maxBytes = 0);
  bool IsActive() const { return mCaller != nullptr; }
  IControl* Caller() const { return mCaller; }
  // Hands the text to the caller and closes.
  void Commit();
  void Cancel();
  const std::string& GetText() const { return mBuffer; }
  size_t Caret() const { return mCaret; }
  bool AllSelected() const { return mAllSelected; }

  void Draw(IDrawContext& g) override;
  bool OnKeyDown(float x, float y, const IKeyPress& key) override;

 private:
  size_t PrevCharStart(size_t pos) const;
  size_t NextCharStart(size_t pos) const;
  void Type(const std::string& text);

  IControl* mCaller = nullptr;
  IText mStyle;
  std::string mBuffer;
  size_t mCaret = 0;  // byte offset, always at the start of a UTF-8 character
  std::size_t mMaxBytes = 0;
  bool mAllSelected = false;
};

}  // namespace qd3
