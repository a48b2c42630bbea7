// Renders the application's SVG icon to a square PNG of a given size with
// librsvg, at build time: render-icon SOURCE.svg SIZE OUTPUT.png
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMinSize = 16;
constexpr int kMaxSize = 1024;

int Render(const char* source, int size, const char* output) {
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_file(source, &error);
  if (handle == nullptr) {
    std::fprintf(stderr, "render-icon: %s: %s\n", source, error ? error->message : "unreadable");
    if (error) g_error_free(error);
    return 1;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  const RsvgRectangle viewport{0.0, 0.0, static_cast<double>(size), static_cast<double>(size)};
  const bool drawn = rsvg_handle_render_document(handle, cr, &viewport, &error);
  cairo_destroy(cr);
  int status = 0;
  if (!drawn) {
    std::fprintf(stderr, "render-icon: %s: %s\n", source, error ? error->message : "not drawn");
    status = 1;
  } else if (cairo_surface_write_to_png(surface, output) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "render-icon: cannot write %s\n", output);
    status = 1;
  }
  if (error) g_error_free(error);
  cairo_surface_destroy(surface);
  g_object_unref(handle);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: render-icon SOURCE.svg SIZE OUTPUT.png\n");
    return 2;
  }
  const int size = std::atoi(argv[2]);
  if (size < kMinSize || size > kMaxSize) {
    std::fprintf(stderr, "render-icon: size %s outside %d..%d\n", argv[2], kMinSize, kMaxSize);
    return 2;
  }
  return Render(argv[1], size, argv[3]);
}
