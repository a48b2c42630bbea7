#include "toolkit/gtk/GtkGraphicsWidget.h"

#include <gtk/gtk.h>

#include <string>

#include "toolkit/IGraphics.h"

namespace qd3 {

namespace {

struct WidgetState {
  IGraphics* graphics = nullptr;
  GtkWidget* widget = nullptr;
  guint timer = 0;
  float lastX = 0.f;
  float lastY = 0.f;
  std::function<void(int, int, float)> onResized;
  std::function<void()> onWake;
};

IMouseMod ModFromState(guint state, guint button = 0) {
  IMouseMod m;
  m.L = button == 1 || (state & GDK_BUTTON1_MASK);
  m.R = button == 3 || (state & GDK_BUTTON3_MASK);
  m.S = state & GDK_SHIFT_MASK;
  m.C = state & GDK_CONTROL_MASK;
  m.A = state & GDK_MOD1_MASK;
  return m;
}

gboolean OnTick(gpointer data);

// The frame clock runs only while there is something to paint: it stops on the
// first frame that finds nothing dirty and no animation, and the toolkit's wake
// listener starts it again when a control becomes dirty. An idle editor then
// has no frame wake-ups at all.
void StartFrameClock(WidgetState* st) {
  if (st->timer != 0) return;
  const guint interval =
      st->graphics->FPS() > 0 ? static_cast<guint>(1000 / st->graphics->FPS()) : 16u;
  st->timer = g_timeout_add(interval, OnTick, st);
}

gboolean OnTick(gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  if (st->graphics->OnFrame()) {
    for (const IRECT& r : st->graphics->LastPaintedRegion()) {
      gtk_widget_queue_draw_area(st->widget, static_cast<int>(r.L), static_cast<int>(r.T),
                                 static_cast<int>(r.W()), static_cast<int>(r.H()));
    }
  }
  if (!st->graphics->IsIdle()) return G_SOURCE_CONTINUE;
  st->timer = 0;
  return G_SOURCE_REMOVE;
}

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  // The backing image holds device pixels: one of its pixels to one of the
  // screen's, whatever GTK's scale factor.
  const double factor = st->graphics->GetBackingScale();
  cairo_save(cr);
  cairo_scale(cr, 1.0 / factor, 1.0 / factor);
  cairo_set_source_surface(cr, st->graphics->GetSurface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  return TRUE;
}

// GTK's scale factor (2 on a HiDPI display, GDK_SCALE=2) sets the backing
// image's device pixels per window pixel; it may change when the window moves
// to another monitor.
void FollowScaleFactor(WidgetState* st) {
  const int factor = gtk_widget_get_scale_factor(st->widget);
  st->graphics->SetBackingScale(static_cast<float>(factor > 0 ? factor : 1));
}

void OnScaleFactorChanged(GObject*, GParamSpec*, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  FollowScaleFactor(st);
  gtk_widget_queue_draw(st->widget);
}

gboolean OnButtonPress(GtkWidget* w, GdkEventButton* ev, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  gtk_widget_grab_focus(w);
  st->lastX = static_cast<float>(ev->x);
  st->lastY = static_cast<float>(ev->y);
  const IMouseMod mod = ModFromState(ev->state, ev->button);
  if (ev->type == GDK_BUTTON_PRESS) {
    st->graphics->OnMouseDown(st->lastX, st->lastY, mod);
  } else if (ev->type == GDK_2BUTTON_PRESS) {
    st->graphics->OnMouseDblClick(st->lastX, st->lastY, mod);
  }
  return TRUE;
}

gboolean OnButtonRelease(GtkWidget*, GdkEventButton* ev, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  st->graphics->OnMouseUp(static_cast<float>(ev->x), static_cast<float>(ev->y),
                          ModFromState(ev->state, ev->button));
  return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* ev, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  st->lastX = static_cast<float>(ev->x);
  st->lastY = static_cast<float>(ev->y);
  st->graphics->OnMouseMove(st->lastX, st->lastY, ModFromState(ev->state));
  return TRUE;
}

gboolean OnQueryTooltip(GtkWidget*, gint, gint, gboolean, GtkTooltip* tooltip, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  const std::string& text = st->graphics->CurrentTooltip();
  const IControl* control = st->graphics->GetMouseOverControl();
  if (text.empty() || !control) return FALSE;
  gtk_tooltip_set_text(tooltip, text.c_str());
  const IRECT r = control->GetRECT().GetScaled(st->graphics->GetDrawScale());
  const GdkRectangle area{static_cast<int>(r.L), static_cast<int>(r.T), static_cast<int>(r.W()),
                          static_cast<int>(r.H())};
  gtk_tooltip_set_tip_area(tooltip, &area);
  return TRUE;
}

gboolean OnScroll(GtkWidget*, GdkEventScroll* ev, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  float delta = 0.f;
  if (ev->direction == GDK_SCROLL_UP) delta = 1.f;
  if (ev->direction == GDK_SCROLL_DOWN) delta = -1.f;
  if (delta == 0.f) return FALSE;
  st->graphics->OnMouseWheel(static_cast<float>(ev->x), static_cast<float>(ev->y),
                             ModFromState(ev->state), delta);
  return TRUE;
}

gboolean OnLeave(GtkWidget*, GdkEventCrossing* ev, gpointer data) {
  // Grabs and ungrabs also send crossings; only a real exit counts.
  if (ev->mode != GDK_CROSSING_NORMAL) return FALSE;
  static_cast<WidgetState*>(data)->graphics->OnMouseOut();
  return FALSE;
}

gboolean OnKeyPress(GtkWidget*, GdkEventKey* ev, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  // Not consumed: the window's accelerators get the key.
  return st->graphics->OnKeyDown(st->lastX, st->lastY, KeyPressFromGdk(ev->keyval, ev->state))
             ? TRUE
             : FALSE;
}

void OnDestroy(GtkWidget*, gpointer data) {
  auto* st = static_cast<WidgetState*>(data);
  if (st->timer) g_source_remove(st->timer);
  st->timer = 0;
  st->graphics->SetResizeListener({});
  st->graphics->SetTooltipListener({});
  st->graphics->SetWakeListener({});
}

void FreeState(gpointer data) {
  delete static_cast<WidgetState*>(data);
}

}  // namespace

IKeyPress KeyPressFromGdk(unsigned int keyval, unsigned int state) {
  IKeyPress k;
  k.S = state & GDK_SHIFT_MASK;
  k.C = state & GDK_CONTROL_MASK;
  k.A = state & GDK_MOD1_MASK;
  switch (keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
      k.vk = kVK_RETURN;
      break;
    case GDK_KEY_Escape:
      k.vk = kVK_ESCAPE;
      break;
    case GDK_KEY_Menu:
      k.vk = kVK_APPS;
      break;
    case GDK_KEY_BackSpace:
      k.vk = kVK_BACK;
      break;
    case GDK_KEY_Tab:
      k.vk = kVK_TAB;
      break;
    case GDK_KEY_Delete:
      k.vk = kVK_DELETE;
      break;
    case GDK_KEY_Left:
      k.vk = kVK_LEFT;
      break;
    case GDK_KEY_Right:
      k.vk = kVK_RIGHT;
      break;
    case GDK_KEY_Up:
      k.vk = kVK_UP;
      break;
    case GDK_KEY_Down:
      k.vk = kVK_DOWN;
      break;
    case GDK_KEY_Home:
      k.vk = kVK_HOME;
      break;
    case GDK_KEY_Page_Up:
      k.vk = kVK_PRIOR;
      break;
    case GDK_KEY_Page_Down:
      k.vk = kVK_NEXT;
      break;
    case GDK_KEY_End:
      k.vk = kVK_END;
      break;
    case GDK_KEY_space:
      k.vk = kVK_SPACE;
      break;
    default:
      if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z)
        k.vk = 'A' + static_cast<int>(keyval - GDK_KEY_a);
      if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z)
        k.vk = 'A' + static_cast<int>(keyval - GDK_KEY_A);
      if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9)
        k.vk = '0' + static_cast<int>(keyval - GDK_KEY_0);
      break;
  }
  const gunichar c = gdk_keyval_to_unicode(keyval);
  if (c >= 0x20 && c != 0x7F) {
    char buf[8] = {};
    const int n = g_unichar_to_utf8(c, buf);
    k.utf8.assign(buf, static_cast<size_t>(n));
  }
  return k;
}

