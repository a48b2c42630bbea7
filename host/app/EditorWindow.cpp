// The main window of EditorApp: a fixed frame titled "QD3Control" with the menu
// bar and the editor's canvas, centred on the screen, following the canvas when
// the editor changes its own size.
#include <gtk/gtk.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "QD3Control.h"
#include "host/app/EditorApp.h"
#include "host/app/MenuTable.h"
#include "host/app/WindowFit.h"
#include "screens/BuildEditorScreen.h"
#include "toolkit/IGraphics.h"
#include "toolkit/gtk/GtkFileDrops.h"
#include "toolkit/gtk/GtkGraphicsWidget.h"
#include "toolkit/gtk/GtkPlatformServices.h"

namespace qd3 {
namespace {

constexpr int kEditorWidth = 1920;
constexpr int kEditorHeight = 1200;

// What the title bar and the menu bar add to the canvas, generously.
constexpr int kWindowChrome = 80;

constexpr char kEntryIndexKey[] = "qd3-menu-entry";

// The primary monitor's work area; empty when the display tells none.
GdkRectangle WorkArea() {
  GdkRectangle area{0, 0, 0, 0};
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return area;
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor && gdk_display_get_n_monitors(display) > 0) {
    monitor = gdk_display_get_monitor(display, 0);
  }
  if (monitor) gdk_monitor_get_workarea(monitor, &area);
  return area;
}

void OnMenuActivate(GtkMenuItem* item, gpointer app) {
  const auto index =
      static_cast<size_t>(GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(item), kEntryIndexKey)));
  static_cast<EditorApp*>(app)->OnMenuEntry(index);
}

// The Edit menu names the steps as they are when it opens.
void OnEditMenuShow(GtkWidget* menu, gpointer app) {
  GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
  for (GList* it = items; it; it = it->next) {
    auto* item = GTK_MENU_ITEM(it->data);
    const auto index =
        static_cast<size_t>(GPOINTER_TO_SIZE(g_object_get_data(G_OBJECT(item), kEntryIndexKey)));
    const std::string label = static_cast<EditorApp*>(app)->EditMenuLabel(index);
    const bool undo = kMenuEntries[index].number == kMenuUndo;
    // The first letter stays the mnemonic; an underscore in a name is shown as one.
    std::string text = "_";
    for (const char c : label.empty() ? std::string(undo ? "Undo" : "Redo") : label) {
      text += c;
      if (c == '_') text += '_';
    }
    gtk_menu_item_set_label(item, text.c_str());
    gtk_widget_set_sensitive(GTK_WIDGET(item), !label.empty());
  }
  g_list_free(items);
}

// The shortcut shown beside an entry; the canvas's key handler acts on it, so that a
// text field keeps its own Ctrl+Z.
void ShowShortcut(GtkWidget* item, guint key, GdkModifierType mods) {
  GtkWidget* label = gtk_bin_get_child(GTK_BIN(item));
  if (GTK_IS_ACCEL_LABEL(label)) gtk_accel_label_set_accel(GTK_ACCEL_LABEL(label), key, mods);
}

gboolean OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer app) {
  static_cast<EditorApp*>(app)->CloseEditor();
  return TRUE;  // CloseEditor destroys the window itself
}

gboolean OnFirstDraw(GtkWidget* widget, cairo_t*, gpointer) {
  std::printf("qd3control: first frame drawn\n");
  std::fflush(stdout);
  g_signal_handlers_disconnect_by_func(widget, reinterpret_cast<gpointer>(&OnFirstDraw), nullptr);
  return FALSE;
}

