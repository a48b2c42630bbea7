// qd3-sim's ports on JACK: "<client> Out:MIDI Out" and "<client> In:MIDI In", each on a
// JACK client of its own (the names the editor and the tests look for), on libjack
// directly rather than through RtMidi.
//
// Why not RtMidi: libjack (JACK 2) keeps one table of the clients' wake-up futexes per
// process, shared by all the clients the process opens. Each client's notification thread
// connects an entry when the server announces a client and disconnects it when the server
// announces that the client has gone, but it ignores a departure that arrives while its own
// client is still opening (before the client's control block is mapped). So when another
// client of the server goes away (a jack_lsp, an editor probing the server or reopening its
// ports) just as our first client opens, the departed client's entry stays connected to its
// futex for good. A second client of ours that the server then gives the departed client's
// number finds the entry "already connected" and keeps it: its process thread waits on a
// futex nobody posts, jackd reports it "not finished" every cycle and no message gets
// through, for as long as the process lives. (Someone else's client taking that number would
// not be woken by our output either.) RtMidi opens and activates a client in one call and
// cannot look in between.
//
// So here: once the first client has opened, a leftover entry shows in /proc/self/maps as a
// mapping of a deleted jack_sem file that stays; the client is then closed (the last client
// of a process closing clears the whole table) and opened again. And a client only gets its
// port once its process callback has been seen running; one that does not run is closed
// (which clears its own entry) and opened again.

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>
#include <thread>
#include <vector>

#include "simulator/app/PedalPorts.h"

