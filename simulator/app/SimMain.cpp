// qd3-sim: the simulated QD3 pedal on two virtual MIDI ports (ALSA or JACK). It answers
// the editor until SIGINT or SIGTERM and then saves its memory when a state file is given.

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/SpscRing.h"
#include "simulator/DefaultState.h"
#include "simulator/PedalService.h"
#include "simulator/SimOptions.h"
#include "simulator/StateFile.h"
#include "simulator/app/PedalPorts.h"

namespace {

using namespace qd3::sim;

// The longest message the editor sends is an IR chunk of 269 bytes.
constexpr std::size_t kMaxInputMessage = 512;
constexpr std::size_t kInputQueueLength = 64;

struct InputSlot {
  std::size_t size = 0;
  std::array<uint8_t, kMaxInputMessage> bytes{};
};

// Between the ports' input thread and the main loop. On JACK that thread is JACK's process
// thread, which must never wait. Running the pedal model there meant taking the model's
// lock (also held by console commands and saves), allocating, and with --log writing
// and flushing stdio (a full pipe blocks) inside the cycle; JACK then reports the client
// "not finished" and no answer leaves. The thread now only copies the message into a
// lock-free ring and wakes the main loop, which runs the model.
struct InputHandOver {
  qd3::SpscRing<InputSlot, kInputQueueLength> ring;
  int wakeFd = -1;
  std::atomic<int> dropped{0};
};

void OnMidiInput(std::span<const uint8_t> message, void* user) {
  auto* handOver = static_cast<InputHandOver*>(user);
  const bool queued = !message.empty() && message.size() <= kMaxInputMessage &&
                      handOver->ring.TryPush([&](InputSlot& slot) {
                        slot.size = message.size();
                        std::memcpy(slot.bytes.data(), message.data(), message.size());
                      });
  if (!queued) {
    handOver->dropped.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  const uint64_t one = 1;
  // Non-blocking: a counter already above zero has woken the loop anyway.
  [[maybe_unused]] const ssize_t ignored = write(handOver->wakeFd, &one, sizeof one);
}

// Main loop: every queued message to the pedal, in arrival order.
void DrainInput(InputHandOver& handOver, PedalService& service) {
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t ignored = read(handOver.wakeFd, &count, sizeof count);
  InputSlot slot;
  while (handOver.ring.TryPop(slot)) service.Receive({slot.bytes.data(), slot.size});
  if (const int dropped = handOver.dropped.exchange(0); dropped > 0) {
    std::fprintf(stderr, "qd3-sim: %d incoming message(s) dropped (queue full or too long)\n",
                 dropped);
  }
}

PedalState InitialState(const SimOptions& options) {
  PedalState state = DefaultPedalState();
  if (!options.statePath.empty()) {
    const StartLoad load = LoadStateFileAtStart(options.statePath, state);
    if (!load.setAside.empty()) {
      std::fprintf(stderr, "qd3-sim: state file %s %s, kept as %s; starting from the defaults\n",
                   options.statePath.c_str(), DescribeStateFileStatus(load.status),
                   load.setAside.c_str());
    } else if (load.status != StateFileStatus::kOk && std::filesystem::exists(options.statePath)) {
      std::fprintf(stderr, "qd3-sim: state file %s %s; starting from the defaults\n",
                   options.statePath.c_str(), DescribeStateFileStatus(load.status));
    }
  }
  if (options.firmwareVersion) state.firmwareVersion = *options.firmwareVersion;
  if (options.serial) state.serial = *options.serial;
  return state;
}

void Save(const PedalService& service, const std::string& path) {
  if (path.empty()) return;
  const StateFileStatus status = service.SaveState(path);
  if (status != StateFileStatus::kOk) {
    std::fprintf(stderr, "qd3-sim: state file %s %s\n", path.c_str(),
                 DescribeStateFileStatus(status));
  }
}

// Runs one console line; false for "quit".
bool RunCommand(std::string_view line, PedalService& service, const std::string& statePath) {
  const auto command = ParseConsoleCommand(line);
  if (!command) {
    if (line.find_first_not_of(" \t\r") != std::string_view::npos) {
      std::fprintf(stderr, "qd3-sim: commands are: knob <index> <raw>, save, quit\n");
    }
    return true;
  }
  switch (command->kind) {
    case ConsoleCommand::Kind::kKnob:
      if (!service.TurnKnob(command->index, command->raw)) {
        std::fprintf(stderr, "qd3-sim: the pedal has no control for index %d\n", command->index);
      }
      return true;
    case ConsoleCommand::Kind::kSave:
      Save(service, statePath);
      return true;
    case ConsoleCommand::Kind::kQuit:
      return false;
  }
  return true;
}

// Waits for SIGINT or SIGTERM (through `signalFd`) while handing the pedal its messages
// and serving console lines.
void ServeUntilStopped(int signalFd, InputHandOver& input, PedalService& service,
                       const std::string& statePath) {
  pollfd fds[3] = {{signalFd, POLLIN, 0}, {input.wakeFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
  bool consoleOpen = true;
  std::string pending;
  while (true) {
    if (poll(fds, consoleOpen ? 3 : 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents != 0) return;
    if (fds[1].revents != 0) DrainInput(input, service);
    if (!consoleOpen || fds[2].revents == 0) continue;
    char chunk[256];
    const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
    if (got <= 0) {
      consoleOpen = false;
      continue;
    }
    pending.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      const std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!RunCommand(line, service, statePath)) return;
    }
  }
}

int Run(const SimOptions& options) {
  // Before any thread exists, so that every thread inherits the mask and the signals
  // arrive only through the descriptor.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
  if (signalFd < 0) {
    std::perror("qd3-sim: signalfd");
    return 1;
  }

  const bool jack = options.api == MidiApiChoice::kJack;
  const std::unique_ptr<PedalPorts> ports = jack ? MakeJackPedalPorts() : MakeAlsaPedalPorts();
  ports->OpenOutput(options.clientName + kOutClientSuffix, kOutPortName);
  {
    // Made after the output opens and before the input does: it stops its line before the
    // output closes, and the input stops calling it first.
    PedalService service(
        InitialState(options), DeliveryMode::kPaced, options.timing,
        [&ports](std::span<const uint8_t> message) { ports->Send(message); },
        [&ports](std::span<const qd3::Bytes> messages) { ports->SendBurst(messages); });
    service.Modify([&](PedalModel& model) { model.Faults() = options.faults; });
    if (options.log) {
      service.SetLogSink([](const std::string& line) {
        std::fprintf(stdout, "%s\n", line.c_str());
        std::fflush(stdout);
      });
    }

    InputHandOver input;
    input.wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (input.wakeFd < 0) {
      std::perror("qd3-sim: eventfd");
      return 1;
    }
    ports->OpenInput(options.clientName + kInClientSuffix, kInPortName, &OnMidiInput, &input);

    std::printf("qd3-sim: ready on %s: pedal input \"%s:%s\", pedal output \"%s:%s\"\n",
                jack ? "JACK" : "ALSA", ports->InputClient().c_str(), kInPortName,
                ports->OutputClient().c_str(), kOutPortName);
    std::fflush(stdout);

    ServeUntilStopped(signalFd, input, service, options.statePath);

    ports->CloseInput();
    close(input.wakeFd);
    Save(service, options.statePath);
  }
  ports->CloseOutput();
  close(signalFd);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  const SimOptionsResult parsed = ParseSimOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "qd3-sim: %s\n%s", parsed.error.c_str(), SimUsage().c_str());
    return 2;
  }
  if (parsed.options->help) {
    std::fputs(SimUsage().c_str(), stdout);
    return 0;
  }
  try {
    return Run(*parsed.options);
  } catch (const PortError& error) {
    std::fprintf(stderr, "qd3-sim: MIDI error: %s\n", error.what());
    return 1;
  }
}
