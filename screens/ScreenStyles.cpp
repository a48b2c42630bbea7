#include "screens/ScreenStyles.h"

#include <array>
#include <utility>

namespace qd3 {
namespace {

// Font id and the TrueType resource it is loaded from.
constexpr std::array<std::pair<const char*, const char*>, 6> kScreenFonts = {{
    {kFontRoboto, "Roboto-Regular.ttf"},
    {kFontAwesome, "forkawesome-webfont.ttf"},
    {kFontAudio, "fontaudio.ttf"},
    {kFontLcd, "ni7seg.ttf"},
    {kFont7Seg, "MyBlueRoom.ttf"},
    {kFontKnow, "Knowledge-Bold.ttf"},
}};

constexpr float kSliderRoundness = 0.2f;

}  // namespace

int LoadScreenFonts(IGraphics& graphics) {
  int loaded = 0;
  for (const auto& [id, file] : kScreenFonts) {
    if (graphics.LoadFont(id, file)) ++loaded;
  }
  graphics.Fonts().SetDefaultFontId(kFontRoboto);
  return loaded;
}

ScreenStyles MakeScreenStyles() {
  ScreenStyles s;
  s.titleText =
      IText(text_size::kTitle, palette::kLightGrey, kFontKnow, EAlign::Near, EVAlign::Top);
  s.captionText =
      IText(text_size::kCaption, palette::kDarkGrey, kFontKnow, EAlign::Center, EVAlign::Top);
  s.unitText = IText(text_size::kUnit, palette::kDarkGrey, kFontKnow, EAlign::Center, EVAlign::Top);
  s.valueText =
      IText(text_size::kValue, palette::kLightGrey, kFontKnow, EAlign::Center, EVAlign::Top);
  s.irGainText =
      IText(text_size::kIrGain, palette::kIrGainCyan, kFontKnow, EAlign::Center, EVAlign::Top);
  s.listText =
      IText(text_size::kList, palette::kListCyan, kFontRoboto, EAlign::Near, EVAlign::Middle);
  s.irListText =
      IText(text_size::kIrList, palette::kCyan, kFontRoboto, EAlign::Near, EVAlign::Middle);
  s.nameText = IText(text_size::kName, palette::kCyan, kFontRoboto, EAlign::Near, EVAlign::Top);
  s.statusText = IText(text_size::kStatus, kColorBlack, kFontRoboto, EAlign::Near, EVAlign::Top);
  s.buttonText =
      IText(kButtonLabelSmall, kColorBlack, kFontRoboto, EAlign::Center, EVAlign::Middle);
  s.displayGhostText =
      IText(text_size::kDisplay, palette::kGhostSegments, kFont7Seg, EAlign::Far, EVAlign::Top);
  s.displayText = IText(text_size::kDisplay, kColorWhite, kFont7Seg, EAlign::Far, EVAlign::Top);
  s.overlayText = IText(text_size::kBox, kColorWhite, kFontRoboto, EAlign::Center, EVAlign::Middle);
  s.awesomeText = IText(text_size::kUnusedFont, kColorWhite, kFontAwesome);
  s.audioText = IText(text_size::kUnusedFont, kColorWhite, kFontAudio);
  s.lcdText = IText(text_size::kUnusedFont, kColorWhite, kFontLcd);

  s.knobStyle = IVStyle{}
                    .WithShowLabel(false)
                    .WithShowValue(false)
                    .WithColor(kFG, palette::kKnobBody)
                    .WithColor(kX1, palette::kKnobAccent)
                    .WithColor(kPR, palette::kKnobPressed)
                    .WithColor(kFR, palette::kKnobFrame);
  s.buttonStyle = IVStyle{}
                      .WithShowLabel(true)
                      .WithShowValue(false)
                      .WithLabelText(s.buttonText)
                      .WithColor(kFG, palette::kButtonOff)
                      .WithColor(kPR, palette::kButtonPressed)
                      .WithColor(kFR, kColorBlack);
  IVColorSpec clear{};
  clear.fill(kColorTransparent);
  s.clearButtonStyle =
      IVStyle{}.WithShowLabel(false).WithShowValue(false).WithColors(clear).WithDrawFrame(false);
  const IText boxText(text_size::kBox, kColorWhite, kFontRoboto);
  s.boxStyle = IVStyle{}
                   .WithShowLabel(true)
                   .WithShowValue(true)
                   .WithLabelText(boxText)
                   .WithValueText(boxText)
                   .WithColor(kFG, palette::kBoxBody);
  s.sliderStyle =
      IVStyle{}.WithShowLabel(false).WithShowValue(false).WithHideCursor(false).WithRoundness(
          kSliderRoundness);
  return s;
}

}  // namespace qd3
