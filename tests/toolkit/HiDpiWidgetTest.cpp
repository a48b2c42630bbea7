// The GTK widget on a display with GTK scale factor 2 (GDK_SCALE=2 under a
// private Xvfb server started by main()): the canvas draws into device pixels
// and the screen shows the "@2x" picture pixel for pixel.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "tests/toolkit/ToolkitTestSupport.h"
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

// Starts Xvfb on a free display (it writes the number to the pipe when ready).
pid_t StartXvfb() {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char ch = 0;
  while (read(fds[0], &ch, 1) == 1 && ch != '\n') number += ch;
  close(fds[0]);
  if (number.empty()) {
    if (pid > 0) waitpid(pid, nullptr, 0);
    return -1;
  }
  setenv("DISPLAY", (":" + number).c_str(), 1);
  return pid;
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
  pid_t xvfb = -1;
  if (!listing) {
    xvfb = qd3::test::StartXvfb();
    qd3::test::gDisplay = xvfb > 0 && gtk_init_check(&argc, &argv);
  }
  const int result = RUN_ALL_TESTS();
  if (xvfb > 0) {
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
  }
  return result;
}
