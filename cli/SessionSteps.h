#pragma once

// The steps backup and restore share: opening the ports and finding the pedal, and one
// bank export into a file.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/SessionDriver.h"

namespace qd3::cli {

// Opens --in and --out and runs the handshake; says what it found on `err`. Exit status.
int OpenAndConnect(SessionDriver& driver, const CliArgs& args, std::ostream& err);

// Runs the bank export with progress on `err` and writes the file (folder created when
// missing). Exit status; on failure no file is written.
int BackupInto(SessionDriver& driver, const std::filesystem::path& file, bool terminal,
               std::vector<uint8_t>& bank, std::ostream& err);

}  // namespace qd3::cli
