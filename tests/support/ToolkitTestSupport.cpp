#include "tests/support/ToolkitTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>

#include "toolkit/api/EmbeddedResources.h"

// Fontconfig keeps its caches until exit; Cairo's fallback font face reaches it.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}

namespace qd3::test {

void FakeDelegate::SetParameterValueFromUI(int index, double normalized) {
  fromUI.emplace_back(index, normalized);
  gestures.emplace_back("set");
  values.at(static_cast<size_t>(index)) = std::clamp(normalized, 0.0, 1.0);
}

std::string FakeDelegate::GetParamDisplayText(int index, double normalized) const {
  const auto& t = texts.at(static_cast<size_t>(index));
  if (!t.empty()) {
    const auto i =
        static_cast<size_t>(std::lround(normalized * (static_cast<double>(t.size()) - 1)));
    return t[std::min(i, t.size() - 1)];
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", normalized);
  return buf;
}

void FakeDelegate::DrainQueuedParamUpdates(const std::function<void(int, double)>& apply) {
  auto pending = std::move(queued);
  queued.clear();
  for (const auto& [i, v] : pending) apply(i, v);
}

void FakeDelegate::SetFromCode(int index, double normalized) {
  values.at(static_cast<size_t>(index)) = normalized;
  queued.emplace_back(index, normalized);
}

namespace {

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

std::deque<std::vector<unsigned char>>& Storage() {
  static std::deque<std::vector<unsigned char>> storage;
  return storage;
}

}  // namespace

std::vector<unsigned char> MakePNG(int w, int h, const std::function<void(cairo_t*)>& paint) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  paint(cr);
  cairo_destroy(cr);
  std::vector<unsigned char> bytes;
  cairo_surface_write_to_png_stream(s, AppendBytes, &bytes);
  cairo_surface_destroy(s);
  return bytes;
}

void RegisterTestResource(const std::string& name, std::vector<unsigned char> bytes, int id) {
  Storage().push_back(std::move(bytes));
  const auto& kept = Storage().back();
  RegisterEmbeddedResource(name, id, std::span<const unsigned char>(kept.data(), kept.size()));
}

void RegisterFramesBitmap(const std::string& name, int w, int h,
                          const std::vector<IColor>& colors) {
  const int n = static_cast<int>(colors.size());
  RegisterTestResource(name, MakePNG(w, h * n, [&](cairo_t* cr) {
                         for (int k = 0; k < n; ++k) {
                           const IColor& c = colors[static_cast<size_t>(k)];
                           cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0,
                                                 c.A / 255.0);
                           cairo_rectangle(cr, 0, k * h, w, h);
                           cairo_fill(cr);
                         }
                       }));
}

bool Near(const IColor& a, const IColor& b) {
  return NearTol(a, b, 3);
}

bool NearTol(const IColor& a, const IColor& b, int tolerance) {
  return std::abs(a.R - b.R) <= tolerance && std::abs(a.G - b.G) <= tolerance &&
         std::abs(a.B - b.B) <= tolerance;
}

std::string Describe(const IColor& c) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "(%d, %d, %d, %d)", c.A, c.R, c.G, c.B);
  return buf;
}

std::string OutputPath(const std::string& file) {
  const char* dir = std::getenv("QD3_TEST_OUTPUT");
  std::filesystem::path base = dir ? dir : std::filesystem::current_path().string();
  return (base / file).string();
}

}  // namespace qd3::test
