#include "toolkit/IBitmap.h"

#include <cairo.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qd3 {

cairo_surface_t* DecodeImageToSurface(std::span<const unsigned char> bytes) {
  int w = 0;
  int h = 0;
  int comp = 0;
  unsigned char* rgba =
      stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &comp, 4);
  if (!rgba) return nullptr;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    stbi_image_free(rgba);
    cairo_surface_destroy(s);
    return nullptr;
  }
  cairo_surface_flush(s);
  unsigned char* dst = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  // stb gives straight RGBA bytes; Cairo wants premultiplied ARGB in native order.
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(dst + y * stride);
    const unsigned char* src = rgba + static_cast<size_t>(y) * w * 4;
    for (int x = 0; x < w; ++x) {
      const uint32_t a = src[4 * x + 3];
      const uint32_t r = (src[4 * x + 0] * a + 127) / 255;
      const uint32_t g = (src[4 * x + 1] * a + 127) / 255;
      const uint32_t b = (src[4 * x + 2] * a + 127) / 255;
      row[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  cairo_surface_mark_dirty(s);
  stbi_image_free(rgba);
  return s;
}

std::string DoubleResolutionName(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return name + "@2x";
  return name.substr(0, dot) + "@2x" + name.substr(dot);
}

namespace {

// The pixel size of encoded picture bytes without decoding them.
bool PictureSize(std::span<const unsigned char> bytes, int& w, int& h) {
  int comp = 0;
  return !bytes.empty() &&
         stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &comp) == 1 &&
         w > 0 && h > 0;
}

}  // namespace

BitmapData::BitmapData(std::span<const unsigned char> normal,
                       std::span<const unsigned char> doubled, int nFrames, std::string fileName)
    : mNormalBytes(normal),
      mDoubledBytes(doubled),
      mFrames(nFrames < 1 ? 1 : nFrames),
      mName(std::move(fileName)) {
  int w = 0;
  int h = 0;
  if (PictureSize(mDoubledBytes, w, h)) {
    mDoubledReadable = true;
    mWidth = w / 2.f;
    mHeight = h / 2.f;
  }
  if (PictureSize(mNormalBytes, w, h)) {
    mNormalReadable = true;
    mWidth = static_cast<float>(w);
    mHeight = static_cast<float>(h);
  }
}

BitmapData::~BitmapData() {
  if (mScaled) cairo_surface_destroy(mScaled);
}

cairo_surface_t* BitmapData::SurfaceForScale(float scale) {
  if (mScaled && mScaledFor == scale) return mScaled;
  if (mScaled) cairo_surface_destroy(mScaled);
  mScaled = nullptr;
  const bool useDoubled = mDoubledReadable && (scale > 1.f || !mNormalReadable);
  cairo_surface_t* src = DecodeImageToSurface(useDoubled ? mDoubledBytes : mNormalBytes);
  if (!src) return nullptr;
  const int sw = cairo_image_surface_get_width(src);
  const int sh = cairo_image_surface_get_height(src);
  const int dw = std::max(1, static_cast<int>(std::lround(mWidth * scale)));
  const int dh = std::max(1, static_cast<int>(std::lround(mHeight * scale)));
  mScaledFor = scale;
  // At the file's own size the decoded picture is the scaled one.
  if (sw == dw && sh == dh) {
    mScaled = src;
    return mScaled;
  }
  mScaled = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, dw, dh);
  cairo_t* cr = cairo_create(mScaled);
  cairo_scale(cr, static_cast<double>(dw) / sw, static_cast<double>(dh) / sh);
  cairo_set_source_surface(cr, src, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(src);
  return mScaled;
}

}  // namespace qd3