GtkWidget* BuildMenuBar(EditorApp* app, GtkAccelGroup* accelerators) {
  GtkWidget* bar = gtk_menu_bar_new();
  GtkWidget* menu = nullptr;
  std::string_view current;
  for (size_t i = 0; i < kMenuEntries.size(); ++i) {
    const MenuEntry& entry = kMenuEntries[i];
    if (entry.menu != current) {
      current = entry.menu;
      GtkWidget* top = gtk_menu_item_new_with_mnemonic(GtkMnemonicLabel(entry.menu).c_str());
      menu = gtk_menu_new();
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
      gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
      if (entry.number == kMenuUndo)
        g_signal_connect(menu, "show", G_CALLBACK(OnEditMenuShow), app);
    }
    GtkWidget* item = entry.action == MenuAction::kSeparator
                          ? gtk_separator_menu_item_new()
                          : gtk_menu_item_new_with_mnemonic(GtkMnemonicLabel(entry.text).c_str());
    if (entry.action != MenuAction::kSeparator) {
      g_object_set_data(G_OBJECT(item), kEntryIndexKey, GSIZE_TO_POINTER(i));
      g_signal_connect(item, "activate", G_CALLBACK(OnMenuActivate), app);
    }
    if (entry.number == kMenuMidiSettings) {
      gtk_widget_add_accelerator(item, "activate", accelerators, GDK_KEY_comma, GDK_CONTROL_MASK,
                                 GTK_ACCEL_VISIBLE);
    }
    if (entry.number == kMenuUndo) ShowShortcut(item, GDK_KEY_z, GDK_CONTROL_MASK);
    if (entry.number == kMenuRedo) {
      ShowShortcut(item, GDK_KEY_z,
                   static_cast<GdkModifierType>(GDK_CONTROL_MASK | GDK_SHIFT_MASK));
    }
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  }
  return bar;
}

}  // namespace

void EditorApp::CreateWindow() {
  float scale = static_cast<float>(mStore.Values().scale);
  if (scale < static_cast<float>(kMinScale)) scale = static_cast<float>(kMinScale);
  if (scale > static_cast<float>(kMaxScale)) scale = static_cast<float>(kMaxScale);
  // A scale kept from a larger monitor opens a window this screen can show.
  const GdkRectangle area = WorkArea();
  scale = static_cast<float>(ScaleThatFits(
      {scale, kEditorWidth, kEditorHeight, area.width, area.height, kWindowChrome, kMinScale}));
  mGraphics = std::make_unique<IGraphics>(mEditor.get(), kEditorWidth, kEditorHeight, 60, scale);
  mGraphics->SetScaleLimits(static_cast<float>(kMinScale), static_cast<float>(kMaxScale));

  mWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(mWindow), "QD3Control");
  // A fixed frame: the player sizes the editor with its corner resizer only.
  gtk_window_set_resizable(GTK_WINDOW(mWindow), FALSE);
  gtk_window_set_position(GTK_WINDOW(mWindow), GTK_WIN_POS_CENTER);
  g_signal_connect(mWindow, "delete-event", G_CALLBACK(OnDeleteEvent), this);
  mPlatform = std::make_unique<GtkPlatformServices>(GTK_WINDOW(mWindow));
  mGraphics->SetPlatformServices(mPlatform.get());
  mEditor->SetPlatformServices(mPlatform.get());
  // Builds the screens, opens them to the editor and fills the lists from the cache.
  BuildEditorScreen(*mGraphics, *mEditor);
  // The value texts and dependent controls from the values the editor holds. As
  // values being applied: no page opens and nothing goes to the pedal.
  const bool applying = std::exchange(mEditor->session.applyingDeviceValues, true);
  mEditor->RunAllChangeHandlers();
  mEditor->session.applyingDeviceValues = applying;
  if (!mOptions.screenshotPath.empty()) mGraphics->Resize(kEditorWidth, kEditorHeight, 0.5f);

  GtkAccelGroup* accelerators = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(mWindow), accelerators);
  g_object_unref(accelerators);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_box_pack_start(GTK_BOX(box), BuildMenuBar(this, accelerators), FALSE, FALSE, 0);
  GtkWidget* window = mWindow;
  GtkWidget* canvas = CreateGraphicsWidget(
      *mGraphics,
      [window](int, int, float) {
        // The window follows the canvas's new size request; a non-resizable window
        // shrinks to it as well when asked for the smallest size.
        gtk_window_resize(GTK_WINDOW(window), 1, 1);
      },
      // A press on a foot switch starts its auto-repeat count at once.
      [this] { HurryIdleTick(); });
  AcceptFileDrops(canvas, *mGraphics,
                  [this](const std::vector<std::string>& paths, float x, float y) {
                    if (!mClosing) mEditor->DropFiles(paths, x, y);
                  });
  gtk_box_pack_start(GTK_BOX(box), canvas, FALSE, FALSE, 0);
  gtk_container_add(GTK_CONTAINER(mWindow), box);
  // After the window's own handler, which has drawn the canvas by then.
  if (mReportFirstFrame) {
    g_signal_connect_after(mWindow, "draw", G_CALLBACK(OnFirstDraw), nullptr);
  }

  gtk_widget_show_all(mWindow);
}

