#pragma once

#include <string>
#include <vector>

#include "host/IMidiPortSettings.h"
#include "host/app/AppSettings.h"

namespace qd3 {

// What the "Preferences" dialog works on: the settings, the MIDI ports and the
// audio stream of the running program.
class IPreferencesHost {
 public:
  virtual ~IPreferencesHost() = default;

  // "off" first, then the port names.
  virtual std::vector<std::string> PortList(MidiDirection direction) = 0;
  virtual void SelectMidiPort(MidiDirection direction, const std::string& name) = 0;
  // The stored port names the ports use (the player's, or the demo's).
  virtual IMidiPortSettings& PortSettings() = 0;
  virtual AppSettings& Settings() = 0;
  // The settings the audio stream was last started with.
  virtual const AppSettings& RunningAudioSettings() const = 0;
  // Stops the stream and starts it again from the current settings.
  virtual void RestartAudio() = 0;
  // Recreates the audio API object for the current driver, probes the devices
  // and restarts the stream.
  virtual void ReinitialiseAudio() = 0;
  // Writes sections audio and midi of the settings file.
  virtual void SaveSettings() = 0;
  // Which MIDI system the port lists come from ("ALSA", "JACK"); empty when
  // there is nothing to say (the demo pedal).
  virtual std::string PortApiName() const { return {}; }
};

// The dialog's behaviour, without the dialog: what the lists show and select on
// opening, and what a new selection, "Apply", "OK" and "Cancel" do.
class PreferencesLogic {
 public:
  explicit PreferencesLogic(IPreferencesHost& host) : mHost(host) {}

  // Fills both lists; a stored name that is not listed becomes "off" (stored and
  // written). Keeps a copy of every setting for Cancel.
  void Open();
  // The ports came or went while the dialog is open: both lists again, each
  // selecting its stored name, or nothing (-1) while that port is missing.
  // Nothing is stored.
  void Refresh();
  const std::vector<std::string>& Entries(MidiDirection direction) const;
  int Selected(MidiDirection direction) const;
  std::string ApiName() const { return mHost.PortApiName(); }

  // The player picked entry `index` of a list: stored and selected at once.
  void OnSelection(MidiDirection direction, int index);
  void Apply();
  // Restarts audio only when something differs from the running stream; then
  // the settings file is written.
  void Ok();
  // Puts back the settings of the moment the dialog opened when anything
  // changed, and reinitialises audio; the ports opened meanwhile stay open.
  void Cancel();

 private:
  struct Snapshot {
    AppSettings settings;
    std::string portIn;
    std::string portOut;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
  };
  Snapshot Current();
  void FillList(MidiDirection direction, bool storeOffWhenMissing);

  IPreferencesHost& mHost;
  std::vector<std::string> mInputs;
  std::vector<std::string> mOutputs;
  int mSelectedIn = 0;
  int mSelectedOut = 0;
  Snapshot mOpened;
};

}  // namespace qd3
