// The INI reader on an arbitrary file. Holds: no sanitizer report; every read gives the
// default for a missing key and a value within its length; a write keeps every other
// key's value, and reading after it gives what was written.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/app/AppSettings.h"
#include "host/app/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& folder = qd3::fuzz::ScratchFolder();
  const auto path = folder / qd3::kSettingsFileName;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  qd3::IniFile ini(path);
  constexpr std::size_t kLimit = 99;
  const std::string before = ini.GetString("audio", "outdev", "none", kLimit);
  FUZZ_CHECK(before.size() <= kLimit);
  FUZZ_CHECK(before.empty() || (before.back() != ' ' && before.back() != '\t'));
  (void)ini.GetInt("audio", "sr", 44100);
  FUZZ_CHECK(ini.GetString("no such section", "key", "default") == "default");

  const long rateBefore = ini.GetInt("midi", "inchan", -7);
  if (ini.WriteString("audio", "buffer", "256")) {
    FUZZ_CHECK(ini.GetString("audio", "buffer", "") == "256");
    FUZZ_CHECK(ini.GetInt("midi", "inchan", -7) == rateBefore);
  }
  // The whole settings path: range checks and the write-back.
  qd3::SettingsStore store(folder);
  store.Load();
  const qd3::AppSettings& s = store.Values();
  FUZZ_CHECK(s.driver <= qd3::kAudioDriverJack);
  FUZZ_CHECK(s.buffer >= qd3::kMinBufferFrames && s.buffer <= qd3::kMaxBufferFrames);
  FUZZ_CHECK(s.sampleRate >= qd3::kMinSampleRate && s.sampleRate <= qd3::kMaxSampleRate);
  FUZZ_CHECK(qd3::SettingsFile(folder).Read() == s);
  return 0;
}
