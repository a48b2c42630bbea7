#include "IGraphics.h"

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "api/EmbeddedResources.h"
#include "api/IEditorDelegate.h"
#include "controls/ICornerResizerControl.h"
#include "controls/IPanelControl.h"
#include "controls/IPopupMenuControl.h"
#include "controls/ITextEntryControl.h"

namespace qd3 {

IGraphics::IGraphics(IEditorDelegate* editor, int w, int h, int framesPerSecond, float drawScale)
    : delegate(editor),
      width(w),
      height(h),
      fps(framesPerSecond),
      scale(drawScale),
      textEntry(std::make_unique<ITextEntryControl>()),
      popupMenu(std::make_unique<IPopupMenuControl>()) {
  clock = [] {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
  };
  textEntry->AttachTo(this, kNoTag, {});
  popupMenu->AttachTo(this, kNoTag, {});
  CreateSurface();
}

IGraphics::~IGraphics() {
  // Controls go first: none of them may reach a half-destroyed canvas.
  captured = nullptr;
  mouseOver = nullptr;
  controls.clear();
  if (surface) cairo_surface_destroy(surface);
}

// ---- controls

void IGraphics::Attach(std::unique_ptr<IControl> control, int tag, std::string_view group) {
  IControl* c = control.get();
  controls.push_back(std::move(control));
  c->AttachTo(this, tag, group);
  if (delegate && c->GetParamIdx() > kNoParameter && c->GetParamIdx() < delegate->NParams()) {
    c->SetValueFromDelegate(delegate->GetParamNormalized(c->GetParamIdx()));
  }
  c->OnAttached();
  c->SetDirty();
}

IControl* IGraphics::AttachPanelBackground(const IColor& color) {
  return AttachControl(std::make_unique<IPanelControl>(
      IRECT(0.f, 0.f, static_cast<float>(width), static_cast<float>(height)), color));
}

void IGraphics::AttachCornerResizer(float size) {
  cornerResizer = std::make_unique<ICornerResizerControl>(
      IRECT(0.f, 0.f, static_cast<float>(width), static_cast<float>(height)), size);
  cornerResizer->AttachTo(this, kNoTag, {});
  cornerResizer->SetDirty();
}

void IGraphics::RemoveAllControls() {
  captured = nullptr;
  mouseOver = nullptr;
  textEntry->Cancel();
  if (popupMenu->IsOpen()) popupMenu->Close(-1);
  controls.clear();
  SetAllDirty();
}

IControl* IGraphics::GetControl(int index) const {
  if (index < 0 || index >= NControls()) return nullptr;
  return controls[static_cast<size_t>(index)].get();
}

IControl* IGraphics::GetControlWithTag(int tag) {
  if (tag == kNoTag) return nullptr;
  for (auto& c : controls) {
    if (c->GetTag() == tag) return c.get();
  }
  return nullptr;
}

void IGraphics::ForAllControls(const std::function<void(IControl&)>& fn) const {
  for (const auto& c : controls) fn(*c);
}

void IGraphics::ForControlInGroup(std::string_view group,
                                  const std::function<void(IControl&)>& fn) const {
  for (const auto& c : controls) {
    if (c->GetGroup() == group) fn(*c);
  }
}

void IGraphics::ForControlWithParam(int paramIdx, const std::function<void(IControl&)>& fn) const {
  if (paramIdx <= kNoParameter) return;
  for (const auto& c : controls) {
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
  if (!delegate || idx <= kNoParameter || idx >= delegate->NParams()) return;
  delegate->SetParameterValueFromUI(idx, source.GetValue());
  // The others show what the parameter took (it may clamp or step); the source
  // keeps its own continuous value so that a slow drag is not swallowed by steps.
  const double taken = delegate->GetParamNormalized(idx);
  ForControlWithParam(idx, [&](IControl& c) {
    if (&c != &source) c.SetValueFromDelegate(taken);
  });
}

void IGraphics::DrainParamUpdates() {
  if (!delegate) return;
  delegate->DrainQueuedParamUpdates([this](int idx, double v) {
    ForControlWithParam(idx, [v](IControl& c) { c.SetValueFromDelegate(v); });
  });
}

// ---- size and scale

int IGraphics::WindowWidth() const {
  return static_cast<int>(std::lround(width * scale));
}
int IGraphics::WindowHeight() const {
  return static_cast<int>(std::lround(height * scale));
}

void IGraphics::SetScaleLimits(float minS, float maxS) {
  minScale = minS;
  maxScale = maxS;
}

void IGraphics::Resize(int designWidth, int designHeight, float drawScale) {
  drawScale = std::clamp(drawScale, minScale, maxScale);
  if (designWidth == width && designHeight == height && drawScale == scale) return;
  width = designWidth;
  height = designHeight;
  scale = drawScale;
  if (cornerResizer) {
    cornerResizer->PlaceInCanvas(
        IRECT(0.f, 0.f, static_cast<float>(width), static_cast<float>(height)));
  }
  CreateSurface();
  if (resizeListener) resizeListener(WindowWidth(), WindowHeight(), scale);
}

void IGraphics::CreateSurface() {
  if (surface) cairo_surface_destroy(surface);
  surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, WindowWidth()),
                                       std::max(1, WindowHeight()));
  SetAllDirty();
}

double IGraphics::Now() const {
  return clock();
}

// ---- resources

bool IGraphics::LoadFont(std::string_view fontId, std::string_view fileName) {
  const bool ok = fonts.LoadFont(fontId, fileName);
  if (ok) SetAllDirty();
  return ok;
}

IBitmap IGraphics::LoadBitmap(const std::string& name, int nFrames) {
  const std::string key = name + "#" + std::to_string(nFrames);
  if (auto it = bitmaps.find(key); it != bitmaps.end()) return it->second;
  cairo_surface_t* normal = nullptr;
  cairo_surface_t* doubled = nullptr;
  if (const auto* res = FindEmbeddedResource(name)) normal = DecodeImageToSurface(res->bytes);
  if (const auto* res = FindEmbeddedResource(DoubleResolutionName(name))) {
    doubled = DecodeImageToSurface(res->bytes);
  }
  if (!normal && !doubled) return {};
  IBitmap bitmap(std::make_shared<BitmapData>(normal, doubled, nFrames, name));
  bitmaps.emplace(key, bitmap);
  return bitmap;
}

ISVG IGraphics::LoadSVG(const std::string& name, std::string_view units, float dpi) {
  if (units != "px") return {};
  if (auto it = svgs.find(name); it != svgs.end()) return it->second;
  const auto* res = FindEmbeddedResource(name);
  if (!res) return {};
  ISVG svg = ParseSVG(res->bytes, name, dpi);
  if (svg.IsValid()) svgs.emplace(name, svg);
  return svg;
}

// ---- text entry and menus

void IGraphics::CreateTextEntry(IControl& caller, const IText& text, const IRECT& bounds,
                                std::string_view initial) {
  if (popupMenu->IsOpen()) popupMenu->Close(-1);
  textEntry->Begin(caller, text, bounds, initial);
}

void IGraphics::CreatePopupMenu(IControl& caller, std::vector<std::string> items,
                                const IRECT& anchor, int checkedIndex) {
  if (textEntry->IsActive()) textEntry->Commit();
  if (popupMenu->IsOpen()) popupMenu->Close(-1);
  popupMenu->Open(caller, std::move(items), anchor, checkedIndex,
                  IRECT(0.f, 0.f, static_cast<float>(width), static_cast<float>(height)));
}

}  // namespace qd3
