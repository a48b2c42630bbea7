#include "host/app/BaseFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace qd3 {

std::filesystem::path EditorBaseFolder() {
  std::filesystem::path data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
    data = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] == '\0') {
      const passwd* pw = getpwuid(getuid());
      home = pw ? pw->pw_dir : "/tmp";
    }
    data = std::filesystem::path(home) / ".local" / "share";
  }
  const std::filesystem::path base = data / "QD3Control";
  std::error_code ignored;
  std::filesystem::create_directories(base, ignored);
  return base;
}

}  // namespace qd3
