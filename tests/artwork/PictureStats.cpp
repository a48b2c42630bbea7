#include "tests/artwork/PictureStats.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace qd3::art::test {
namespace {

struct Reader {
  std::span<const unsigned char> bytes;
  size_t offset = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* data, unsigned int length) {
  auto* r = static_cast<Reader*>(closure);
  if (r->offset + length > r->bytes.size()) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, r->bytes.data() + r->offset, length);
  r->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

double Luminance(uint32_t p) {
  const double r = (p >> 16) & 0xFFu;
  const double g = (p >> 8) & 0xFFu;
  const double b = p & 0xFFu;
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

}  // namespace

Image DecodePng(std::span<const unsigned char> bytes) {
  Reader reader{bytes};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(ReadBytes, &reader);
  Image image;
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_t* argb = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
    cairo_t* cr = cairo_create(argb);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(argb);
    image.width = cairo_image_surface_get_width(argb);
    image.height = cairo_image_surface_get_height(argb);
    const int stride = cairo_image_surface_get_stride(argb);
    const unsigned char* data = cairo_image_surface_get_data(argb);
    image.argb.resize(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
      std::memcpy(&image.argb[static_cast<size_t>(y) * image.width], data + y * stride,
                  static_cast<size_t>(image.width) * 4);
    }
    cairo_surface_destroy(argb);
  }
  cairo_surface_destroy(s);
  return image;
}

Stats Measure(const Image& image, int y0, int y1) {
  Stats stats;
  std::unordered_set<uint32_t> colors;
  double sum = 0;
  stats.minLuminance = 255;
  size_t count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t p = image.At(x, y);
      colors.insert(p);
      const double l = Luminance(p);
      sum += l;
      stats.minLuminance = std::min(stats.minLuminance, l);
      stats.maxLuminance = std::max(stats.maxLuminance, l);
      ++count;
    }
  }
  stats.distinctColors = colors.size();
  stats.meanLuminance = count ? sum / count : 0;
  return stats;
}

uint64_t Difference(const Image& image, int a0, int b0, int h) {
  uint64_t total = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint32_t a = image.At(x, a0 + y);
      const uint32_t b = image.At(x, b0 + y);
      for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFFu);
        const int cb = static_cast<int>((b >> shift) & 0xFFu);
        total += static_cast<uint64_t>(ca > cb ? ca - cb : cb - ca);
      }
    }
  }
  return total;
}

}  // namespace qd3::art::test