GtkWidget* CreateGraphicsWidget(IGraphics& graphics, std::function<void(int, int, float)> onResized,
                                std::function<void()> onWake) {
  GtkWidget* area = gtk_drawing_area_new();
  auto* st = new WidgetState{&graphics, area, 0, 0.f, 0.f, std::move(onResized), std::move(onWake)};
  g_object_set_data_full(G_OBJECT(area), "qd3-graphics-state", st, FreeState);

  gtk_widget_set_size_request(area, graphics.WindowWidth(), graphics.WindowHeight());
  gtk_widget_set_can_focus(area, TRUE);
  gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                  GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK | GDK_KEY_PRESS_MASK |
                                  GDK_LEAVE_NOTIFY_MASK);
  g_signal_connect(area, "draw", G_CALLBACK(OnDraw), st);
  g_signal_connect(area, "button-press-event", G_CALLBACK(OnButtonPress), st);
  g_signal_connect(area, "button-release-event", G_CALLBACK(OnButtonRelease), st);
  g_signal_connect(area, "motion-notify-event", G_CALLBACK(OnMotion), st);
  g_signal_connect(area, "scroll-event", G_CALLBACK(OnScroll), st);
  g_signal_connect(area, "leave-notify-event", G_CALLBACK(OnLeave), st);
  g_signal_connect(area, "key-press-event", G_CALLBACK(OnKeyPress), st);
  g_signal_connect(area, "destroy", G_CALLBACK(OnDestroy), st);
  g_signal_connect(area, "notify::scale-factor", G_CALLBACK(OnScaleFactorChanged), st);

  graphics.SetResizeListener([st](int w, int h, float scale) {
    gtk_widget_set_size_request(st->widget, w, h);
    gtk_widget_queue_draw(st->widget);
    if (st->onResized) st->onResized(w, h, scale);
  });
  // The tooltip names the control under the pointer and stands beside it, not over it:
  // GTK places a tooltip outside its tip area, which is the control's rectangle.
  gtk_widget_set_has_tooltip(area, TRUE);
  g_signal_connect(area, "query-tooltip", G_CALLBACK(OnQueryTooltip), st);
  graphics.SetTooltipListener(
      [st](const std::string&) { gtk_widget_trigger_tooltip_query(st->widget); });

  graphics.SetWakeListener([st] {
    StartFrameClock(st);
    if (st->onWake) st->onWake();
  });
  FollowScaleFactor(st);
  graphics.OnFrame();  // the first frame is ready before the first expose
  StartFrameClock(st);
  return area;
}

}  // namespace qd3