namespace qd3::sim {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long a freshly activated client may take to run its process callback twice, and how
// often a client that does not is opened again before giving up. A healthy client runs
// within a period or two (about 11 ms each on the test servers); the bound is for a loaded
// machine.
constexpr auto kRunBound = 3s;
constexpr int kOpenAttempts = 4;
constexpr uint32_t kCyclesToRun = 2;
// How long a departed client's futex may stay mapped before its entry counts as left over
// (the notification thread normally drops it within a millisecond).
constexpr auto kLeftoverBound = 500ms;

// The pedal's answers waiting for the next cycle. Each entry is one sequence that leaves
// back to back: a 4-byte length of the rest of the entry, a 4-byte message count, then
// every message as a 4-byte length and its bytes.
constexpr std::size_t kOutputQueueBytes = 16384;
// How long Send waits for room in that queue before it drops the message.
constexpr auto kSendBound = 2s;
// What a MIDI event costs in a period's buffer besides its bytes, counted generously
// (libjack's event header is 12 bytes).
constexpr std::size_t kEventOverhead = 16;

// Longest message the input puts together; longer ones are reported as lost.
constexpr std::size_t kInputMessageMax = 1024;

constexpr uint8_t kSysExStart = 0xF0;
constexpr uint8_t kSysExEnd = 0xF7;
constexpr uint8_t kTimeCode = 0xF1;
constexpr uint8_t kTimingClock = 0xF8;
constexpr uint8_t kActiveSensing = 0xFE;

// Mappings in this process of wake-up futex files that the server has already deleted.
int DeletedWakeUpMappings() {
  std::ifstream maps("/proc/self/maps");
  int count = 0;
  for (std::string line; std::getline(maps, line);) {
    const std::string_view text(line);
    if (text.find("/jack_sem.") != std::string_view::npos && text.ends_with("(deleted)")) {
      ++count;
    }
  }
  return count;
}

bool NoLeftoverWakeUps() {
  const auto deadline = Clock::now() + kLeftoverBound;
  while (DeletedWakeUpMappings() > 0) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

struct Client {
  jack_client_t* handle = nullptr;
  // Set once the client has been seen running; read by its process callback.
  std::atomic<jack_port_t*> port{nullptr};
  std::atomic<uint32_t> cycles{0};
};

class JackPedalPorts final : public PedalPorts {
 public:
  JackPedalPorts() : mQueue(jack_ringbuffer_create(kOutputQueueBytes)) {
    if (mQueue == nullptr) throw PortError("cannot allocate the JACK output queue");
  }

  ~JackPedalPorts() override {
    CloseInput();
    CloseOutput();
    jack_ringbuffer_free(mQueue);
  }

  void OpenOutput(const std::string& client, const std::string& port) override {
    Open(mOut, client, port, JackPortIsOutput, &JackPedalPorts::ProcessOutput);
  }

  void OpenInput(const std::string& client, const std::string& port, PortInput input,
                 void* user) override {
    mInput = input;
    mUser = user;
    Open(mIn, client, port, JackPortIsInput, &JackPedalPorts::ProcessInput);
  }

  std::string OutputClient() const override { return NameOf(mOut); }
  std::string InputClient() const override { return NameOf(mIn); }

  void Send(std::span<const uint8_t> message) override {
    const std::span<const uint8_t> one[] = {message};
    Enqueue(one);
  }

  void SendBurst(std::span<const std::vector<uint8_t>> messages) override {
    const std::vector<std::span<const uint8_t>> parts(messages.begin(), messages.end());
    Enqueue(parts);
  }

  void CloseInput() override { Close(mIn); }
  void CloseOutput() override { Close(mOut); }

 private:
  // One queue entry for the sequence; empty messages are left out.
  void Enqueue(std::span<const std::span<const uint8_t>> messages) {
    uint32_t count = 0;
    uint32_t body = sizeof count;
    for (const auto& message : messages) {
      if (message.empty() || message.size() > kOutputQueueBytes) continue;
      ++count;
      body += static_cast<uint32_t>(sizeof(uint32_t) + message.size());
    }
    if (count == 0) return;
    if (sizeof body + body > kOutputQueueBytes - 1) {
      // Too big to wait in the queue as one: each message on its own.
      if (count == 1) return;
      for (const auto& message : messages) Enqueue(std::span(&message, 1));
      return;
    }
    // The process callback empties the queue every period.
    const auto deadline = Clock::now() + kSendBound;
    while (jack_ringbuffer_write_space(mQueue) < sizeof body + body) {
      if (Clock::now() >= deadline) {
        std::fprintf(stderr,
                     "qd3-sim: JACK output queue full; %u message(s) of %u bytes were dropped\n",
                     count, body);
        return;
      }
      std::this_thread::sleep_for(1ms);
    }
    // The length goes first: the process callback takes an entry only once all of it is in.
    Write(body);
    Write(count);
    for (const auto& message : messages) {
      if (message.empty() || message.size() > kOutputQueueBytes) continue;
      Write(static_cast<uint32_t>(message.size()));
      jack_ringbuffer_write(mQueue, reinterpret_cast<const char*>(message.data()), message.size());
    }
  }

  void Write(uint32_t value) {
    jack_ringbuffer_write(mQueue, reinterpret_cast<const char*>(&value), sizeof value);
  }

  static std::string NameOf(const Client& client) {
    return client.handle != nullptr ? jack_get_client_name(client.handle) : "";
  }

  void Open(Client& client, const std::string& name, const std::string& port, unsigned long flags,
            JackProcessCallback process) {
    // Only the process's first client can be left with another client's entry.
    const bool first = mOut.handle == nullptr && mIn.handle == nullptr;
    for (int attempt = 1;; ++attempt) {
      jack_status_t status{};
      client.cycles.store(0, std::memory_order_relaxed);
      client.handle = jack_client_open(name.c_str(), JackNoStartServer, &status);
      if (client.handle == nullptr) {
        throw PortError("cannot open JACK client \"" + name + "\" (is a JACK server running?)");
      }
      const char* problem = nullptr;
      if (first && !NoLeftoverWakeUps()) {
        problem = "was left with the wake-up of a client that has gone";
      } else if (jack_set_process_callback(client.handle, process, this) != 0 ||
                 jack_activate(client.handle) != 0) {
        Close(client);
        throw PortError("cannot activate JACK client \"" + name + "\"");
      } else if (!WaitUntilRunning(client)) {
        problem = "was not run by JACK";
      }
      if (problem == nullptr) break;
      Close(client);
      if (attempt == kOpenAttempts) {
        throw PortError("JACK client \"" + name + "\" " + problem + ", " +
                        std::to_string(kOpenAttempts) + " times; jackd's log may say why");
      }
      std::fprintf(stderr, "qd3-sim: JACK client \"%s\" %s (attempt %d of %d); opening it again\n",
                   name.c_str(), problem, attempt, kOpenAttempts);
    }
    jack_port_t* registered =
        jack_port_register(client.handle, port.c_str(), JACK_DEFAULT_MIDI_TYPE, flags, 0);
    if (registered == nullptr) {
      Close(client);
      throw PortError("cannot register JACK port \"" + name + ":" + port + "\"");
    }
    client.port.store(registered, std::memory_order_release);
  }

  static bool WaitUntilRunning(const Client& client) {
    const auto deadline = Clock::now() + kRunBound;
    while (client.cycles.load(std::memory_order_acquire) < kCyclesToRun) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(2ms);
    }
    return true;
  }

  // Deactivates first, so that no process callback is running when the port goes.
  static void Close(Client& client) {
    if (client.handle == nullptr) return;
    jack_deactivate(client.handle);
    client.port.store(nullptr, std::memory_order_relaxed);
    jack_client_close(client.handle);
    client.handle = nullptr;
  }

  // ---- JACK's process thread: no waiting, no allocation -------------------------------------

  static int ProcessOutput(jack_nframes_t frames, void* arg) {
    auto* self = static_cast<JackPedalPorts*>(arg);
    self->mOut.cycles.fetch_add(1, std::memory_order_release);
    jack_port_t* port = self->mOut.port.load(std::memory_order_acquire);
    if (port == nullptr) return 0;
    void* buffer = jack_port_get_buffer(port, frames);
    jack_midi_clear_buffer(buffer);
    jack_ringbuffer_t* queue = self->mQueue;
    uint32_t& left = self->mEntryLeft;
    while (true) {
      if (left == 0) {
        uint32_t head[2] = {};  // length of the rest, message count
        if (jack_ringbuffer_peek(queue, reinterpret_cast<char*>(head), sizeof head) !=
                sizeof head ||
            jack_ringbuffer_read_space(queue) < sizeof head[0] + head[0]) {
          break;
        }
        // A sequence starts in a period that holds all of it, unless not even an empty one
        // would; then it continues in the next.
        const std::size_t bytes = head[0] - sizeof head[1] - head[1] * sizeof(uint32_t);
        if (jack_midi_get_event_count(buffer) > 0 &&
            bytes + head[1] * kEventOverhead > jack_midi_max_event_size(buffer)) {
          break;
        }
        jack_ringbuffer_read_advance(queue, sizeof head);
        left = head[1];
        continue;
      }
      // The whole entry is in the queue.
      uint32_t size = 0;
      jack_ringbuffer_peek(queue, reinterpret_cast<char*>(&size), sizeof size);
      jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, size);
      if (event == nullptr && jack_midi_get_event_count(buffer) > 0) break;  // next period
      jack_ringbuffer_read_advance(queue, sizeof size);
      --left;
      if (event == nullptr) {
        // Too long for any period: dropped rather than left blocking the queue.
        jack_ringbuffer_read_advance(queue, size);
        continue;
      }
      jack_ringbuffer_read(queue, reinterpret_cast<char*>(event), size);
    }
    return 0;
  }

