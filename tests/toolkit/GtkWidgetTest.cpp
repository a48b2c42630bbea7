// The GTK widget on a real display: a private Xvfb server started by main().
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/support/ToolkitTestSupport.h"
#include "tests/support/XvfbServer.h"
#include "toolkit/gtk/GtkGraphicsWidget.h"
#include "toolkit/gtk/GtkPlatformServices.h"

namespace qd3::test {
namespace {

bool gDisplay = false;

class Counter : public IControl {
 public:
  explicit Counter(const IRECT& r) : IControl(r) {}
  void Draw(IDrawContext& g) override { g.FillRect(IColor{255, 200, 0, 0}, mRect); }
  void OnMouseDown(float x, float y, const IMouseMod& mod) override {
    ++downs;
    lastX = x;
    lastY = y;
    shift = mod.S;
  }
  void OnMouseWheel(float, float, const IMouseMod&, float d) override { wheel += d; }
  int downs = 0;
  float lastX = 0, lastY = 0, wheel = 0;
  bool shift = false;
};

void Pump(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(2000);
  }
}

class GtkWidgetWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gDisplay) GTEST_SKIP() << "no X display (Xvfb) available";
    mWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_resizable(GTK_WINDOW(mWindow), FALSE);
    mArea = CreateGraphicsWidget(mCanvas.graphics, [this](int w, int h, float) {
      mResizedW = w;
      mResizedH = h;
    });
    gtk_container_add(GTK_CONTAINER(mWindow), mArea);
    gtk_widget_show_all(mWindow);
    Pump(100);
  }
  void TearDown() override {
    if (mWindow) gtk_widget_destroy(mWindow);
    Pump(10);
  }
  void Send(GdkEventType type, double x, double y, guint button, guint state = 0) {
    GdkEvent* ev = gdk_event_new(type);
    ev->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(mArea)));
    ev->button.x = x;
    ev->button.y = y;
    ev->button.button = button;
    ev->button.state = state;
    ev->button.device =
        gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
    gtk_widget_event(mArea, ev);
    gdk_event_free(ev);
  }

  Canvas mCanvas{0.5f};
  GtkWidget* mWindow = nullptr;
  GtkWidget* mArea = nullptr;
  int mResizedW = 0;
  int mResizedH = 0;
};

TEST_F(GtkWidgetWindow, TakesTheCanvasWindowSize) {
  int w = 0;
  int h = 0;
  gtk_widget_get_size_request(mArea, &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(gtk_widget_get_allocated_width(mArea), 960);
}

TEST_F(GtkWidgetWindow, FrameClockStopsWhenIdleAndRestartsOnDirt) {
  auto* c = mCanvas.graphics.AttachControl(std::make_unique<Counter>(IRECT(0, 0, 100, 100)));
  Pump(150);
  const FrameStats& stats = mCanvas.graphics.Stats();
  const uint64_t ticksWhenIdle = stats.frameTicks;
  Pump(200);
  EXPECT_EQ(stats.frameTicks, ticksWhenIdle) << "an idle canvas still ticks";
  EXPECT_TRUE(mCanvas.graphics.IsIdle());

  const uint64_t drawn = stats.framesDrawn;
  c->SetDirty();
  Pump(100);
  EXPECT_GT(stats.framesDrawn, drawn) << "a dirty control was not painted";
  const uint64_t ticksAfterPaint = stats.frameTicks;
  Pump(200);
  EXPECT_EQ(stats.frameTicks, ticksAfterPaint) << "the clock did not stop again";

  // An animation keeps the clock going until it ends (on real time here, not
  // the offscreen host's frozen clock).
  mCanvas.graphics.SetClock([] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  });
  c->StartAnimation(0.15);
  Pump(80);
  EXPECT_FALSE(mCanvas.graphics.IsIdle());
  Pump(250);
  EXPECT_TRUE(mCanvas.graphics.IsIdle());
  EXPECT_FALSE(c->IsAnimating());
}

TEST_F(GtkWidgetWindow, PressInWindowPixelsReachesTheDesignPoint) {
  auto* c = mCanvas.graphics.AttachControl(std::make_unique<Counter>(IRECT(750, 490, 770, 510)));
  Send(GDK_BUTTON_PRESS, 380, 250, 1, GDK_SHIFT_MASK);
  Send(GDK_BUTTON_RELEASE, 380, 250, 1);
  EXPECT_EQ(c->downs, 1);
  EXPECT_FLOAT_EQ(c->lastX, 760);
  EXPECT_FLOAT_EQ(c->lastY, 500);
  EXPECT_TRUE(c->shift);
}

