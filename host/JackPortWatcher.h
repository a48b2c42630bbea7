#pragma once

namespace qd3 {

// Tells when ports come and go on the JACK server: a small client of our own
// whose port registration callback (JACK's notification thread) writes to an
// eventfd, which the UI loop watches. RtMidi does not pass these events on.
// Nothing is polled. Without a server, Start fails and the watcher stays idle.
class JackPortWatcher {
 public:
  JackPortWatcher() = default;
  ~JackPortWatcher();
  JackPortWatcher(const JackPortWatcher&) = delete;
  JackPortWatcher& operator=(const JackPortWatcher&) = delete;

  // Opens the client (never starting a server) and activates it. False when no
  // server answers or the eventfd cannot be made.
  bool Start();
  // Readable once a port was registered or unregistered since the last Consume.
  int WakeFd() const { return mWakeFd; }
  // Clears the readiness; returns how many events arrived since the last call.
  unsigned Consume();

 private:
  static void OnPortRegistration(unsigned port, int registered, void* self);

  void* mClient = nullptr;  // jack_client_t
  int mWakeFd = -1;
};

}  // namespace qd3
