// qd3ctl ports: the MIDI ports the transport lists, inputs first, in its order.
#include <ostream>

#include "cli/Commands.h"
#include "cli/ExitCodes.h"

namespace qd3::cli {

int RunPorts(IMidiTransport& transport, std::ostream& out, std::ostream& err) {
  if (!transport.HasPort(MidiDirection::kInput) && !transport.HasPort(MidiDirection::kOutput)) {
    err << "qd3ctl: no MIDI system (neither ALSA nor JACK) could be opened\n";
    return kExitPedalFailed;
  }
  for (const std::string& name : transport.PortNames(MidiDirection::kInput)) {
    out << "in: " << name << '\n';
  }
  for (const std::string& name : transport.PortNames(MidiDirection::kOutput)) {
    out << "out: " << name << '\n';
  }
  return kExitOk;
}

}  // namespace qd3::cli
