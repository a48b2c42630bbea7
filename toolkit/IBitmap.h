#pragma once

#include <memory>
#include <span>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace qd3 {

// One picture file and its optional double-resolution twin, with N frames stacked
// vertically. Sizes are design units: one pixel of the normal file is one unit.
// The files' bytes are kept (they are the program's embedded resources) and
// decoded only when drawing needs them, and only the resolution the drawing scale
// uses: a full-canvas picture costs one image in memory, not four.
class BitmapData {
 public:
  // Either span may be empty, not both. The bytes must outlive the object.
  BitmapData(std::span<const unsigned char> normal, std::span<const unsigned char> doubled,
             int nFrames, std::string name);
  ~BitmapData();
  BitmapData(const BitmapData&) = delete;
  BitmapData& operator=(const BitmapData&) = delete;

  // False when neither file could be read as a picture.
  bool IsReadable() const { return mWidth > 0.f && mHeight > 0.f; }
  float W() const { return mWidth; }
  float H() const { return mHeight; }
  int NFrames() const { return mFrames; }
  bool HasDoubleResolution() const { return mDoubledReadable; }
  const std::string& Name() const { return mName; }

  // The whole picture resampled once to `scale` device pixels per unit, from the
  // double-resolution file above a scale of 1 where there is one, otherwise from
  // the normal one. Kept until another scale is asked for; nullptr when the file
  // cannot be decoded.
  cairo_surface_t* SurfaceForScale(float scale);

 private:
  std::span<const unsigned char> mNormalBytes;
  std::span<const unsigned char> mDoubledBytes;
  bool mNormalReadable = false;
  bool mDoubledReadable = false;
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
