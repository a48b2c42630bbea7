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

  float W() const { return mWidth; }
  float H() const { return mHeight; }
  int NFrames() const { return mFrames; }
  bool HasDoubleResolution() const { return mSurface2x != nullptr; }
  const std::string& Name() const { return mName; }

  // The whole picture resampled once to `scale` device pixels per unit: the
  // double-resolution file above a scale of 1 where there is one, otherwise the
  // normal one. Kept until another scale is asked for.
  cairo_surface_t* SurfaceForScale(float scale);
  cairo_surface_t* SourceSurface(float scale) const;

 private:
  cairo_surface_t* mSurface1x = nullptr;
  cairo_surface_t* mSurface2x = nullptr;
  cairo_surface_t* mScaled = nullptr;
  float mScaledFor = 0.f;
  float mWidth = 0.f;
  float mHeight = 0.f;
  int mFrames = 1;
  std::string mName;
};

// A shared handle to loaded bitmap data; empty when loading failed.
class IBitmap {
 public:
  IBitmap() = default;
  explicit IBitmap(std::shared_ptr<BitmapData> d) : mData(std::move(d)) {}

  bool IsValid() const { return mData != nullptr; }
  float W() const { return mData ? mData->W() : 0.f; }
  float H() const { return mData ? mData->H() : 0.f; }
  int N() const { return mData ? mData->NFrames() : 1; }
  float FW() const { return W(); }
  float FH() const { return mData ? mData->H() / mData->NFrames() : 0.f; }
  BitmapData* Get() const { return mData.get(); }

 private:
  std::shared_ptr<BitmapData> mData;
};

// Decodes PNG (or any format stb_image reads) bytes into a premultiplied ARGB32
// image surface; nullptr on failure.
cairo_surface_t* DecodeImageToSurface(std::span<const unsigned char> bytes);

// "knob.png" -> "knob@2x.png"
std::string DoubleResolutionName(const std::string& name);

}  // namespace qd3
