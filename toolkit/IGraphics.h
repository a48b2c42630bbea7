#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Events.h"
#include "toolkit/FontStore.h"
#include "toolkit/IBitmap.h"
#include "toolkit/IControl.h"
#include "toolkit/IRECT.h"
#include "toolkit/ISVG.h"
#include "toolkit/IText.h"
#include "toolkit/api/IScreenAccess.h"

typedef struct _cairo_surface cairo_surface_t;

namespace qd3 {

class IEditorDelegate;
class IPlatformServices;
class ICornerResizerControl;
class ITextEntryControl;
class IPopupMenuControl;

struct FrameStats {
  uint64_t frameTicks = 0;     // calls of OnFrame, painted or not
  uint64_t framesDrawn = 0;    // frames in which anything was painted
  uint64_t controlsDrawn = 0;  // control draws over all frames
  int controlsDrawnLastFrame = 0;
};

// One drawing context per window: a fixed design size, a draw scale applied to
// all drawing and mouse input, the attached controls in paint order (later is
// above), and a backing image the host shows. A host (the GTK widget or the
// offscreen backend) forwards input in window pixels and calls OnFrame at the
// frame rate; OnFrame paints only the areas marked dirty since the last frame.
class IGraphics : public IScreenAccess {
 public:
  IGraphics(IEditorDelegate* delegate, int width, int height, int fps = 60, float scale = 1.f);
  ~IGraphics() override;
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- controls
  template <class T>
  T* AttachControl(std::unique_ptr<T> control, int tag = kNoTag, std::string_view group = {}) {
    T* raw = control.get();
    Attach(std::unique_ptr<IControl>(std::move(control)), tag, group);
    return raw;
  }
  // A filled panel under everything attached after it.
  IControl* AttachPanelBackground(const IColor& color);
  // A handle of `size` units in the bottom-right corner; dragging it changes the
  // draw scale (the layout stays), within the scale limits.
  void AttachCornerResizer(float size = 20.f);
  void RemoveAllControls();
  int NControls() const { return static_cast<int>(mControls.size()); }
  IControl* GetControl(int index) const;
  IControl* GetControlWithTag(int tag) override;
  void ForAllControls(const std::function<void(IControl&)>& fn) const;
  void ForControlInGroup(std::string_view group, const std::function<void(IControl&)>& fn) const;
  void ForControlWithParam(int paramIdx, const std::function<void(IControl&)>& fn) const;
  void HideGroup(std::string_view group, bool hide) override;
  void DisableGroup(std::string_view group, bool disable) override;
  std::vector<ScreenHit> ControlsAt(float x, float y) override {
    std::vector<ScreenHit> hits;
    for (auto it = mControls.rbegin(); it != mControls.rend(); ++it) {
      IControl* c = it->get();
      if (!c->IsHidden() && c->IsHit(x, y)) hits.push_back({c, c->GetTag(), c->GetParamIdx()});
    }
    return hits;
  }

  // ---- parameters
  IEditorDelegate* GetDelegate() const { return mDelegate; }
  // A control's value went to its parameter: the parameter is set from the UI
  // and every other control bound to it follows.
  void OnControlSetParam(IControl& source);
  // Hands each queued (index, value) to the controls bound to that index.
  void DrainParamUpdates();

  // ---- size and scale
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  float GetDrawScale() const { return mScale; }
  int WindowWidth() const;
  int WindowHeight() const;
  void Resize(int designWidth, int designHeight, float drawScale);
  void SetScaleLimits(float minScale, float maxScale);
  float MinScale() const { return mInScale; }
  // Device pixels per window pixel of the screen the canvas is shown on (GTK's
  // scale factor: 2 on a HiDPI display). The backing image then holds that many
  // device pixels per window pixel and is drawn at draw scale x factor, so that
  // pictures use their "@2x" twins and lines stay one device pixel sharp; input
  // stays in window pixels.
  void SetBackingScale(float factor);
  float GetBackingScale() const { return mBackingScale; }
  // Device pixels per design unit: what the drawing actually uses.
  float GetDeviceScale() const { return mScale * mBackingScale; }
  float MaxScale() const { return mAxScale; }
  // Called after every resize with the new window size in pixels.
  void SetResizeListener(std::function<void(int windowW, int windowH, float scale)> fn) {
    mResizeListener = std::move(fn);
  }

  // ---- frames
  int FPS() const { return mFps; }
  void SetClock(std::function<double()> secondsClock) { mClock = std::move(secondsClock); }
  double Now() const;
  // One tick of the frame clock: drains parameter updates, advances animations
  // and paints the dirty areas. Returns whether anything was painted.
  bool OnFrame();
  void SetAreaDirty(const IRECT& designRect);
  void SetAllDirty();
  bool IsDirty() const { return !mDirty.empty(); }
  // Whether the frame clock can stop: nothing to paint, no animation running.
  // A host that stops its clock restarts it from the wake listener, which runs
  // whenever an area becomes dirty while none was (UI thread).
  bool IsIdle() const;
  void SetWakeListener(std::function<void()> fn) { mWakeListener = std::move(fn); }
  // The window-pixel rectangles the last painted frame changed (whole pixels
  // covering what changed in the backing image).
  const std::vector<IRECT>& LastPaintedRegion() const { return mLastPainted; }
  const FrameStats& Stats() const { return mStats; }
  cairo_surface_t* GetSurface() const { return mSurface; }
  bool WritePNG(const std::string& path) const;
  // A pixel of the backing image under a window pixel (its top-left device
  // pixel), alpha 255.
  IColor GetPixel(int wx, int wy) const;
  // A pixel of the backing image in device pixels, alpha 255.
  IColor GetDevicePixel(int dx, int dy) const;

