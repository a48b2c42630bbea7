#include "host/JackPortWatcher.h"

#include <jack/jack.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace qd3 {
namespace {

constexpr char kWatchClientName[] = "QD3Control port watch";

jack_client_t* Client(void* client) {
  return static_cast<jack_client_t*>(client);
}

}  // namespace

JackPortWatcher::~JackPortWatcher() {
  // Closing the client joins JACK's notification thread, so no callback runs
  // after this and the descriptor can go.
  if (mClient) jack_client_close(Client(mClient));
  if (mWakeFd >= 0) close(mWakeFd);
}

bool JackPortWatcher::Start() {
  if (mClient) return true;
  if (mWakeFd < 0) mWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (mWakeFd < 0) return false;
  jack_status_t status{};
  jack_client_t* client = jack_client_open(kWatchClientName, JackNoStartServer, &status);
  if (client == nullptr) return false;
  if (jack_set_port_registration_callback(client, &JackPortWatcher::OnPortRegistration, this) !=
          0 ||
      jack_activate(client) != 0) {
    jack_client_close(client);
    return false;
  }
  mClient = client;
  return true;
}

unsigned JackPortWatcher::Consume() {
  uint64_t count = 0;
  if (mWakeFd < 0 || read(mWakeFd, &count, sizeof count) != sizeof count) return 0;
  return static_cast<unsigned>(count);
}

void JackPortWatcher::OnPortRegistration(unsigned /*port*/, int /*registered*/, void* self) {
  // JACK's notification thread: one write, nothing else.
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written =
      write(static_cast<JackPortWatcher*>(self)->mWakeFd, &one, sizeof one);
}

}  // namespace qd3
