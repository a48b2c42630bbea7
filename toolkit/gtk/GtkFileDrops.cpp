#include "toolkit/gtk/GtkFileDrops.h"

#include <gtk/gtk.h>

#include <utility>

#include "toolkit/IGraphics.h"

namespace qd3 {
namespace {

constexpr char kStateKey[] = "qd3-file-drops";

struct DropState {
  const IGraphics* graphics = nullptr;
  FileDropHandler handler;
};

// One drop waiting for the main loop; holds its widget until then.
struct PendingDrop {
  GtkWidget* canvas = nullptr;
  std::vector<std::string> uris;
  double wx = 0.0;
  double wy = 0.0;
};

std::vector<std::string> PathsOf(const std::vector<std::string>& uris) {
  std::vector<std::string> paths;
  for (const std::string& uri : uris) {
    gchar* local = g_filename_from_uri(uri.c_str(), nullptr, nullptr);
    paths.emplace_back(local ? local : uri.c_str());
    g_free(local);
  }
  return paths;
}

void Deliver(GtkWidget* canvas, const std::vector<std::string>& uris, double wx, double wy) {
  auto* st = static_cast<DropState*>(g_object_get_data(G_OBJECT(canvas), kStateKey));
  if (!st || !st->handler || uris.empty()) return;
  const float scale = st->graphics->GetDrawScale();
  st->handler(PathsOf(uris), static_cast<float>(wx) / scale, static_cast<float>(wy) / scale);
}

gboolean RunPendingDrop(gpointer data) {
  auto* pending = static_cast<PendingDrop*>(data);
  Deliver(pending->canvas, pending->uris, pending->wx, pending->wy);
  g_object_unref(pending->canvas);
  delete pending;
  return G_SOURCE_REMOVE;
}

void OnDragDataReceived(GtkWidget* canvas, GdkDragContext*, gint x, gint y, GtkSelectionData* data,
                        guint, guint, gpointer) {
  gchar** uris = gtk_selection_data_get_uris(data);
  if (!uris) return;
  auto* pending = new PendingDrop{
      GTK_WIDGET(g_object_ref(canvas)), {}, static_cast<double>(x), static_cast<double>(y)};
  for (gchar** uri = uris; *uri; ++uri) pending->uris.emplace_back(*uri);
  g_strfreev(uris);
  // GTK finishes the drag when this handler returns (GTK_DEST_DEFAULT_DROP).
  g_idle_add(RunPendingDrop, pending);
}

void OnDestroy(GtkWidget* canvas, gpointer) {
  if (auto* st = static_cast<DropState*>(g_object_get_data(G_OBJECT(canvas), kStateKey))) {
    st->handler = {};
  }
}

void FreeState(gpointer data) {
  delete static_cast<DropState*>(data);
}

}  // namespace

void AcceptFileDrops(GtkWidget* canvas, const IGraphics& graphics, FileDropHandler handler) {
  auto* st = new DropState{&graphics, std::move(handler)};
  g_object_set_data_full(G_OBJECT(canvas), kStateKey, st, FreeState);
  gtk_drag_dest_set(canvas, GTK_DEST_DEFAULT_ALL, nullptr, 0, GDK_ACTION_COPY);
  gtk_drag_dest_add_uri_targets(canvas);
  g_signal_connect(canvas, "drag-data-received", G_CALLBACK(OnDragDataReceived), nullptr);
  g_signal_connect(canvas, "destroy", G_CALLBACK(OnDestroy), nullptr);
}

void DeliverUriListDrop(GtkWidget* canvas, const std::string& uriList, double wx, double wy) {
  std::vector<std::string> uris;
  gchar** list = g_uri_list_extract_uris(uriList.c_str());
  for (gchar** uri = list; uri && *uri; ++uri) uris.emplace_back(*uri);
  g_strfreev(list);
  Deliver(canvas, uris, wx, wy);
}

}  // namespace qd3
