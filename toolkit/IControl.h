#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/Events.h"
#include "toolkit/IDrawContext.h"
#include "toolkit/IRECT.h"
#include "toolkit/api/ControlTag.h"
#include "toolkit/api/IControlHandle.h"
#include "toolkit/controls/KnobDrag.h"

namespace qd3 {

class IGraphics;
class IControl;

inline constexpr int kNoParameter = -1;

using IActionFunction = std::function<void(IControl*)>;

// The base of every control: a rectangle in design units, a tag and a group (set
// when attached), a value 0..1, an optional bound parameter, hidden and disabled
// flags, an optional action and an optional tooltip. Input handlers receive design
// units; a hidden control is neither drawn nor hit, a disabled one is drawn at a
// quarter of its opacity and receives no input.
class IControl : public IControlHandle {
 public:
  explicit IControl(const IRECT& bounds, int paramIdx = kNoParameter,
                    IActionFunction action = nullptr);
  ~IControl() override = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  virtual void Draw(IDrawContext& g) = 0;

  virtual void OnMouseDown(float x, float y, const IMouseMod& mod);
  virtual void OnMouseUp(float x, float y, const IMouseMod& mod);
  virtual void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod);
  // Comes after the second press of a double click, which OnMouseDown has had.
  virtual void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  virtual void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta);
  virtual void OnMouseOver(float x, float y, const IMouseMod& mod);
  virtual void OnMouseOut();
  // Returns whether the key was consumed.
  virtual bool OnKeyDown(float x, float y, const IKeyPress& key);
  virtual void OnTextEntryCompletion(const std::string& text);
  // While the entry is open: its text after each key that changed it.
  virtual void OnTextEntryEdited(const std::string& /*text*/) {}
  // Escape closed the entry without a commit.
  virtual void OnTextEntryCancelled() {}
  // Return committed the entry (after OnTextEntryCompletion); a press elsewhere commits
  // without this.
  virtual void OnTextEntryReturn() {}
  // index < 0: the menu was dismissed without a choice.
  virtual void OnPopupMenuSelection(int index);
  virtual void OnAttached() {}
  virtual void OnRectChanged() {}
  virtual void OnAnimationEnd() {}
  virtual bool IsHit(float x, float y) const { return mRect.Contains(x, y); }
  // The area the control may paint, which is what a redraw of it refreshes.
  virtual IRECT GetDrawRECT() const { return mRect; }

  // IControlHandle. Text operations do nothing on controls without text.
  void SetStr(std::string_view) override {}
  std::string GetStr() const override { return {}; }
  void SetTextColor(const IColor&) override {}
  void SetValueFromCode(double normalized) override { SetValue(normalized); }
  double GetValue() const override { return mValue; }
  void Hide(bool hide) override;
  bool IsHidden() const override { return mHidden; }
  void SetDisabled(bool disable) override;
  bool IsDisabled() const override { return mDisabled; }
  void MoveTo(float x, float y) override;
  void SetDirty() override;

  // Clamped to 0..1; marks the control for redraw; the parameter is not told.
  void SetValue(double normalized);
  // A value the parameter already has (from the editor's update queue).
  void SetValueFromDelegate(double normalized) { SetValue(normalized); }
  // A value the user chose: stored, handed to the bound parameter, then the action runs.
  void SetValueFromUserInput(double normalized);
  // Hands the current value to the bound parameter (normalized), if there is one.
  void NotifyParameter();
  void RunAction();

  int GetTag() const { return mTag; }
  const std::string& GetGroup() const { return mGroup; }
  int GetParamIdx() const { return mParamIdx; }
  void SetParamIdx(int idx) { mParamIdx = idx; }
  const IRECT& GetRECT() const { return mRect; }
  void SetRECT(const IRECT& r);
  void SetActionFunction(IActionFunction fn) { mAction = std::move(fn); }
  bool HasAction() const { return static_cast<bool>(mAction); }
  void SetTooltip(std::string text) { mTooltip = std::move(text); }
  const std::string& GetTooltip() const { return mTooltip; }
  // Knobs and sliders show their parameter in the tooltip: "name: value text".
  void SetParamTooltip(bool show) { mParamTooltip = show; }
  // The tooltip says what the screen says: the control's caption for the name, and the
  // read-out's number with its unit for the value ("PRE-AMP: 52 %").
  void SetTooltipCaption(std::string caption, std::string unit = {}) {
    mTooltipCaption = std::move(caption);
    mTooltipUnit = std::move(unit);
  }
  bool HasParamTooltip() const { return mParamTooltip; }
  // What the tooltip shows now: the fixed text if one was set, else the
  // parameter's name and value text where the control shows its parameter.
  std::string GetTooltipText() const;
  void SetIgnoreMouse(bool ignore) { mIgnoreMouse = ignore; }
  bool GetIgnoreMouse() const { return mIgnoreMouse; }
  bool GetMouseIsOver() const { return mOuseIsOver; }
  IGraphics* GetUI() const { return mUi; }
  // The display text of the bound parameter at the current value, or "".
  std::string GetParamDisplayText() const;
  // The bound parameter's default, normalized; the current value when unbound.
  double GetParamDefault() const;
  // One raw step of the bound parameter, normalized; 0 when continuous or unbound.
  double GetParamStep() const;
  // The gestures every knob and slider shares, through the ordinary set path.
  void ResetToDefaultFromUser() { SetValueFromUserInput(GetParamDefault()); }
  void WheelFromUser(float delta, const IMouseMod& mod);

  // A timed animation: the control is redrawn every frame until `seconds` have
  // passed, then OnAnimationEnd runs.
  void StartAnimation(double seconds);
  bool IsAnimating() const { return mAnimationStart >= 0.0; }
  double GetAnimationProgress() const;
  // Called by the frame clock; returns true when the animation ended now.
  bool AdvanceAnimation(double now);

  // Called by IGraphics when it takes the control.
  void AttachTo(IGraphics* graphics, int controlTag, std::string_view groupName);

 protected:
  // Bound to a parameter the editor has.
  bool IsBound() const;
  // Stores a value without clamping it (controls whose parameter clamps).
  void SetValueUnclamped(double v);

  IGraphics* mUi = nullptr;
  IRECT mRect;
  int mTag = kNoTag;
  std::string mGroup;
  int mParamIdx = kNoParameter;
  double mValue = 0.0;
  bool mHidden = false;
  bool mDisabled = false;
  bool mIgnoreMouse = false;
  bool mOuseIsOver = false;
  bool mRedrawOnHover = false;  // the control looks different under the mouse
  bool mParamTooltip = false;
  IActionFunction mAction;
  std::string mTooltip;
  std::string mTooltipCaption;
  std::string mTooltipUnit;
  double mAnimationStart = -1.0;
  double mAnimationDuration = 0.0;
};

}  // namespace qd3