  // ---- input, in window pixels
  void OnMouseDown(float x, float y, const IMouseMod& mod);
  void OnMouseUp(float x, float y, const IMouseMod& mod);
  // A drag while a control holds the mouse, else mouse-over tracking.
  void OnMouseMove(float x, float y, const IMouseMod& mod);
  // After the second press of a double click; the press itself comes through
  // OnMouseDown as usual.
  void OnMouseDblClick(float x, float y, const IMouseMod& mod);
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float delta);
  void OnMouseOut();
  // Returns whether a control (or, failing that, the unhandled-key handler)
  // consumed the key.
  bool OnKeyDown(float x, float y, const IKeyPress& key);
  // Keys no control takes while no text entry or menu is open: the screen's own
  // shortcuts.
  void SetUnhandledKeyHandler(std::function<bool(const IKeyPress&)> fn) {
    mUnhandledKey = std::move(fn);
  }
  void EnableMouseOver(bool enable);
  void EnableTooltips(bool enable);
  bool MouseOverEnabled() const { return mOuseOverEnabled; }
  bool TooltipsEnabled() const { return mTooltipsEnabled; }
  void SetTooltipListener(std::function<void(const std::string&)> fn) {
    mTooltipListener = std::move(fn);
  }
  const std::string& CurrentTooltip() const { return mCurrentTooltip; }
  // The topmost shown control at a design point that takes the mouse (disabled
  // ones included), or nullptr.
  IControl* GetControlAt(float x, float y) const;
  IControl* GetMouseOverControl() const { return mOuseOver; }
  IControl* GetCapturedControl() const { return mCaptured; }
  void OnControlLostInput(IControl& control);

  // ---- resources
  bool LoadFont(std::string_view fontId, std::string_view fileName);
  FontStore& Fonts() { return mFonts; }
  // A picture by resource file name with nFrames frames stacked vertically; its
  // "@2x" twin is used above scale 1 where one exists. Empty when missing.
  IBitmap LoadBitmap(const std::string& name, int nFrames = 1);
  // Only the unit "px" is supported.
  ISVG LoadSVG(const std::string& name, std::string_view units = "px", float dpi = 72.f);

  // ---- platform, text entry and menus
  void SetPlatformServices(IPlatformServices* services) { mPlatform = services; }
  IPlatformServices* GetPlatformServices() const { return mPlatform; }
  // In-place text entry over `bounds`; Return commits to caller.OnTextEntryCompletion,
  // Escape cancels, a press elsewhere commits.
  // `maxBytes` > 0 stops typing at that many bytes and takes printable ASCII only, for
  // fields the pedal stores byte for byte.
  void CreateTextEntry(IControl& caller, const IText& text, const IRECT& bounds,
                       std::string_view initial, std::size_t maxBytes = 0);
  // A menu under `anchor`; a choice goes to caller.OnPopupMenuSelection.
  void CreatePopupMenu(IControl& caller, std::vector<std::string> items, const IRECT& anchor,
                       int checkedIndex = -1);
  ITextEntryControl& TextEntry() { return *mTextEntry; }
  IPopupMenuControl& PopupMenu() { return *mPopupMenu; }
  ICornerResizerControl* CornerResizer() const { return mCornerResizer.get(); }

 private:
  void Attach(std::unique_ptr<IControl> control, int tag, std::string_view group);
  void CreateSurface();
  void Paint();
  void UpdateMouseOver(float x, float y, const IMouseMod& mod);
  void BeginGesture(const IControl& c, bool wheel);
  void EndGesture();
  void SetTooltip(const std::string& text);
  void RefreshTooltip();
  IControl* OverlayAt(float x, float y) const;
  std::vector<IControl*> Overlays() const;

  IEditorDelegate* mDelegate;
  IPlatformServices* mPlatform = nullptr;
  int mWidth;
  int mHeight;
  int mFps;
  float mScale;
  float mBackingScale = 1.f;
  float mInScale = 1.f / 3.f;
  float mAxScale = 3.f;
  cairo_surface_t* mSurface = nullptr;
  FontStore mFonts;
  std::map<std::string, IBitmap> mBitmaps;
  std::map<std::string, ISVG> mSvgs;
  std::vector<std::unique_ptr<IControl>> mControls;
  std::unique_ptr<ICornerResizerControl> mCornerResizer;
  std::unique_ptr<ITextEntryControl> mTextEntry;
  std::unique_ptr<IPopupMenuControl> mPopupMenu;
  std::vector<IRECT> mDirty;  // design units
  std::vector<IRECT> mLastPainted;
  FrameStats mStats;
  std::function<double()> mClock;
  std::function<void(int, int, float)> mResizeListener;
  std::function<void()> mWakeListener;
  std::function<bool(const IKeyPress&)> mUnhandledKey;
  std::function<void(const std::string&)> mTooltipListener;
  IControl* mCaptured = nullptr;
  bool mGestureOpen = false;  // between a press on a bound control and its release
  IControl* mOuseOver = nullptr;
  float mLastX = 0.f;  // design units
  float mLastY = 0.f;
  bool mOuseOverEnabled = false;
  bool mTooltipsEnabled = false;
  std::string mCurrentTooltip;
};

}  // namespace qd3
