#pragma once

// The transfers that move whole banks and share the 1,048,576-byte buffer: the bank
// export, the bank import and the factory write. The editor and qd3ctl both drive them
// through this one object, so the pedal's replies reach the running transfer by one set
// of rules and the timer serves them in one priority order.

#include <cstdint>
#include <optional>
#include <span>

#include "presets/BankExport.h"
#include "presets/BankImport.h"
#include "presets/BulkBuffer.h"
#include "presets/FactoryWrite.h"
#include "protocol/DeviceSession.h"
#include "protocol/TransferStep.h"

namespace qd3 {

enum class BankTransferKind : uint8_t { kExport, kImport, kFactoryWrite };

// When the next message of a transfer leaves. kOnAnswer: as soon as the answer it waits
// for has arrived (a whole dump or IR transfer, an acknowledgement), from the reply's
// handler; the tick still sends the first message, the unacknowledged IR chunks and a
// message the pedal refused, and watches for silence. kOnTick: on the next 100 ms tick
// only, one message per tick.
enum class TransferPacing : uint8_t { kOnAnswer, kOnTick };

struct RoutedStep {
  BankTransferKind kind;
  TransferStep step;
};

class BankTransfers {
 public:
  explicit BankTransfers(DeviceSession& session);

  BankExport& Export() { return mExport; }
  BankImport& Import() { return mImport; }
  FactoryWrite& Factory() { return mFactory; }
  const FactoryWrite& Factory() const { return mFactory; }
  const BankImport& Import() const { return mImport; }

  void SetPacing(TransferPacing pacing) { mPacing = pacing; }
  TransferPacing Pacing() const { return mPacing; }

  // One device-timer step of whichever runs, in priority order: the factory write,
  // then the import, then the export; nullopt when none runs.
  std::optional<RoutedStep> OnTick();

  // A preset dump or an IR message while the export runs; nullopt when it does not.
  std::optional<TransferStep> OnPresetDump(std::span<const uint8_t> message);
  std::optional<TransferStep> OnIrMessage(DeviceCommand command, std::span<const uint8_t> message);

  // kCmdWriteAck, kCmdWriteNext or kCmdWriteNak: the import's while it runs, else the
  // factory write's (which takes replies only while it runs itself).
  RoutedStep OnWriteReply(DeviceCommand command);

 private:
  bool OnAnswer() const { return mPacing == TransferPacing::kOnAnswer; }
  // The export's step from a reply, followed by its next request when it asks for one.
  TransferStep ContinueExport(TransferStep step);

  DeviceSession& mSession;
  TransferPacing mPacing = TransferPacing::kOnAnswer;
  BulkBuffer mBuffer;
  BankExport mExport;
  BankImport mImport;
  FactoryWrite mFactory;
};

}  // namespace qd3