namespace {

constexpr guint kScreenshotPollMs = 100;
// Settled (below) and nothing painted for this many polls.
constexpr int kScreenshotQuietTicks = 20;
// Given up after this many polls (60 s).
constexpr int kScreenshotMaxTicks = 600;

}  // namespace

void EditorApp::StartScreenshotWatch() {
  mScreenshotSource = g_timeout_add(
      kScreenshotPollMs,
      [](gpointer app) -> gboolean {
        return static_cast<EditorApp*>(app)->ScreenshotTick() ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
      },
      this);
}

bool EditorApp::ScreenshotTick() {
  if (mClosing || !mGraphics) return false;
  // Connected, every preset read, the current preset applied and no impulse
  // response still being fetched for the display.
  const DeviceSession& session = mEditor->session;
  const bool settled = session.connected && !session.readAllActive &&
                       !session.applyingDeviceValues && !session.irRequestPending &&
                       !session.bulkBeginPending;
  const bool quiet = settled && mGraphics->IsIdle();
  mScreenshotQuietTicks = quiet ? mScreenshotQuietTicks + 1 : 0;
  // Once all is quiet, the page asked for; the count then waits for its repaint.
  if (mScreenshotQuietTicks >= kScreenshotQuietTicks && mOptions.screenshotPage != 0) {
    const int page = std::exchange(mOptions.screenshotPage, 0);
    if (page == kScreenshotSettingsPage) {
      mEditor->OpenGlobalSettings();
    } else {
      mEditor->ShowPage(page);
    }
    mScreenshotQuietTicks = 0;
  }
  if (mScreenshotQuietTicks < kScreenshotQuietTicks && ++mScreenshotTicks < kScreenshotMaxTicks) {
    return true;
  }
  mScreenshotSource = 0;
  const std::string& path = mOptions.screenshotPath;
  if (mScreenshotQuietTicks < kScreenshotQuietTicks) {
    std::fprintf(stderr, "qd3control: the editor did not settle; no screenshot written\n");
    mScreenshotFailed = true;
  } else if (!mGraphics->WritePNG(path)) {
    std::fprintf(stderr, "qd3control: could not write %s\n", path.c_str());
    mScreenshotFailed = true;
  } else {
    std::printf("qd3control: screenshot written to %s\n", path.c_str());
    std::fflush(stdout);
  }
  CloseEditor();
  return false;
}

void EditorApp::RaiseWindow() {
  if (mWindow) gtk_window_present(GTK_WINDOW(mWindow));
}

std::string EditorApp::EditMenuLabel(size_t entryIndex) const {
  if (entryIndex >= kMenuEntries.size() || !mEditor) return {};
  const int number = kMenuEntries[entryIndex].number;
  if (number != kMenuUndo && number != kMenuRedo) return {};
  return mEditor->EditMenuText(number == kMenuRedo);
}

void EditorApp::OnMenuEntry(size_t entryIndex) {
  if (entryIndex >= kMenuEntries.size() || mClosing) return;
  const MenuEntry& entry = kMenuEntries[entryIndex];
  switch (entry.action) {
    case MenuAction::kEditorCommand:
      mEditor->OnMenuCommand(entry.editorCommand);
      break;
    case MenuAction::kPreferences:
      OpenPreferences();
      break;
    case MenuAction::kQuit:
      CloseEditor();
      break;
    case MenuAction::kAbout:
      mEditor->ShowAbout();
      break;
    case MenuAction::kManual:
      ReadManual();
      break;
    case MenuAction::kSeparator:
      break;
  }
}

}  // namespace qd3
