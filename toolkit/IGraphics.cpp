#include "toolkit/IGraphics.h"

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "toolkit/api/EmbeddedResources.h"
#include "toolkit/api/IEditorDelegate.h"
#include "toolkit/controls/ICornerResizerControl.h"
#include "toolkit/controls/IPanelControl.h"
#include "toolkit/controls/IPopupMenuControl.h"
#include "toolkit/controls/ITextEntryControl.h"

namespace qd3 {
namespace {

// GTK's scale factor is a small integer; beyond this the backing image would be
// huge for no visible gain.
constexpr float kMaxBackingScale = 4.f;

}  // namespace

IGraphics::IGraphics(IEditorDelegate* editor, int w, int h, int framesPerSecond, float drawScale)
    : mDelegate(editor),
      mWidth(w),
      mHeight(h),
      mFps(framesPerSecond),
      mScale(drawScale),
      mTextEntry(std::make_unique<ITextEntryControl>()),
      mPopupMenu(std::make_unique<IPopupMenuControl>()) {
  mClock = [] {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
  };
  mTextEntry->AttachTo(this, kNoTag, {});
  mPopupMenu->AttachTo(this, kNoTag, {});
  CreateSurface();
}

IGraphics::~IGraphics() {
  // Controls go first: none of them may reach a half-destroyed canvas.
  mCaptured = nullptr;
  mOuseOver = nullptr;
  mControls.clear();
  if (mSurface) cairo_surface_destroy(mSurface);
}

// ---- controls

void IGraphics::Attach(std::unique_ptr<IControl> control, int tag, std::string_view group) {
  IControl* c = control.get();
  mControls.push_back(std::move(control));
  c->AttachTo(this, tag, group);
  if (mDelegate && c->GetParamIdx() > kNoParameter && c->GetParamIdx() < mDelegate->NParams()) {
    c->SetValueFromDelegate(mDelegate->GetParamNormalized(c->GetParamIdx()));
  }
  c->OnAttached();
  c->SetDirty();
}

IControl* IGraphics::AttachPanelBackground(const IColor& color) {
  return AttachControl(std::make_unique<IPanelControl>(
      IRECT(0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)), color));
}

void IGraphics::AttachCornerResizer(float size) {
  mCornerResizer = std::make_unique<ICornerResizerControl>(
      IRECT(0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)), size);
  mCornerResizer->AttachTo(this, kNoTag, {});
  mCornerResizer->SetDirty();
}

void IGraphics::RemoveAllControls() {
  mCaptured = nullptr;
  mOuseOver = nullptr;
  mTextEntry->Cancel();
  if (mPopupMenu->IsOpen()) mPopupMenu->Close(-1);
  mControls.clear();
  SetAllDirty();
}

IControl* IGraphics::GetControl(int index) const {
  if (index < 0 || index >= NControls()) return nullptr;
  return mControls[static_cast<size_t>(index)].get();
}

IControl* IGraphics::GetControlWithTag(int tag) {
  if (tag == kNoTag) return nullptr;
  for (auto& c : mControls) {
    if (c->GetTag() == tag) return c.get();
  }
  return nullptr;
}

void IGraphics::ForAllControls(const std::function<void(IControl&)>& fn) const {
  for (const auto& c : mControls) fn(*c);
}

void IGraphics::ForControlInGroup(std::string_view group,
                                  const std::function<void(IControl&)>& fn) const {
  for (const auto& c : mControls) {
    if (c->GetGroup() == group) fn(*c);
  }
}

void IGraphics::ForControlWithParam(int paramIdx, const std::function<void(IControl&)>& fn) const {
  if (paramIdx <= kNoParameter) return;
  for (const auto& c : mControls) {
    if (c->GetParamIdx() == paramIdx) fn(*c);
  }
}

void IGraphics::HideGroup(std::string_view group, bool hide) {
  ForControlInGroup(group, [hide](IControl& c) { c.Hide(hide); });
}

void IGraphics::DisableGroup(std::string_view group, bool disable) {
  ForControlInGroup(group, [disable](IControl& c) { c.SetDisabled(disable); });
}

// ---- parameters

void IGraphics::OnControlSetParam(IControl& source) {
  const int idx = source.GetParamIdx();
  if (!mDelegate || idx <= kNoParameter || idx >= mDelegate->NParams()) return;
  mDelegate->SetParameterValueFromUI(idx, source.GetValue());
  // The others show what the parameter took (it may clamp or step); the source
  // keeps its own continuous value so that a slow drag is not swallowed by steps.
  const double taken = mDelegate->GetParamNormalized(idx);
  ForControlWithParam(idx, [&](IControl& c) {
    if (&c != &source) c.SetValueFromDelegate(taken);
  });
  RefreshTooltip();
}

