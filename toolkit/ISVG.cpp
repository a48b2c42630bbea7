#include "toolkit/ISVG.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>

namespace qd3 {

SVGData::SVGData(RsvgHandle* h, float w, float hgt, std::string fileName)
    : mHandle(h), mWidth(w), mHeight(hgt), mName(std::move(fileName)) {}

SVGData::~SVGData() {
  if (mRaster) cairo_surface_destroy(mRaster);
  if (mHandle) g_object_unref(mHandle);
}

void SVGData::Render(cairo_t* cr, double x, double y, double w, double h) const {
  RsvgRectangle viewport{x, y, w, h};
  GError* error = nullptr;
  if (!rsvg_handle_render_document(mHandle, cr, &viewport, &error) && error) {
    g_error_free(error);
  }
}

cairo_surface_t* SVGData::Raster(int pw, int ph) {
  if (mRaster && mRasterW == pw && mRasterH == ph) return mRaster;
  if (mRaster) cairo_surface_destroy(mRaster);
  mRaster = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pw, ph);
  cairo_t* cr = cairo_create(mRaster);
  Render(cr, 0, 0, pw, ph);
  cairo_destroy(cr);
  mRasterW = pw;
  mRasterH = ph;
  return mRaster;
}

ISVG ParseSVG(std::span<const unsigned char> bytes, const std::string& name, float dpi) {
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_data(bytes.data(), bytes.size(), &error);
  if (!handle) {
    if (error) g_error_free(error);
    return {};
  }
  rsvg_handle_set_dpi(handle, dpi);
  double w = 0;
  double h = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h)) {
    // No width/height attributes: fall back to the viewBox.
    gboolean hasW = FALSE;
    gboolean hasH = FALSE;
    gboolean hasViewBox = FALSE;
    RsvgLength lw{};
    RsvgLength lh{};
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(handle, &hasW, &lw, &hasH, &lh, &hasViewBox, &viewBox);
    if (!hasViewBox) {
      g_object_unref(handle);
      return {};
    }
    w = viewBox.width;
    h = viewBox.height;
  }
  return ISVG(
      std::make_shared<SVGData>(handle, static_cast<float>(w), static_cast<float>(h), name));
}

}  // namespace qd3
