// Build tool: writes the factory preset bank (128 kCmdWriteFactoryPreset messages) to one
// file. Fails, and so fails the build, when a preset table holds a value outside its
// parameter's range.
//
// Usage: qd3_make_factory_bank <output file>
#include <cstdio>
#include <fstream>
#include <string>

#include "resources/factory_bank/FactoryBankBuilder.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
    return 2;
  }
  const qd3::factory_bank::FactoryBank bank = qd3::factory_bank::BuildFactoryBank();
  for (const std::string& problem : bank.problems) {
    std::fprintf(stderr, "%s: %s\n", argv[0], problem.c_str());
  }
  if (!bank.problems.empty() || bank.messages.size() != qd3::factory_bank::kFactoryBankSize) {
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bank.messages.data()),
            static_cast<std::streamsize>(bank.messages.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