void IGraphics::DrainParamUpdates() {
  if (!mDelegate) return;
  mDelegate->DrainQueuedParamUpdates([this](int idx, double v) {
    ForControlWithParam(idx, [v](IControl& c) { c.SetValueFromDelegate(v); });
  });
  RefreshTooltip();
}

// ---- size and scale

int IGraphics::WindowWidth() const {
  return static_cast<int>(std::lround(mWidth * mScale));
}
int IGraphics::WindowHeight() const {
  return static_cast<int>(std::lround(mHeight * mScale));
}

void IGraphics::SetScaleLimits(float minS, float maxS) {
  mInScale = minS;
  mAxScale = maxS;
}

void IGraphics::Resize(int designWidth, int designHeight, float drawScale) {
  drawScale = std::clamp(drawScale, mInScale, mAxScale);
  if (designWidth == mWidth && designHeight == mHeight && drawScale == mScale) return;
  mWidth = designWidth;
  mHeight = designHeight;
  mScale = drawScale;
  if (mCornerResizer) {
    mCornerResizer->PlaceInCanvas(
        IRECT(0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)));
  }
  CreateSurface();
  if (mResizeListener) mResizeListener(WindowWidth(), WindowHeight(), mScale);
}

void IGraphics::SetBackingScale(float factor) {
  factor = std::clamp(factor, 1.f, kMaxBackingScale);
  if (factor == mBackingScale) return;
  mBackingScale = factor;
  CreateSurface();
}

void IGraphics::CreateSurface() {
  if (mSurface) cairo_surface_destroy(mSurface);
  // Whole window pixels times the factor, so that a device pixel never straddles
  // two window pixels.
  const auto w = static_cast<int>(std::lround(std::max(1, WindowWidth()) * mBackingScale));
  const auto h = static_cast<int>(std::lround(std::max(1, WindowHeight()) * mBackingScale));
  mSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  SetAllDirty();
}

double IGraphics::Now() const {
  return mClock();
}

// ---- resources

bool IGraphics::LoadFont(std::string_view fontId, std::string_view fileName) {
  const bool ok = mFonts.LoadFont(fontId, fileName);
  if (ok) SetAllDirty();
  return ok;
}

IBitmap IGraphics::LoadBitmap(const std::string& name, int nFrames) {
  const std::string key = name + "#" + std::to_string(nFrames);
  if (auto it = mBitmaps.find(key); it != mBitmaps.end()) return it->second;
  std::span<const unsigned char> normal;
  std::span<const unsigned char> doubled;
  if (const auto* res = FindEmbeddedResource(name)) normal = res->bytes;
  if (const auto* res = FindEmbeddedResource(DoubleResolutionName(name))) doubled = res->bytes;
  auto data = std::make_shared<BitmapData>(normal, doubled, nFrames, name);
  if (!data->IsReadable()) return {};
  IBitmap bitmap(std::move(data));
  mBitmaps.emplace(key, bitmap);
  return bitmap;
}

ISVG IGraphics::LoadSVG(const std::string& name, std::string_view units, float dpi) {
  if (units != "px") return {};
  if (auto it = mSvgs.find(name); it != mSvgs.end()) return it->second;
  const auto* res = FindEmbeddedResource(name);
  if (!res) return {};
  ISVG svg = ParseSVG(res->bytes, name, dpi);
  if (svg.IsValid()) mSvgs.emplace(name, svg);
  return svg;
}

// ---- text entry and menus

void IGraphics::CreateTextEntry(IControl& caller, const IText& text, const IRECT& bounds,
                                std::string_view initial, std::size_t maxBytes) {
  if (mPopupMenu->IsOpen()) mPopupMenu->Close(-1);
  mTextEntry->Begin(caller, text, bounds, initial, maxBytes);
}

void IGraphics::CreatePopupMenu(IControl& caller, std::vector<std::string> items,
                                const IRECT& anchor, int checkedIndex) {
  if (mTextEntry->IsActive()) mTextEntry->Commit();
  if (mPopupMenu->IsOpen()) mPopupMenu->Close(-1);
  mPopupMenu->Open(caller, std::move(items), anchor, checkedIndex,
                   IRECT(0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)));
}

}  // namespace qd3
