// The GTK widget on a display with GTK scale factor 2 (GDK_SCALE=2 under a
// private Xvfb server started by main()): the canvas draws into device pixels
// and the screen shows the "@2x" picture pixel for pixel.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/ToolkitTestSupport.h"
#include "tests/support/XvfbServer.h"
#include "toolkit/controls/IBitmapControl.h"
#include "toolkit/gtk/GtkGraphicsWidget.h"

namespace qd3::test {
namespace {

bool gDisplay = false;

void Pump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(2000);
  }
}

// The red channel of a pixbuf pixel.
int Red(GdkPixbuf* p, int x, int y) {
  const guchar* row = gdk_pixbuf_get_pixels(p) + y * gdk_pixbuf_get_rowstride(p);
  return row[x * gdk_pixbuf_get_n_channels(p)];
}

TEST(HiDpiWidget, ScaleFactorTwoDrawsTheDoubleResolutionPictureSharp) {
  if (!gDisplay) GTEST_SKIP() << "no X display (Xvfb) available";
  RegisterTestResource("widget-line.png", MakePNG(20, 20, [](cairo_t* cr) {
                         cairo_set_source_rgb(cr, 0, 0, 0);
                         cairo_paint(cr);
                       }));
  RegisterTestResource("widget-line@2x.png", MakePNG(40, 40, [](cairo_t* cr) {
                         cairo_set_source_rgb(cr, 0, 0, 0);
                         cairo_paint(cr);
                         cairo_set_source_rgb(cr, 1, 1, 1);
                         cairo_rectangle(cr, 21, 0, 1, 40);  // one device pixel
                         cairo_fill(cr);
                       }));
  Canvas canvas(1.f, 200, 100);
  canvas.graphics.AttachControl(
      std::make_unique<IBitmapControl>(50.f, 20.f, canvas.graphics.LoadBitmap("widget-line.png")));
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWidget* area = CreateGraphicsWidget(canvas.graphics);
  gtk_container_add(GTK_CONTAINER(window), area);
  gtk_widget_show_all(window);
  Pump(200);

  ASSERT_EQ(gtk_widget_get_scale_factor(area), 2);
  EXPECT_FLOAT_EQ(canvas.graphics.GetBackingScale(), 2.f);
  EXPECT_EQ(cairo_image_surface_get_width(canvas.graphics.GetSurface()), 400);
  EXPECT_EQ(gtk_widget_get_allocated_width(area), 200) << "the window keeps its logical size";

  GdkPixbuf* shot = gdk_pixbuf_get_from_window(gtk_widget_get_window(area), 0, 0, 200, 100);
  ASSERT_NE(shot, nullptr);
  ASSERT_EQ(gdk_pixbuf_get_width(shot), 400) << "device pixels";
  // Design x = 60.5 is device pixel 121: white there, black on either side.
  for (int y : {42, 60, 78}) {
    EXPECT_GT(Red(shot, 121, y), 250) << y;
    EXPECT_LT(Red(shot, 120, y), 5) << y;
    EXPECT_LT(Red(shot, 122, y), 5) << y;
  }
  g_object_unref(shot);
  gtk_widget_destroy(window);
  Pump(10);
}

}  // namespace
}  // namespace qd3::test

// GTK keeps type data and caches until exit; leaks are checked by toolkit_tests.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("GSETTINGS_BACKEND", "memory", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  setenv("GDK_SCALE", "2", 1);  // read when GTK opens the display
  const bool listing = ::testing::GTEST_FLAG(list_tests);
  std::optional<qd3::test::XvfbServer> xvfb;
  if (!listing) {
    xvfb.emplace();
    qd3::test::gDisplay = xvfb->Running() && gtk_init_check(&argc, &argv);
  }
  return RUN_ALL_TESTS();
}
