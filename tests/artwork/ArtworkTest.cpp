#include <gtest/gtest.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "resources/artwork/ArtworkCatalog.h"
#include "tests/artwork/PictureStats.h"
#include "toolkit/IBitmap.h"
#include "toolkit/api/EmbeddedResources.h"

namespace qd3::art {
namespace {

using test::DecodePng;
using test::Image;

// The pictures the screens load, with the size of one frame. Voicing buttons may be
// 140..163 wide; their frames are 35.5 high (71 pixels for both).
struct Expected {
  const char* name;
  int minWidth;
  int maxWidth;
  double frameHeight;
  int frames;
};
constexpr Expected kExpected[] = {
    {"background.png", 1920, 1920, 1200, 1},
    {"knobrotate.png", 102, 102, 102, 1},
    {"knobrotatebig.png", 130, 130, 130, 1},
    {"fswitch.png", 75, 75, 85, 2},
    {"save.png", 38, 38, 76, 2},
    {"led.png", 16, 16, 16, 1},
    {"radio-room.png", 140, 163, 35.5, 2},
    {"radio-hall.png", 140, 163, 35.5, 2},
    {"radio-spring.png", 140, 163, 35.5, 2},
    {"radio-plate.png", 140, 163, 35.5, 2},
    {"radio-chorus.png", 140, 163, 35.5, 2},
    {"radio-echo.png", 140, 163, 35.5, 2},
    {"radio-echoverb.png", 140, 163, 35.5, 2},
    {"amp-blond.png", 140, 163, 35.5, 2},
    {"amp-liverpool.png", 140, 163, 35.5, 2},
    {"amp-british.png", 140, 163, 35.5, 2},
    {"amp-caliclassic.png", 140, 163, 35.5, 2},
    {"amp-boutiquea.png", 140, 163, 35.5, 2},
    {"amp-tweed.png", 140, 163, 35.5, 2},
    {"amp-topboost.png", 140, 163, 35.5, 2},
    {"amp-plexi.png", 140, 163, 35.5, 2},
    {"amp-calimetal.png", 140, 163, 35.5, 2},
    {"amp-boutiqueb.png", 140, 163, 35.5, 2},
    {"editorbg.png", 742, 742, 517, 1},
    {"irbg.png", 630, 630, 460, 1},
    {"mic.png", 50, 50, 30, 1},
    {"micbg.png", 50, 50, 432, 1},
    {"fwbg.png", 1920, 1920, 1080, 1},
    {"globalbg.png", 1920, 1920, 1080, 1},
    {"midikestrel.png", 512, 512, 120, 1},
    {"about.png", 1920, 1920, 1200, 1},
};

std::span<const unsigned char> Embedded(const std::string& name) {
  const EmbeddedResource* res = FindEmbeddedResource(name);
  return res ? res->bytes : std::span<const unsigned char>{};
}

bool IsVoicingButton(const std::string& name) {
  return name.rfind("amp-", 0) == 0 || name.rfind("radio-", 0) == 0;
}

TEST(Artwork, EveryPictureIsEmbeddedAtItsSizeAndTwiceItsSize) {
  EXPECT_EQ(std::size(kExpected), Pictures().size());
  for (const Expected& e : kExpected) {
    SCOPED_TRACE(e.name);
    ASSERT_NE(FindPicture(e.name), nullptr);
    // The twin is found under the name the toolkit's loader asks for.
    EXPECT_EQ(DoubleName(e.name), DoubleResolutionName(e.name));
    const Image normal = DecodePng(Embedded(e.name));
    const Image doubled = DecodePng(Embedded(DoubleResolutionName(e.name)));
    ASSERT_GT(normal.width, 0);
    ASSERT_GT(doubled.width, 0);
    EXPECT_GE(normal.width, e.minWidth);
    EXPECT_LE(normal.width, e.maxWidth);
    EXPECT_DOUBLE_EQ(static_cast<double>(normal.height) / e.frames, e.frameHeight);
    EXPECT_EQ(doubled.width, 2 * normal.width);
    EXPECT_EQ(doubled.height, 2 * normal.height);
  }
  for (const Picture& p : Pictures()) EXPECT_NE(Embedded(p.name).size(), 0u) << p.name;
}

TEST(Artwork, PicturesAreNotFlatAndTwoFramePicturesDifferBetweenHalves) {
  for (const Picture& p : Pictures()) {
    for (const std::string& name : {std::string(p.name), DoubleName(p.name)}) {
      SCOPED_TRACE(name);
      const Image image = DecodePng(Embedded(name));
      ASSERT_GT(image.width, 0);
      const test::Stats all = Measure(image, 0, image.height);
      // At least 64 colours; the 16 x 16 LED has only 256 pixels to hold them.
      const size_t pixels = static_cast<size_t>(image.width) * image.height;
      EXPECT_GE(all.distinctColors, std::min<size_t>(64, pixels / 8));
      EXPECT_GE(all.maxLuminance - all.minLuminance, 60.0);
      if (p.frames == 2) {
        const int half = image.height / 2;
        EXPECT_GT(Difference(image, 0, half, half), static_cast<uint64_t>(image.width) * half)
            << "the two frames are (nearly) the same";
      }
    }
  }
}

TEST(Artwork, LitVoicingFrameIsBrighterThanItsDarkFrame) {
  for (const Picture& p : Pictures()) {
    if (!IsVoicingButton(p.name)) continue;
    ASSERT_NE(p.label, nullptr) << p.name;
    for (const std::string& name : {std::string(p.name), DoubleName(p.name)}) {
      SCOPED_TRACE(name);
      const Image image = DecodePng(Embedded(name));
      const int half = image.height / 2;
      const double off = Measure(image, 0, half).meanLuminance;
      const double on = Measure(image, image.height - half, image.height).meanLuminance;
      EXPECT_GT(on, off + 10.0);
    }
  }
}

TEST(Artwork, KnobsAreOpaqueInTheCentreAndTransparentInTheCorners) {
  for (const char* knob : {"knobrotate.png", "knobrotatebig.png", "led.png"}) {
    for (const std::string& name : {std::string(knob), DoubleName(knob)}) {
      SCOPED_TRACE(name);
      const Image image = DecodePng(Embedded(name));
      ASSERT_GT(image.width, 0);
      const int c = image.width / 2;
      EXPECT_EQ(image.Alpha(c, c), 255);
      const int last = image.width - 1;
      for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
        EXPECT_EQ(image.Alpha(x, y), 0) << x << "," << y;
      }
    }
  }
}

// The twin is the same drawing, not another picture: averaged over 2 x 2 blocks it
// matches the normal file closely.
TEST(Artwork, DoubleResolutionTwinIsTheSameDrawing) {
  for (const Picture& p : Pictures()) {
    SCOPED_TRACE(p.name);
    const Image normal = DecodePng(Embedded(p.name));
    const Image doubled = DecodePng(Embedded(DoubleName(p.name)));
    double total = 0;
    for (int y = 0; y < normal.height; ++y) {
      for (int x = 0; x < normal.width; ++x) {
        for (int shift = 0; shift < 32; shift += 8) {
          double sum = 0;
          for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
              sum += (doubled.At(2 * x + dx, 2 * y + dy) >> shift) & 0xFFu;
            }
          }
          total += std::abs(sum / 4 - ((normal.At(x, y) >> shift) & 0xFFu));
        }
      }
    }
    const double meanError = total / (4.0 * normal.width * normal.height);
    EXPECT_LT(meanError, 6.0);
  }
}

