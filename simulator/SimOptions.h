#pragma once

// Command line and console commands of qd3-sim, the simulated pedal on real MIDI ports.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "simulator/Faults.h"
#include "simulator/ReplyLine.h"

namespace qd3::sim {

enum class MidiApiChoice : uint8_t { kAlsa, kJack };

// The pedal's two ports are virtual ports of two clients named after `clientName`:
//   "<client> In"  port "MIDI In"   the pedal's input: connect the editor's output here;
//   "<client> Out" port "MIDI Out"  the pedal's output: connect the editor's input here.
// On JACK they are "QD3 Simulator In:MIDI In" and "QD3 Simulator Out:MIDI Out".
inline constexpr char kDefaultClientName[] = "QD3 Simulator";
inline constexpr char kInClientSuffix[] = " In";
inline constexpr char kOutClientSuffix[] = " Out";
inline constexpr char kInPortName[] = "MIDI In";
inline constexpr char kOutPortName[] = "MIDI Out";

struct SimOptions {
  MidiApiChoice api = MidiApiChoice::kAlsa;
  std::string clientName = kDefaultClientName;
  std::string statePath;  // empty: start from defaults and save nothing
  std::optional<int> firmwareVersion;
  std::optional<std::string> serial;
  WireTiming timing;
  bool log = false;
  Faults faults;
  bool help = false;
};

struct SimOptionsResult {
  std::optional<SimOptions> options;
  std::string error;  // when options is empty
};

// Arguments without the program name.
SimOptionsResult ParseSimOptions(std::span<const std::string_view> args);
std::string SimUsage();

// One line typed on qd3-sim's standard input.
struct ConsoleCommand {
  enum class Kind : uint8_t { kKnob, kSave, kQuit };
  Kind kind = Kind::kQuit;
  int index = 0;  // kKnob: catalogue index
  int raw = 0;    // kKnob: raw value
};
// "knob <index> <raw>", "save", "quit"; nothing for anything else.
std::optional<ConsoleCommand> ParseConsoleCommand(std::string_view line);

}  // namespace qd3::sim
