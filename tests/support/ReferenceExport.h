#pragma once

// The bank the editor's BankExport collects from a simulated pedal, driven without a
// wire, and everything the pedal answered on the way: what a backup of that pedal must
// equal byte for byte.

#include <functional>
#include <vector>

#include "presets/BankExport.h"
#include "presets/BulkBuffer.h"
#include "protocol/MessageMatch.h"
#include "simulator/PedalModel.h"

namespace qd3::test {

struct ReferenceBank {
  Bytes file;
  Bytes replies;
};

inline ReferenceBank ReferenceExport(sim::PedalModel& pedal) {
  DeviceSession session;
  session.connected = true;
  std::vector<uint8_t> bulk(kBulkBufferSize);
  BankExport bankExport(session, bulk);
  ReferenceBank ref;
  bool done = false;
  std::function<void(const TransferStep&)> apply = [&](const TransferStep& step) {
    if (step.end != TransferEnd::kRunning) done = true;
    for (const Bytes& m : step.messages) {
      for (const Bytes& r : pedal.Receive(m)) {
        ref.replies.insert(ref.replies.end(), r.begin(), r.end());
        const auto command = MatchFromDevice(r);
        if (command == kCmdPresetDump) apply(bankExport.OnPresetDump(r));
        if (command == kCmdIrBegin || command == kCmdIrData || command == kCmdIrEnd) {
          apply(bankExport.OnIrMessage(*command, r));
        }
      }
    }
  };
  bankExport.Start();
  for (int i = 0; i < 5000 && !done; ++i) apply(bankExport.OnTick());
  const auto bytes = bankExport.FileBytes();
  ref.file.assign(bytes.begin(), bytes.end());
  return ref;
}

}  // namespace qd3::test
