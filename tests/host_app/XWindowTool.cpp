// A small X client for the system test: a screenshot of the whole screen, and
// the close box of a top-level window pressed the way a window manager does it
// (a WM_DELETE_WINDOW message), so no window manager is needed.
//   qd3_xwindow_tool screenshot <file.png>
//   qd3_xwindow_tool close <window title>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdk.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

Window FindByTitle(Display* display, Window window, const std::string& title) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    const bool match = title == name;
    XFree(name);
    if (match) return window;
  }
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; ++i) found = FindByTitle(display, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

int Close(const std::string& title) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 3;
  const Window window = FindByTitle(display, DefaultRootWindow(display), title);
  if (!window) {
    std::fprintf(stderr, "no window titled %s\n", title.c_str());
    XCloseDisplay(display);
    return 4;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return 0;
}

int Screenshot(const char* path) {
  if (!gdk_init_check(nullptr, nullptr)) return 3;
  GdkWindow* root = gdk_get_default_root_window();
  GdkPixbuf* shot = gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root),
                                               gdk_window_get_height(root));
  if (!shot) return 4;
  const gboolean ok = gdk_pixbuf_save(shot, path, "png", nullptr, nullptr);
  g_object_unref(shot);
  return ok ? 0 : 5;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "screenshot") == 0) return Screenshot(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "close") == 0) return Close(argv[2]);
  std::fprintf(stderr, "usage: qd3_xwindow_tool screenshot FILE | close TITLE\n");
  return 2;
}
