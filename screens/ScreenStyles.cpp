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

constexpr IColor kLightGrey{255, 204, 204, 204};
constexpr IColor kDarkGrey{255, 102, 102, 102};
constexpr IColor kCyan{255, 100, 255, 255};
constexpr IColor kListCyan{150, 100, 255, 255};
constexpr IColor kIrGainCyan{255, 51, 255, 255};
constexpr IColor kGhostSegments{255, 51, 51, 51};

constexpr IColor kKnobAccent{255, 51, 255, 255};
constexpr IColor kKnobPressed{255, 169, 169, 169};
constexpr IColor kButtonOff{255, 116, 116, 116};
constexpr IColor kButtonPressed{255, 144, 144, 144};
constexpr IColor kBoxBody{255, 94, 94, 94};

constexpr float kTitleSize = 44.f;
constexpr float kCaptionSize = 26.f;
constexpr float kUnitSize = 34.f;
constexpr float kValueSize = 40.f;
constexpr float kIrGainSize = 22.f;
constexpr float kListSize = 27.f;
constexpr float kIrListSize = 24.f;
constexpr float kNameSize = 24.f;
constexpr float kStatusSize = 22.f;
constexpr float kDisplaySize = 88.f;
constexpr float kBoxTextSize = 20.f;
constexpr float kUnusedFontSize = 20.f;
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
  s.titleText = IText(kTitleSize, kLightGrey, kFontKnow, EAlign::Near, EVAlign::Top);
  s.captionText = IText(kCaptionSize, kDarkGrey, kFontKnow, EAlign::Center, EVAlign::Top);
  s.unitText = IText(kUnitSize, kDarkGrey, kFontKnow, EAlign::Center, EVAlign::Top);
  s.valueText = IText(kValueSize, kLightGrey, kFontKnow, EAlign::Center, EVAlign::Top);
  s.irGainText = IText(kIrGainSize, kIrGainCyan, kFontKnow, EAlign::Center, EVAlign::Top);
  s.listText = IText(kListSize, kListCyan, kFontRoboto, EAlign::Near, EVAlign::Middle);
  s.irListText = IText(kIrListSize, kCyan, kFontRoboto, EAlign::Near, EVAlign::Middle);
  s.nameText = IText(kNameSize, kCyan, kFontRoboto, EAlign::Near, EVAlign::Top);
  s.statusText = IText(kStatusSize, kColorBlack, kFontRoboto, EAlign::Near, EVAlign::Top);
  s.buttonText =
      IText(kButtonLabelSmall, kColorBlack, kFontRoboto, EAlign::Center, EVAlign::Middle);
  s.displayGhostText = IText(kDisplaySize, kGhostSegments, kFont7Seg, EAlign::Far, EVAlign::Top);
  s.displayText = IText(kDisplaySize, kColorWhite, kFont7Seg, EAlign::Far, EVAlign::Top);
  s.overlayText = IText(kBoxTextSize, kColorWhite, kFontRoboto, EAlign::Center, EVAlign::Middle);
  s.awesomeText = IText(kUnusedFontSize, kColorWhite, kFontAwesome);
  s.audioText = IText(kUnusedFontSize, kColorWhite, kFontAudio);
  s.lcdText = IText(kUnusedFontSize, kColorWhite, kFontLcd);

  s.knobStyle = IVStyle{}
                    .WithShowLabel(false)
                    .WithShowValue(false)
                    .WithColor(kX1, kKnobAccent)
                    .WithColor(kPR, kKnobPressed)
                    .WithColor(kFR, kColorBlack);
  s.buttonStyle = IVStyle{}
                      .WithShowLabel(true)
                      .WithShowValue(false)
                      .WithLabelText(s.buttonText)
                      .WithColor(kFG, kButtonOff)
                      .WithColor(kPR, kButtonPressed)
                      .WithColor(kFR, kColorBlack);
  IVColorSpec clear{};
  clear.fill(kColorTransparent);
  s.clearButtonStyle =
      IVStyle{}.WithShowLabel(false).WithShowValue(false).WithColors(clear).WithDrawFrame(false);
  const IText boxText(kBoxTextSize, kColorWhite, kFontRoboto);
  s.boxStyle = IVStyle{}
                   .WithShowLabel(true)
                   .WithShowValue(true)
                   .WithLabelText(boxText)
                   .WithValueText(boxText)
                   .WithColor(kFG, kBoxBody);
  s.sliderStyle =
      IVStyle{}.WithShowLabel(false).WithShowValue(false).WithHideCursor(false).WithRoundness(
          kSliderRoundness);
  return s;
}

}  // namespace qd3
