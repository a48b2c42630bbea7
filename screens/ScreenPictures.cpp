#include "screens/ScreenPictures.h"

#include <memory>

namespace qd3 {
namespace {

constexpr int kTwoFrames = 2;
constexpr double kKnobGearing = 4.0;

}  // namespace

IBitmapControl* AttachPicture(IGraphics& g, const std::string& file, float x, float y,
                              FrameSize frame, int tag, std::string_view group) {
  const IBitmap bitmap = g.LoadBitmap(file);
  return g.AttachControl(
      std::make_unique<IBitmapControl>(IRECT::MakeXYWH(x, y, frame.w, frame.h), bitmap), tag,
      group);
}

IBButtonControl* AttachPictureButton(IGraphics& g, const std::string& file, float x, float y,
                                     FrameSize fallback, IActionFunction action, int tag,
                                     std::string_view group) {
  const IBitmap bitmap = g.LoadBitmap(file, kTwoFrames);
  auto button = std::make_unique<IBButtonControl>(x, y, bitmap, std::move(action));
  if (!bitmap.IsValid()) button->SetRECT(IRECT::MakeXYWH(x, y, fallback.w, fallback.h));
  return g.AttachControl(std::move(button), tag, group);
}

IBKnobRotaterControl* AttachRotaterKnob(IGraphics& g, const std::string& file, float cx, float cy,
                                        FrameSize frame, int param, std::string_view group) {
  const IBitmap bitmap = g.LoadBitmap(file);
  return g.AttachControl(
      std::make_unique<IBKnobRotaterControl>(IRECT::MakeMidXYWH(cx, cy, frame.w, frame.h), bitmap,
                                             param, kKnobGearing),
      kNoTag, group);
}

}  // namespace qd3
