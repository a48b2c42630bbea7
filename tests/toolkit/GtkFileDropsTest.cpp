// Files dropped on the GTK canvas: a text/uri-list destination, local files as paths,
// other addresses as they are, the point in design units.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "tests/support/ToolkitTestSupport.h"
#include "toolkit/gtk/GtkFileDrops.h"
#include "toolkit/gtk/GtkGraphicsWidget.h"

namespace qd3::test {
namespace {

class GtkFileDrops : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gdk_display_get_default()) GTEST_SKIP() << "no X display (Xvfb) available";
    mWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    mArea = CreateGraphicsWidget(mCanvas.graphics);
    AcceptFileDrops(mArea, mCanvas.graphics,
                    [this](const std::vector<std::string>& paths, float x, float y) {
                      ++mDrops;
                      mLastPaths = paths;
                      mLastX = x;
                      mLastY = y;
                    });
    gtk_container_add(GTK_CONTAINER(mWindow), mArea);
    gtk_widget_show_all(mWindow);
  }
  void TearDown() override {
    if (mWindow) gtk_widget_destroy(mWindow);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  }

  Canvas mCanvas{0.5f};
  GtkWidget* mWindow = nullptr;
  GtkWidget* mArea = nullptr;
  int mDrops = 0;
  std::vector<std::string> mLastPaths;
  float mLastX = 0.f;
  float mLastY = 0.f;
};

TEST_F(GtkFileDrops, TheCanvasTakesUriListsDroppedOnIt) {
  GtkTargetList* targets = gtk_drag_dest_get_target_list(mArea);
  ASSERT_NE(targets, nullptr);
  EXPECT_TRUE(
      gtk_target_list_find(targets, gdk_atom_intern_static_string("text/uri-list"), nullptr));
}

struct UriCase {
  const char* uriList;
  std::vector<std::string> paths;
};

class GtkFileDropUris : public GtkFileDrops, public ::testing::WithParamInterface<UriCase> {};

TEST_P(GtkFileDropUris, LocalFilesArriveDecodedAndOtherAddressesAsTheyAre) {
  DeliverUriListDrop(mArea, GetParam().uriList, 300.0, 150.0);
  ASSERT_EQ(mDrops, 1);
  EXPECT_EQ(mLastPaths, GetParam().paths);
  // Window pixels at scale 0.5 are design units times 0.5.
  EXPECT_FLOAT_EQ(mLastX, 600.f);
  EXPECT_FLOAT_EQ(mLastY, 300.f);
}

INSTANTIATE_TEST_SUITE_P(
    UriLists, GtkFileDropUris,
    ::testing::Values(UriCase{"file:///tmp/My%20Cab.wav\r\n", {"/tmp/My Cab.wav"}},
                      UriCase{"# from a file manager\r\nfile:///a/b.q3p\r\nfile:///a/c.q3b\r\n",
                              {"/a/b.q3p", "/a/c.q3b"}},
                      UriCase{"https://example.com/irs/cab.wav\r\n",
                              {"https://example.com/irs/cab.wav"}},
                      UriCase{"sftp://host/home/p/lead.q3p", {"sftp://host/home/p/lead.q3p"}}));

// The point follows the canvas's draw scale as the corner resizer changes it.
TEST_F(GtkFileDrops, ThePointIsInDesignUnitsAtTheCurrentScale) {
  mCanvas.graphics.Resize(1920, 1200, 0.75f);
  DeliverUriListDrop(mArea, "file:///tmp/x.wav", 75.0, 150.0);
  ASSERT_EQ(mDrops, 1);
  EXPECT_FLOAT_EQ(mLastX, 100.f);
  EXPECT_FLOAT_EQ(mLastY, 200.f);
}

}  // namespace
}  // namespace qd3::test
