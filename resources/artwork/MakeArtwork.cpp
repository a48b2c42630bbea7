// Writes the editor's pictures at build time.
//
// Usage: qd3_make_artwork <artwork folder> <icon folder>
//   artwork folder: every picture as "<name>" and "<name>@2x", plus "vector-knob.svg"
//   icon folder:    "qd3control.svg" and "qd3control-48.png", "-128.png", "-256.png"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "resources/artwork/ArtPaint.h"
#include "resources/artwork/ArtworkCatalog.h"

namespace {

constexpr int kIconSizes[] = {48, 128, 256};

bool WriteFile(const std::filesystem::path& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) std::fprintf(stderr, "qd3_make_artwork: cannot write %s\n", path.c_str());
  return static_cast<bool>(out);
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  if (bytes.empty()) {
    std::fprintf(stderr, "qd3_make_artwork: nothing drawn for %s\n", path.c_str());
    return false;
  }
  return WriteFile(path, bytes.data(), bytes.size());
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
  return WriteFile(path, text.data(), text.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: qd3_make_artwork <artwork folder> <icon folder>\n");
    return 2;
  }
  const std::filesystem::path artDir = argv[1];
  const std::filesystem::path iconDir = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(artDir, ec);
  std::filesystem::create_directories(iconDir, ec);
  bool ok = true;
  for (const auto& picture : qd3::art::Pictures()) {
    ok = WriteBytes(artDir / picture.name, qd3::art::RenderPng(picture, 1)) && ok;
    ok = WriteBytes(artDir / qd3::art::DoubleName(picture.name), qd3::art::RenderPng(picture, 2)) &&
         ok;
  }
  ok = WriteText(artDir / "vector-knob.svg", qd3::art::VectorKnobSvg()) && ok;
  ok = WriteText(iconDir / "qd3control.svg", qd3::art::AppIconSvg()) && ok;
  for (int size : kIconSizes) {
    const std::string name = "qd3control-" + std::to_string(size) + ".png";
    ok = WriteBytes(iconDir / name, qd3::art::AppIconPng(size)) && ok;
  }
  qd3::art::ReleaseFonts();
  return ok ? 0 : 1;
}
