#include "host/JackServerProbe.h"

#include <jack/jack.h>

#include <cstdio>

namespace qd3 {
namespace {

constexpr char kProbeClientName[] = "QD3Control probe";

void Silent(const char*) {}
// What JACK does when no error function is set.
void ToStderr(const char* text) {
  std::fprintf(stderr, "%s\n", text);
}

}  // namespace

bool JackServerRunning() {
  // JACK reports a missing server at length on stderr; asking is not an error.
  jack_set_error_function(&Silent);
  jack_set_info_function(&Silent);
  jack_status_t status{};
  jack_client_t* client = jack_client_open(
      kProbeClientName, static_cast<jack_options_t>(JackNoStartServer | JackUseExactName), &status);
  jack_set_error_function(&ToStderr);
  jack_set_info_function(&ToStderr);
  if (client == nullptr) return false;
  jack_client_close(client);
  return true;
}

}  // namespace qd3
