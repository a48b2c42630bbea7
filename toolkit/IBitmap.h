#pragma once

#include <memory>
#include <span>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace qd3 {

// Decoded pixels of one picture file and its optional double-resolution twin,
// with N frames stacked vertically. Sizes are design units: one pixel of the
// normal file is one unit.
class BitmapData {
 public:
  BitmapData(cairo_surface_t* normal, cairo_surface_t* doubled, int nFrames, std::string name);
  ~BitmapData();
  BitmapData(const BitmapData&) = delete;
  BitmapData& operator=(const BitmapData&) = delete;

  float W() const { return width; }
  float H() const { return height; }
  int NFrames() const { return frames; }
  bool HasDoubleResolution() const { return surface2x != nullptr; }
  const std::string& Name() const { return name; }

  // The whole picture resampled once to `scale` device pixels per unit: the
  // double-resolution file above a scale of 1 where there is one, otherwise the
  // normal one. Kept until another scale is asked for.
  cairo_surface_t* SurfaceForScale(float scale);
  cairo_surface_t* SourceSurface(float scale) const;

 private:
  cairo_surface_t* surface1x = nullptr;
  cairo_surface_t* surface2x = nullptr;
  cairo_surface_t* scaled = nullptr;
  float scaledFor = 0.f;
  float width = 0.f;
  float height = 0.f;
  int frames = 1;
  std::string name;
};

// A shared handle to loaded bitmap data; empty when loading failed.
class IBitmap {
 public:
  IBitmap() = default;
  explicit IBitmap(std::shared_ptr<BitmapData> d) : data(std::move(d)) {}

  bool IsValid() const { return data != nullptr; }
  float W() const { return data ? data->W() : 0.f; }
  float H() const { return data ? data->H() : 0.f; }
  int N() const { return data ? data->NFrames() : 1; }
  float FW() const { return W(); }
  float FH() const { return data ? data->H() / data->NFrames() : 0.f; }
  BitmapData* Get() const { return data.get(); }

 private:
  std::shared_ptr<BitmapData> data;
};

// Decodes PNG (or any format stb_image reads) bytes into a premultiplied ARGB32
// image surface; nullptr on failure.
cairo_surface_t* DecodeImageToSurface(std::span<const unsigned char> bytes);

// "knob.png" -> "knob@2x.png"
std::string DoubleResolutionName(const std::string& name);

}  // namespace qd3
