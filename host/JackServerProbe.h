#pragma once

namespace qd3 {

// Whether a JACK server answers, asked without starting one (JackNoStartServer)
// and without JACK printing anything. Takes a few milliseconds with a server and
// about as long without one. The server is the one JACK itself would pick
// ($JACK_DEFAULT_SERVER, else "default").
bool JackServerRunning();

}  // namespace qd3
