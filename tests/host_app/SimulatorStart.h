#pragma once

// qd3-sim on JACK in a system test, with bounds. Starts of qd3-sim on JACK used to hang
// now and then: the process said "ready" but answered nothing, and jackd reported its
// client "was not finished" every cycle (libjack's shared wake-up table; qd3-sim now checks
// for it before it says "ready", see simulator/app/JackPedalPorts.cpp). A test that waited
// on such a simulator without a bound would time out in CI with no word on why; these
// helpers wait a bounded time and return the reason for the test's failure message ("" when
// all is well).
#include <string>

#include "tests/host_app/ChildProcess.h"

namespace qd3::test {

inline constexpr std::chrono::seconds kSimReadyBound{20};
inline constexpr std::chrono::seconds kSimPortsBound{10};
inline constexpr std::chrono::seconds kSimAnswerBound{20};

// "ready" on the simulator's output, then both its ports in jack_lsp's list.
inline std::string WaitForSimulatorPorts(const std::filesystem::path& simLog,
                                         const std::string& client,
                                         const std::filesystem::path& scratch) {
  if (!WaitFor([&] { return ReadText(simLog).find("ready") != std::string::npos; },
               kSimReadyBound)) {
    return "qd3-sim did not say \"ready\" within 20 s. Its output:\n" + ReadText(simLog);
  }
  const auto listing = scratch / "jack_lsp.txt";
  const std::string input = client + " In:MIDI In";
  const std::string output = client + " Out:MIDI Out";
  const bool listed = WaitFor(
      [&] {
        Child lsp({"jack_lsp"}, listing);
        lsp.Wait(5s);
        const std::string ports = ReadText(listing);
        return ports.find(input) != std::string::npos && ports.find(output) != std::string::npos;
      },
      kSimPortsBound);
  if (listed) return {};
  return "qd3-sim said \"ready\" but JACK did not list its ports \"" + input + "\" and \"" +
         output + "\" within 10 s. jack_lsp lists:\n" + ReadText(listing);
}

// The simulator's first answer (a "D->E " line of its --log output) once the editor talks
// to it.
inline std::string WaitForFirstSimulatorAnswer(const std::filesystem::path& simLog) {
  if (WaitFor([&] { return ReadText(simLog).find("D->E ") != std::string::npos; },
              kSimAnswerBound)) {
    return {};
  }
  const std::string log = ReadText(simLog);
  const bool heard = log.find("E->D ") != std::string::npos;
  return std::string("qd3-sim did not answer within 20 s ") +
         (heard ? "although it logged messages from the editor"
                : "and logged no message from the editor either") +
         ": the start-up hang of qd3-sim on JACK (jackd then reports its client \"was not "
         "finished\" every cycle). Its output:\n" +
         log.substr(0, 3000);
}

}  // namespace qd3::test
