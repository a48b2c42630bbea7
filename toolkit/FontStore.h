#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

typedef struct _cairo_font_face cairo_font_face_t;

namespace qd3 {

// TrueType faces by font id. Faces are made from bytes that live for the whole
// program (embedded resources); the FreeType face behind each Cairo face is freed
// by Cairo's own destroy notification, since Cairo may keep faces in its caches
// after we let go of them.
class FontStore {
 public:
  FontStore();
  ~FontStore();
  FontStore(const FontStore&) = delete;
  FontStore& operator=(const FontStore&) = delete;

  // Loads the embedded resource `fileName` under `fontId`.
  bool LoadFont(std::string_view fontId, std::string_view fileName);
  // Loads from bytes that outlive the program's use of the font.
  bool LoadFontFromMemory(std::string_view fontId, std::span<const unsigned char> bytes);

  bool HasFont(std::string_view fontId) const;
  void SetDefaultFontId(std::string_view fontId) { mDefaultId = fontId; }
  const std::string& DefaultFontId() const { return mDefaultId; }

  // The face for a font id; the default font for an empty or unknown id, and a
  // generic sans-serif face when not even the default is loaded.
  cairo_font_face_t* Face(std::string_view fontId) const;

 private:
  std::map<std::string, cairo_font_face_t*, std::less<>> mFaces;
  std::string mDefaultId = "Roboto-Regular";
  cairo_font_face_t* mFallback = nullptr;
};

}  // namespace qd3
