#pragma once

#include <string>

#include "toolkit/IControl.h"
#include "toolkit/IText.h"

namespace qd3 {

// The canvas's one in-place text editor. Opened over a control by
// IGraphics::CreateTextEntry; while open it receives the keyboard.
class ITextEntryControl : public IControl {
 public:
  ITextEntryControl();

  void Begin(IControl& caller, const IText& text, const IRECT& bounds, std::string_view initial);
  bool IsActive() const { return mCaller != nullptr; }
  IControl* Caller() const { return mCaller; }
  // Hands the text to the caller and closes.
  void Commit();
  void Cancel();
  const std::string& GetText() const { return mBuffer; }
  size_t Caret() const { return mCaret; }

  void Draw(IDrawContext& g) override;
  bool OnKeyDown(float x, float y, const IKeyPress& key) override;

 private:
  size_t PrevCharStart(size_t pos) const;
  size_t NextCharStart(size_t pos) const;

  IControl* mCaller = nullptr;
  IText mStyle;
  std::string mBuffer;
  size_t mCaret = 0;  // byte offset, always at the start of a UTF-8 character
};

}  // namespace qd3
