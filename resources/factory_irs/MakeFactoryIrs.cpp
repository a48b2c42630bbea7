// Build tool: writes the eight factory cabinet WAV files into one folder.
//
// Usage: qd3_make_factory_irs <output folder>
// The file names are those the editor installs into its cache folder "Factory IRs".
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "presets/PresetCache.h"
#include "resources/factory_irs/CabinetIr.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (std::size_t i = 0; i < qd3::kFactoryIrWavNames.size(); ++i) {
    const std::vector<uint8_t> wav = qd3::factory_irs::FactoryCabinetWav(i);
    const std::filesystem::path path = folder / std::string(qd3::kFactoryIrWavNames[i]);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.string().c_str());
      return 1;
    }
  }
  return 0;
}