void ExpectSvgParses(const std::string& text, double minSize) {
  GError* error = nullptr;
  RsvgHandle* handle =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(text.data()), text.size(), &error);
  ASSERT_NE(handle, nullptr) << (error ? error->message : "");
  gdouble w = 0;
  gdouble h = 0;
  EXPECT_TRUE(rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h));
  EXPECT_GE(w, minSize);
  EXPECT_GE(h, minSize);
  g_object_unref(handle);
}

TEST(Artwork, SvgPicturesParseAndHaveASize) {
  const auto bytes = Embedded("vector-knob.svg");
  ASSERT_FALSE(bytes.empty());
  const std::string knob(bytes.begin(), bytes.end());
  EXPECT_EQ(knob, VectorKnobSvg());
  ExpectSvgParses(knob, 30);
  ExpectSvgParses(AppIconSvg(), 256);
}

TEST(Artwork, DrawingAgainGivesTheSameBytes) {
  for (const Picture& p : Pictures()) {
    SCOPED_TRACE(p.name);
    const auto embedded = Embedded(p.name);
    const std::vector<unsigned char> again = RenderPng(p, 1);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), embedded.begin(), embedded.end()));
    if (p.width * p.height <= 200'000) {
      const auto embedded2x = Embedded(DoubleName(p.name));
      const std::vector<unsigned char> again2x = RenderPng(p, 2);
      EXPECT_TRUE(std::equal(again2x.begin(), again2x.end(), embedded2x.begin(), embedded2x.end()));
    }
  }
}

TEST(Artwork, DesktopIconsAreWrittenAtTheirSizes) {
  const std::filesystem::path dir = QD3_APP_ICON_DIR;
  EXPECT_TRUE(std::filesystem::exists(dir / "qd3control.svg"));
  for (int size : {48, 128, 256}) {
    SCOPED_TRACE(size);
    const std::vector<unsigned char> png = AppIconPng(size);
    const Image image = DecodePng(png);
    EXPECT_EQ(image.width, size);
    EXPECT_EQ(image.height, size);
    EXPECT_EQ(image.Alpha(0, 0), 0);
    EXPECT_EQ(image.Alpha(size / 2, size / 2), 255);
    const auto path = dir / ("qd3control-" + std::to_string(size) + ".png");
    EXPECT_EQ(std::filesystem::file_size(path), png.size());
  }
}

}  // namespace
}  // namespace qd3::art