TEST_F(GtkWidgetWindow, WheelNotchesArriveAsUnitSteps) {
  auto* c = mCanvas.graphics.AttachControl(std::make_unique<Counter>(IRECT(0, 0, 400, 400)));
  GdkEvent* ev = gdk_event_new(GDK_SCROLL);
  ev->scroll.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(mArea)));
  ev->scroll.x = 50;
  ev->scroll.y = 50;
  ev->scroll.direction = GDK_SCROLL_DOWN;
  ev->scroll.device = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
  gtk_widget_event(mArea, ev);
  gdk_event_free(ev);
  EXPECT_FLOAT_EQ(c->wheel, -1.f);
}

TEST_F(GtkWidgetWindow, FrameClockPaintsOnlyWhatChanged) {
  auto* c = mCanvas.graphics.AttachControl(std::make_unique<Counter>(IRECT(0, 0, 100, 100)));
  Pump(100);
  const uint64_t frames = mCanvas.graphics.Stats().framesDrawn;
  EXPECT_GE(frames, 1u);
  Pump(200);
  EXPECT_EQ(mCanvas.graphics.Stats().framesDrawn, frames) << "idle: nothing painted";
  c->SetDirty();
  Pump(100);
  EXPECT_EQ(mCanvas.graphics.Stats().framesDrawn, frames + 1);
}

TEST_F(GtkWidgetWindow, ResizingTheCanvasResizesTheWidget) {
  mCanvas.graphics.Resize(1920, 1200, 0.75f);
  Pump(150);
  EXPECT_EQ(mResizedW, 1440);
  EXPECT_EQ(mResizedH, 900);
  EXPECT_EQ(gtk_widget_get_allocated_width(mArea), 1440);
  EXPECT_EQ(gtk_widget_get_allocated_height(mArea), 900);
}

// Regression: closing the main window while a message box waited destroyed the box with
// its parent, and then once more: "gtk_widget_destroy: assertion 'GTK_IS_WIDGET (widget)'
// failed" at every close of an editor that had a message up.
TEST_F(GtkWidgetWindow, AMessageBoxClosedWithItsWindowIsDestroyedOnce) {
  int criticals = 0;
  const auto count = [](const gchar*, GLogLevelFlags, const gchar*, gpointer counter) {
    ++*static_cast<int*>(counter);
  };
  const guint gtkHandler = g_log_set_handler("Gtk", G_LOG_LEVEL_CRITICAL, count, &criticals);
  const guint gobjectHandler =
      g_log_set_handler("GLib-GObject", G_LOG_LEVEL_CRITICAL, count, &criticals);
  g_timeout_add(
      200,
      [](gpointer window) {
        gtk_widget_destroy(*static_cast<GtkWidget**>(window));
        *static_cast<GtkWidget**>(window) = nullptr;
        return G_SOURCE_REMOVE;
      },
      &mWindow);

  GtkPlatformServices platform(GTK_WINDOW(mWindow));
  const EMsgBoxResult result = platform.ShowMessageBox("Are you sure?", "", EMsgBoxType::OKCancel);
  Pump(50);
  g_log_remove_handler("Gtk", gtkHandler);
  g_log_remove_handler("GLib-GObject", gobjectHandler);

  EXPECT_EQ(mWindow, nullptr);
  EXPECT_EQ(result, EMsgBoxResult::Cancel);  // a box that went unanswered is no OK
  EXPECT_EQ(criticals, 0);
}

struct KeyCase {
  guint keyval;
  int vk;
  const char* utf8;
};

TEST(GtkKeys, KeyValuesMapToKeyCodes) {
  const KeyCase cases[] = {{GDK_KEY_Return, kVK_RETURN, ""},
                           {GDK_KEY_Escape, kVK_ESCAPE, ""},
                           {GDK_KEY_a, 'A', "a"},
                           {GDK_KEY_Z, 'Z', "Z"},
                           {GDK_KEY_7, '7', "7"},
                           {GDK_KEY_comma, 0, ","},
                           {GDK_KEY_BackSpace, kVK_BACK, ""},
                           {GDK_KEY_eacute, 0, "\xC3\xA9"}};
  for (const auto& k : cases) {
    const IKeyPress p = KeyPressFromGdk(k.keyval, 0);
    EXPECT_EQ(p.vk, k.vk) << k.keyval;
    EXPECT_EQ(p.utf8, k.utf8) << k.keyval;
  }
}

}  // namespace
}  // namespace qd3::test

// GTK, GLib and D-Bus keep type data and caches until exit; leaks are checked
// by toolkit_tests, which has no GTK in it.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // No dconf and no accessibility bus in tests.
  setenv("GSETTINGS_BACKEND", "memory", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  // Listing tests (test discovery) needs no display.
  const bool listing = ::testing::GTEST_FLAG(list_tests);
  std::optional<qd3::test::XvfbServer> xvfb;
  if (!listing) {
    xvfb.emplace();
    qd3::test::gDisplay = xvfb->Running() && gtk_init_check(&argc, &argv);
  }
  return RUN_ALL_TESTS();
}
