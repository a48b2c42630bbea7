#include "simulator/SimOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <sstream>
#include <vector>

#include "protocol/DeviceMessages.h"

namespace qd3::sim {
namespace {

std::optional<long long> ParseInteger(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<double> ParseNumber(std::string_view text) {
  // from_chars for double is not in every standard library we build with.
  std::istringstream in{std::string(text)};
  double value = 0;
  in >> value;
  if (!in || !in.eof() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int> InRange(std::string_view text, long long min, long long max) {
  const auto value = ParseInteger(text);
  if (!value || *value < min || *value > max) return std::nullopt;
  return static_cast<int>(*value);
}

constexpr std::array<std::string_view, 14> kValueOptions = {
    "--api",         "--client",    "--state", "--version",       "--serial",
    "--latency-ms",  "--byte-rate", "--drop",  "--refuse-writes", "--report-version",
    "--reply-delay", "--jitter",    "--seed",  "--write-delay",
};

constexpr double kMaxDelayMs = 60000;

// Milliseconds, fractions allowed, 0..kMaxDelayMs.
std::optional<Micros> ParseDelay(std::string_view text) {
  const auto ms = ParseNumber(text);
  if (!ms || *ms < 0 || *ms > kMaxDelayMs) return std::nullopt;
  return Micros{static_cast<int64_t>(std::llround(*ms * 1000))};
}

bool IsSendableText(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
  }
  return true;
}

}  // namespace

SimOptionsResult ParseSimOptions(std::span<const std::string_view> args) {
  SimOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string_view value = hasValue ? args[i + 1] : std::string_view();
    auto fail = [&](std::string_view why) {
      return SimOptionsResult{std::nullopt, std::string(arg) + ": " + std::string(why)};
    };

    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (arg == "--log") {
      options.log = true;
      continue;
    }
    if (arg == "--corrupt-next") {
      options.faults.corruptNextChecksum = true;
      continue;
    }
    if (arg == "--damage-ir-chunk") {
      options.faults.damageNextIrChunk = true;
      continue;
    }
    if (arg == "--burst") {
      options.timing.burst = true;
      continue;
    }
    if (arg == "--silent") {
      options.faults.silent = true;
      continue;
    }
    if (arg == "--fail-firmware") {
      options.faults.failFirmwareCheck = true;
      continue;
    }
    if (std::find(kValueOptions.begin(), kValueOptions.end(), arg) == kValueOptions.end()) {
      return fail("unknown option");
    }
    if (!hasValue) return fail("needs a value");
    ++i;
    if (arg == "--api") {
      if (value == "alsa") {
        options.api = MidiApiChoice::kAlsa;
      } else if (value == "jack") {
        options.api = MidiApiChoice::kJack;
      } else {
        return fail("must be alsa or jack");
      }
    } else if (arg == "--client") {
      if (value.empty() || !IsSendableText(value)) return fail("must be a printable name");
      options.clientName = value;
    } else if (arg == "--state") {
      if (value.empty()) return fail("needs a file name");
      options.statePath = value;
    } else if (arg == "--version") {
      options.firmwareVersion = InRange(value, 0, kMax7);
      if (!options.firmwareVersion) return fail("must be 0..127 (tenths: 11 is 1.1)");
    } else if (arg == "--serial") {
      if (value.size() > kSerialSize || !IsSendableText(value)) {
        return fail("must be at most 32 printable ASCII characters");
      }
      options.serial = std::string(value);
    } else if (arg == "--latency-ms" || arg == "--reply-delay" || arg == "--jitter" ||
               arg == "--write-delay") {
      const auto delay = ParseDelay(value);
      if (!delay) return fail("must be 0..60000 milliseconds");
      Micros& target = arg == "--latency-ms"    ? options.timing.latency
                       : arg == "--reply-delay" ? options.timing.replyDelay
                       : arg == "--jitter"      ? options.timing.jitter
                                                : options.timing.writeDelay;
      target = *delay;
    } else if (arg == "--seed") {
      const auto seed = ParseInteger(value);
      if (!seed || *seed < 0) return fail("must be a whole number, 0 or more");
      options.timing.jitterSeed = static_cast<uint64_t>(*seed);
    } else if (arg == "--byte-rate") {
      const auto rate = ParseNumber(value);
      if (!rate || *rate < 0) return fail("must be 0 (unlimited) or more bytes per second");
      options.timing.bytesPerSecond = *rate;
    } else if (arg == "--drop") {
      const auto count = InRange(value, 0, 1000000);
      if (!count) return fail("must be a count");
      options.faults.dropReplies = *count;
    } else if (arg == "--refuse-writes") {
      const auto count = InRange(value, 0, 1000000);
      if (!count) return fail("must be a count");
      options.faults.refuseWrites = *count;
    } else if (arg == "--report-version") {
      options.faults.reportedVersion = InRange(value, 0, kMax7);
      if (!options.faults.reportedVersion) return fail("must be 0..127");
    }
  }
  return SimOptionsResult{options, {}};
}

std::string SimUsage() {
  return "usage: qd3-sim [options]\n"
         "A simulated QD3 pedal on two virtual MIDI ports:\n"
         "  \"QD3 Simulator In:MIDI In\"   the pedal's input (connect the editor's output)\n"
         "  \"QD3 Simulator Out:MIDI Out\" the pedal's output (connect the editor's input)\n"
         "It runs until SIGINT or SIGTERM. Standard input takes the commands\n"
         "\"knob <index> <raw>\" (turn a control on the pedal), \"save\" and \"quit\".\n"
         "\n"
         "  --api alsa|jack        MIDI API (default alsa)\n"
         "  --client NAME          client name prefix (default \"QD3 Simulator\")\n"
         "  --state FILE           load the pedal's memory from FILE, save it there on exit\n"
         "  --version N            firmware version in tenths, 0..127 (default 11 = 1.1)\n"
         "  --serial TEXT          serial number, up to 32 characters\n"
         "  --latency-ms X         delay before an answer leaves (default 2)\n"
         "  --byte-rate N          bytes per second on the wire, 0 = unlimited (default 48000)\n"
         "  --burst                send the answers to each message at once, back to back\n"
         "                         (on JACK in one period: a whole IR transfer of 11 messages)\n"
         "  --reply-delay MS       every answer leaves MS milliseconds later (default 0)\n"
         "  --jitter MS            and a random 0..MS more each time (default 0)\n"
         "  --seed N               seed of that randomness; the same seed, the same delays\n"
         "                         (default 1)\n"
         "  --write-delay MS       a write (preset store, bank-import record, factory-bank\n"
         "                         record, IR upload) takes MS before it is answered (default 0)\n"
         "  --log                  print every message in hex with its command name\n"
         "faults:\n"
         "  --drop N               drop the next N answers\n"
         "  --corrupt-next         corrupt the checksum of the next answer that has one\n"
         "  --damage-ir-chunk      change a data byte of the next IR data chunk sent\n"
         "  --refuse-writes N      refuse the next N writes\n"
         "  --report-version N     report version N in the device-info reply\n"
         "  --silent               behave as if unplugged\n"
         "  --fail-firmware        the loader rejects every firmware image\n";
}

std::optional<ConsoleCommand> ParseConsoleCommand(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  if (words.size() == 1 && words[0] == "save") return ConsoleCommand{ConsoleCommand::Kind::kSave};
  if (words.size() == 1 && words[0] == "quit") return ConsoleCommand{ConsoleCommand::Kind::kQuit};
  if (words.size() == 3 && words[0] == "knob") {
    const auto index = InRange(words[1], 0, kMax7);
    const auto raw = InRange(words[2], 0, kMax7);
    if (index && raw) return ConsoleCommand{ConsoleCommand::Kind::kKnob, *index, *raw};
  }
  return std::nullopt;
}

}  // namespace qd3::sim