  static int ProcessInput(jack_nframes_t frames, void* arg) {
    auto* self = static_cast<JackPedalPorts*>(arg);
    self->mIn.cycles.fetch_add(1, std::memory_order_release);
    jack_port_t* port = self->mIn.port.load(std::memory_order_acquire);
    if (port == nullptr) return 0;
    void* buffer = jack_port_get_buffer(port, frames);
    const uint32_t count = jack_midi_get_event_count(buffer);
    for (uint32_t i = 0; i < count; ++i) {
      jack_midi_event_t event;
      if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0) continue;
      self->TakeEvent(event.buffer, event.size);
    }
    return 0;
  }

  // Puts SysEx messages that JACK delivers in pieces back together; drops timing clock,
  // time code and active sensing, as the ALSA side does.
  void TakeEvent(const uint8_t* bytes, std::size_t size) {
    const uint8_t first = bytes[0];
    if (first == kTimeCode || first == kTimingClock || first == kActiveSensing) return;
    if (!mInSysEx || first == kSysExStart) {
      mPending = 0;
      mOverlong = false;
    }
    if (mPending + size <= mAssembly.size()) {
      std::memcpy(mAssembly.data() + mPending, bytes, size);
      mPending += size;
    } else {
      mOverlong = true;
    }
    mInSysEx = (first == kSysExStart || mInSysEx) && bytes[size - 1] != kSysExEnd;
    if (mInSysEx) return;
    const std::span<const uint8_t> message(mAssembly.data(), mOverlong ? 0 : mPending);
    mInput(message, mUser);
    mPending = 0;
    mOverlong = false;
  }

  Client mOut;
  Client mIn;
  jack_ringbuffer_t* const mQueue;
  uint32_t mEntryLeft = 0;  // messages of the current entry still to write (process thread)

  PortInput mInput = nullptr;
  void* mUser = nullptr;
  // Owned by the input's process thread.
  std::array<uint8_t, kInputMessageMax> mAssembly{};
  std::size_t mPending = 0;
  bool mInSysEx = false;
  bool mOverlong = false;
};

}  // namespace

std::unique_ptr<PedalPorts> MakeJackPedalPorts() {
  return std::make_unique<JackPedalPorts>();
}

}  // namespace qd3::sim
