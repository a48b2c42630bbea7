#pragma once

#include <array>
#include <string>

namespace qd3 {

inline constexpr int kNumUserIrs = 256;

// Connection and transfer state shared by the incoming-message handler, the
// device timer and the screen actions. Each field is written whole; every
// hand-over is one side setting a flag that the other reads and clears.
struct DeviceSession {
  bool connected = false;         // a pedal answered the poll with an accepted version
  bool pollEnabled = true;        // the timer polls while not connected
  int pollTicks = 0;              // timer ticks since the last poll
  bool readAllActive = false;     // preset synchronisation running
  int readIndex = 0;              // slot being read; -1 until the first request of a run
  int readTotal = 0;              // stale slots at the start of a run
  int readDone = 0;               // slots read so far
  bool bulkBeginPending = false;  // the next tick sends the bracket before the first message
  // Parameters are being set from device data and are not sent back. Starts true
  // and falls with the first global-settings block or synchronisation.
  bool applyingDeviceValues = true;
  int currentPreset = 0;       // the pedal's current preset, 0..127
  int highlightedPreset = 0;   // preset whose list row carries the highlight
  std::string pendingMessage;  // shown on the next idle tick
  bool messagePending = false;
  bool firmwareMode = false;  // firmware chunks are being sent
  bool irUploadNext = false;  // the next impulse-response upload chunk may leave
  // Two-step change of a user-IR number: 53 or 55 while the high part waits for
  // its acknowledgement, 54 or 56 after.
  int irNumberStep = 0;
  int userIrA = 0;  // IR numbers of the preset's two user-IR positions
  int userIrB = 0;
  bool irRequestPending = false;  // the timer fetches the IR of the edited position
  bool userIrASelected = false;
  bool userIrBSelected = false;
  bool importIrAUploading = false;
  bool importIrBPending = false;
  bool factoryNext = false;
  int factoryIndex = 0;
  int factoryTotal = 0;
  bool restoreActive = false;
  bool restoreNext = false;
  int restoreIndex = 0;
  int restoreTotal = 0;
  bool backupActive = false;
  bool backupNext = false;
  int backupPresetIndex = 0;
  int backupIrIndex = 0;
  std::array<bool, kNumUserIrs> backupIrWanted{};
  int bulkLength = 0;
  bool resetDoneSeen = false;  // handed from the message handler to the timer
  bool restoreFinished = false;
  bool saveArmed = false;  // store-to-slot action
  bool saveAwaiting = false;
};

}  // namespace qd3
