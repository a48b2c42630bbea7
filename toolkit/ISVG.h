#pragma once

#include <memory>
#include <span>
#include <string>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;
typedef struct _RsvgHandle RsvgHandle;

namespace qd3 {

// A parsed SVG document with its intrinsic size in design units (the document's
// units read at the dpi it was loaded with) and a raster cache for one target size.
class SVGData {
 public:
  SVGData(RsvgHandle* handle, float w, float h, std::string name);
  ~SVGData();
  SVGData(const SVGData&) = delete;
  SVGData& operator=(const SVGData&) = delete;

  float W() const { return mWidth; }
  float H() const { return mHeight; }
  const std::string& Name() const { return mName; }

  // Renders the whole document scaled into the viewport (x, y, w, h) of cr.
  void Render(cairo_t* cr, double x, double y, double w, double h) const;
  // The document rasterised to pw x ph device pixels, cached for that size.
  cairo_surface_t* Raster(int pw, int ph);

 private:
  RsvgHandle* mHandle = nullptr;
  float mWidth = 0.f;
  float mHeight = 0.f;
  std::string mName;
  cairo_surface_t* mRaster = nullptr;
  int mRasterW = 0;
  int mRasterH = 0;
};

class ISVG {
 public:
  ISVG() = default;
  explicit ISVG(std::shared_ptr<SVGData> d) : mData(std::move(d)) {}
  bool IsValid() const { return mData != nullptr; }
  float W() const { return mData ? mData->W() : 0.f; }
  float H() const { return mData ? mData->H() : 0.f; }
  SVGData* Get() const { return mData.get(); }

 private:
  std::shared_ptr<SVGData> mData;
};

// Parses SVG bytes; only the unit "px" is read (as 1/dpi inch). Empty on failure.
ISVG ParseSVG(std::span<const unsigned char> bytes, const std::string& name, float dpi);

}  // namespace qd3
