#include "toolkit/FontStore.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "toolkit/api/EmbeddedResources.h"

namespace qd3 {
namespace {

// One FreeType library for the process, never closed: Cairo may still hold faces
// made from it when the last store goes away.
FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) return static_cast<FT_Library>(nullptr);
    return lib;
  }();
  return library;
}

const cairo_user_data_key_t kFaceKey{};

void DoneFace(void* face) {
  FT_Done_Face(static_cast<FT_Face>(face));
}

}  // namespace

FontStore::FontStore() {
  mFallback =
      cairo_toy_font_face_create("sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
}

FontStore::~FontStore() {
  for (auto& [id, face] : mFaces) cairo_font_face_destroy(face);
  cairo_font_face_destroy(mFallback);
}

bool FontStore::LoadFont(std::string_view fontId, std::string_view fileName) {
  const EmbeddedResource* res = FindEmbeddedResource(fileName);
  if (!res) return false;
  return LoadFontFromMemory(fontId, res->bytes);
}

bool FontStore::LoadFontFromMemory(std::string_view fontId, std::span<const unsigned char> bytes) {
  FT_Library lib = Library();
  if (!lib || bytes.empty()) return false;
  FT_Face ftFace = nullptr;
  if (FT_New_Memory_Face(lib, bytes.data(), static_cast<FT_Long>(bytes.size()), 0, &ftFace) != 0) {
    return false;
  }
  cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
  if (cairo_font_face_set_user_data(face, &kFaceKey, ftFace, DoneFace) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(face);
    FT_Done_Face(ftFace);
    return false;
  }
  auto it = mFaces.find(fontId);
  if (it != mFaces.end()) {
    cairo_font_face_destroy(it->second);
    it->second = face;
  } else {
    mFaces.emplace(std::string(fontId), face);
  }
  return true;
}

bool FontStore::HasFont(std::string_view fontId) const {
  return mFaces.find(fontId) != mFaces.end();
}

cairo_font_face_t* FontStore::Face(std::string_view fontId) const {
  if (!fontId.empty()) {
    auto it = mFaces.find(fontId);
    if (it != mFaces.end()) return it->second;
  }
  auto def = mFaces.find(mDefaultId);
  if (def != mFaces.end()) return def->second;
  return mFallback;
}

}  // namespace qd3
