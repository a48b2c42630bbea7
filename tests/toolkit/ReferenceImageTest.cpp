// The two graphs rendered as the screens set them up, compared with the reviewed
// pictures in reference/ (a few levels of tolerance for anti-aliasing). Run with
// QD3_UPDATE_REFERENCE=1 to write new pictures after a deliberate change.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/graphs/IDynamicsResponseGraph.h"
#include "toolkit/graphs/IFreqResponseGraph.h"

namespace qd3::test {
namespace {

const IColor kCurve{255, 100, 255, 255};

// Share of pixels whose channels differ from the reference by more than 24 levels.
double DifferentShare(cairo_surface_t* a, cairo_surface_t* b) {
  const int w = cairo_image_surface_get_width(a);
  const int h = cairo_image_surface_get_height(a);
  if (w != cairo_image_surface_get_width(b) || h != cairo_image_surface_get_height(b)) return 1.0;
  cairo_surface_flush(a);
  cairo_surface_flush(b);
  const unsigned char* pa = cairo_image_surface_get_data(a);
  const unsigned char* pb = cairo_image_surface_get_data(b);
  const int sa = cairo_image_surface_get_stride(a);
  const int sb = cairo_image_surface_get_stride(b);
  long differing = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      for (int ch = 0; ch < 3; ++ch) {
        if (std::abs(pa[y * sa + 4 * x + ch] - pb[y * sb + 4 * x + ch]) > 24) {
          ++differing;
          break;
        }
      }
    }
  }
  return static_cast<double>(differing) / (static_cast<double>(w) * h);
}

void CompareWithReference(IGraphics& g, const std::string& name) {
  const std::string reference = std::string(QD3_TOOLKIT_REFERENCE_DIR) + "/" + name;
  ASSERT_TRUE(g.WritePNG(OutputPath(name)));
  if (std::getenv("QD3_UPDATE_REFERENCE")) {
    ASSERT_TRUE(g.WritePNG(reference));
    return;
  }
  cairo_surface_t* ref = cairo_image_surface_create_from_png(reference.c_str());
  ASSERT_EQ(cairo_surface_status(ref), CAIRO_STATUS_SUCCESS) << reference;
  EXPECT_LT(DifferentShare(g.GetSurface(), ref), 0.002) << "compare " << OutputPath(name);
  cairo_surface_destroy(ref);
}

// A decaying resonance at about 2.5 kHz over a direct impulse.
std::vector<double> ResonantImpulse() {
  std::vector<double> x(4096, 0.0);
  const double w = 2 * std::numbers::pi * 2500.0 / 44100.0;
  for (size_t n = 0; n < x.size(); ++n) {
    x[n] = 0.2 * std::exp(-double(n) / 60.0) * std::sin(w * double(n));
  }
  x[0] += 0.3;
  return x;
}

TEST(ReferenceImages, FrequencyGraphWithReadout) {
  Canvas c(0.5f);
  ASSERT_TRUE(c.graphics.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  c.graphics.EnableMouseOver(true);
  auto* g = c.graphics.AttachControl(
      std::make_unique<IFreqResponseGraph>(IRECT(1200, 685, 1872, 1135), kCurve));
  g->SetRange(20, 20480, 100, 30);
  g->SetSmoothingOff(1);
  g->SetTimeData(ResonantImpulse());
  c.host.MouseMove(c.WX(1500), c.WY(800));
  c.host.Frame();
  CompareWithReference(c.graphics, "freq_graph.png");
}

TEST(ReferenceImages, DynamicsGraph) {
  Canvas c(0.5f);
  ASSERT_TRUE(c.graphics.LoadFont("Roboto-Regular", "Roboto-Regular.ttf"));
  auto* g = c.graphics.AttachControl(
      std::make_unique<IDynamicsResponseGraph>(IRECT(1200, 700, 1865, 1130), kCurve));
  g->SetGateThreshold(-60);
  g->SetGateRatio(0.5);
  g->SetCompThreshold(-30);
  g->SetCompRatio(3);
  c.host.Frame();
  CompareWithReference(c.graphics, "dynamics_graph.png");
}

}  // namespace
}  // namespace qd3::test
