// A HiDPI screen (GTK scale factor 2): the backing image holds two device pixels
// per window pixel, pictures come from their "@2x" twins and stay sharp, and
// input and painted regions stay in window pixels.
#include <gtest/gtest.h>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/controls/IBitmapControl.h"
#include "toolkit/controls/ICornerResizerControl.h"

namespace qd3::test {
namespace {

const IColor kWhite{255, 255, 255, 255};
const IColor kBlack{255, 0, 0, 0};

// A 20 x 20 picture with a one-unit white column at x = 10: one pixel wide in
// the normal file, two in the "@2x" file.
void RegisterLinePicture() {
  RegisterTestResource("hidpi-line.png", MakePNG(20, 20, [](cairo_t* cr) {
                         cairo_set_source_rgb(cr, 0, 0, 0);
                         cairo_paint(cr);
                         cairo_set_source_rgb(cr, 1, 1, 1);
                         cairo_rectangle(cr, 10, 0, 1, 20);
                         cairo_fill(cr);
                       }));
  RegisterTestResource("hidpi-line@2x.png", MakePNG(40, 40, [](cairo_t* cr) {
                         cairo_set_source_rgb(cr, 0, 0, 0);
                         cairo_paint(cr);
                         cairo_set_source_rgb(cr, 1, 1, 1);
                         cairo_rectangle(cr, 20, 0, 2, 40);
                         cairo_fill(cr);
                       }));
}

TEST(HiDpi, BackingImageHoldsTwoDevicePixelsPerWindowPixel) {
  Canvas c(0.5f, 400, 200);
  c.graphics.SetBackingScale(2.f);
  cairo_surface_t* s = c.graphics.GetSurface();
  EXPECT_EQ(c.graphics.WindowWidth(), 200);
  EXPECT_EQ(cairo_image_surface_get_width(s), 400);
  EXPECT_EQ(cairo_image_surface_get_height(s), 200);
  EXPECT_FLOAT_EQ(c.graphics.GetDeviceScale(), 1.f);
  c.host.Frame();
  ASSERT_EQ(c.graphics.LastPaintedRegion().size(), 1u);
  EXPECT_EQ(c.graphics.LastPaintedRegion()[0], IRECT(0, 0, 200, 100)) << "window pixels";
  c.graphics.Resize(400, 200, 1.f);
  EXPECT_EQ(cairo_image_surface_get_width(c.graphics.GetSurface()), 800) << "kept on resize";
}

TEST(HiDpi, OneUnitLineOfTheDoubleResolutionPictureStaysSharp) {
  RegisterLinePicture();
  Canvas c(1.f, 200, 100);
  c.graphics.SetBackingScale(2.f);
  c.graphics.AttachControl(
      std::make_unique<IBitmapControl>(50.f, 20.f, c.graphics.LoadBitmap("hidpi-line.png")));
  c.host.Frame();
  // The column at design x = 60 covers device pixels 120 and 121, nothing else.
  for (int y : {42, 60, 75}) {
    EXPECT_PRED2(Near, c.graphics.GetDevicePixel(120, y), kWhite) << y;
    EXPECT_PRED2(Near, c.graphics.GetDevicePixel(121, y), kWhite) << y;
    EXPECT_PRED2(Near, c.graphics.GetDevicePixel(119, y), kBlack) << y;
    EXPECT_PRED2(Near, c.graphics.GetDevicePixel(122, y), kBlack) << y;
  }
  EXPECT_PRED2(Near, c.graphics.GetPixel(60, 30), kWhite) << "window pixels map to device";
}

TEST(HiDpi, InputStaysInWindowPixels) {
  Canvas c(0.5f, 400, 200);
  c.graphics.SetBackingScale(2.f);
  auto* ctl = c.graphics.AttachControl(
      std::make_unique<IBitmapControl>(IRECT(100, 50, 150, 100), IBitmap(), kNoParameter));
  c.host.MouseDown(60, 35);  // window pixels: design 120, 70
  EXPECT_EQ(c.graphics.GetCapturedControl(), ctl);
  c.host.MouseUp(60, 35);
  c.host.MouseDown(120, 70);  // design 240, 140: outside
  EXPECT_EQ(c.graphics.GetCapturedControl(), nullptr);
}

TEST(HiDpi, CornerResizerSpansTheWholeScaleRange) {
  Canvas c(1.f, 400, 200);
  c.graphics.SetScaleLimits(1.f / 3.f, 3.f);
  c.graphics.AttachCornerResizer(20.f);
  IMouseMod held;
  held.L = true;
  c.host.MouseDown(395, 195);
  c.graphics.OnMouseMove(5000, 5000, held);
  EXPECT_FLOAT_EQ(c.graphics.GetDrawScale(), 3.f) << "pulled far out";
  c.graphics.OnMouseMove(300, 150, held);  // design 100, 50 at scale 3: window 300 x 150
  EXPECT_NEAR(c.graphics.GetDrawScale(), 0.77f, 0.01f);
  c.graphics.OnMouseMove(0, 0, held);
  EXPECT_GE(c.graphics.GetDrawScale(), 1.f / 3.f - 1e-6f) << "never below the limit";
  EXPECT_LE(c.graphics.GetDrawScale(), 0.5f) << "0.5 is within reach";
  c.host.MouseUp(0, 0);
}

// Regression: a disabled control was dimmed through a group as large as the
// whole dirty area; it is now clipped to the control, which must not change
// what is painted.
TEST(HiDpi, DisabledControlIsDimmedInsideItsRectangleOnly) {
  Canvas c(1.f, 400, 200);
  c.graphics.SetBackingScale(2.f);
  c.graphics.AttachPanelBackground(kBlack);
  auto* panel = c.graphics.AttachPanelBackground(kWhite);
  panel->SetRECT(IRECT(100, 50, 150, 100));
  panel->SetDisabled(true);
  c.host.Frame();
  const IColor inside = c.graphics.GetDevicePixel(250, 150);
  EXPECT_NEAR(inside.R, 64, 2) << "a quarter of white over black";
  EXPECT_PRED2(Near, c.graphics.GetDevicePixel(199, 150), kBlack) << "left of the control";
  EXPECT_NEAR(c.graphics.GetDevicePixel(200, 150).R, 64, 2) << "its first device pixel";
  EXPECT_PRED2(Near, c.graphics.GetDevicePixel(300, 150), kBlack) << "right of the control";
}

TEST(HiDpi, IdleCanvasPaintsNothing) {
  Canvas c(1.f, 400, 200);
  c.graphics.SetBackingScale(2.f);
  c.host.Frame();
  const uint64_t drawn = c.graphics.Stats().framesDrawn;
  EXPECT_EQ(c.host.Advance(1.0), 0);
  EXPECT_EQ(c.graphics.Stats().framesDrawn, drawn);
  EXPECT_TRUE(c.graphics.IsIdle());
}

}  // namespace
}  // namespace qd3::test
