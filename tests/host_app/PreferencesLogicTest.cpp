#include "host/app/PreferencesLogic.h"

#include <gtest/gtest.h>

namespace qd3 {
namespace {

class FakeHost : public IPreferencesHost {
 public:
  FakeHost() : ports("A", "B") { running = settings; }

  std::vector<std::string> inputs{"off", "A", "B"};
  std::vector<std::string> outputs{"off", "B"};
  TransientPortSettings ports;
  AppSettings settings;
  AppSettings running;
  std::vector<std::string> log;
  int saves = 0;

  std::vector<std::string> PortList(MidiDirection d) override {
    return d == MidiDirection::kInput ? inputs : outputs;
  }
  void SelectMidiPort(MidiDirection d, const std::string& name) override {
    log.push_back(std::string(d == MidiDirection::kInput ? "select in " : "select out ") + name);
  }
  IMidiPortSettings& PortSettings() override { return mCountingPorts; }
  AppSettings& Settings() override { return settings; }
  const AppSettings& RunningAudioSettings() const override { return running; }
  void RestartAudio() override {
    log.push_back("restart");
    running = settings;
  }
  void ReinitialiseAudio() override {
    log.push_back("reinit");
    running = settings;
  }
  void SaveSettings() override { log.push_back("save file"); }

 private:
  // Records the port settings' saves in the log too.
  struct Counting : IMidiPortSettings {
    explicit Counting(FakeHost& h) : host(h) {}
    FakeHost& host;
    std::string Name(MidiDirection d) const override { return host.ports.Name(d); }
    void SetName(MidiDirection d, std::string n) override { host.ports.SetName(d, std::move(n)); }
    void Save() override { host.log.push_back("save ports"); }
  } mCountingPorts{*this};
};

TEST(PreferencesLogic, OpeningSelectsTheStoredNames) {
  FakeHost host;
  PreferencesLogic logic(host);
  logic.Open();
  EXPECT_EQ(logic.Selected(MidiDirection::kInput), 1);
  EXPECT_EQ(logic.Selected(MidiDirection::kOutput), 1);
  EXPECT_EQ(logic.Entries(MidiDirection::kInput), host.inputs);
  EXPECT_TRUE(host.log.empty());
}

TEST(PreferencesLogic, OpeningWithAStoredNameThatIsGoneStoresOffAndWrites) {
  FakeHost host;
  host.ports.SetName(MidiDirection::kOutput, "Unplugged");
  PreferencesLogic logic(host);
  logic.Open();
  EXPECT_EQ(logic.Selected(MidiDirection::kOutput), 0);
  EXPECT_EQ(host.ports.Name(MidiDirection::kOutput), "off");
  EXPECT_EQ(host.log, std::vector<std::string>{"save ports"});
}

TEST(PreferencesLogic, RefreshFollowsThePortsWithoutStoringAnything) {
  FakeHost host;
  PreferencesLogic logic(host);
  logic.Open();
  // The pedal ("B") is unplugged while the dialog is open.
  host.inputs = {"off", "A"};
  host.outputs = {"off"};
  logic.Refresh();
  EXPECT_EQ(logic.Entries(MidiDirection::kInput), host.inputs);
  EXPECT_EQ(logic.Selected(MidiDirection::kInput), 1) << "A is still there";
  EXPECT_EQ(logic.Selected(MidiDirection::kOutput), -1);
  EXPECT_EQ(host.ports.Name(MidiDirection::kOutput), "B");
  EXPECT_TRUE(host.log.empty());
  // And plugged back in, listed first this time.
  host.outputs = {"off", "B", "C"};
  logic.Refresh();
  EXPECT_EQ(logic.Selected(MidiDirection::kOutput), 1);
  EXPECT_TRUE(host.log.empty());
}

TEST(PreferencesLogic, ASelectionIsStoredAndSelectedAtOnce) {
  FakeHost host;
  PreferencesLogic logic(host);
  logic.Open();
  logic.OnSelection(MidiDirection::kInput, 2);
  EXPECT_EQ(host.ports.Name(MidiDirection::kInput), "B");
  EXPECT_EQ(host.log, std::vector<std::string>{"select in B"});
  logic.OnSelection(MidiDirection::kInput, 7);  // no such entry
  EXPECT_EQ(host.log.size(), 1u);
}

struct OkCase {
  const char* name;
  void (*change)(AppSettings&);
  std::vector<std::string> expected;
};

TEST(PreferencesLogic, OkRestartsAudioOnlyWhenTheStreamsSettingsDiffer) {
  const OkCase cases[] = {
      {"nothing changed", [](AppSettings&) {}, {"save file"}},
      {"scale only", [](AppSettings& s) { s.scale = 2.0; }, {"save file"}},
      {"sample rate", [](AppSettings& s) { s.sampleRate = 48000; }, {"restart", "save file"}},
      {"driver", [](AppSettings& s) { s.driver = 1; }, {"restart", "save file"}},
      {"midi name", [](AppSettings& s) { s.midiIn = "A"; }, {"restart", "save file"}},
      {"channel", [](AppSettings& s) { s.outChannel = 3; }, {"restart", "save file"}},
  };
  for (const OkCase& c : cases) {
    FakeHost host;
    PreferencesLogic logic(host);
    logic.Open();
    c.change(host.settings);
    logic.Ok();
    EXPECT_EQ(host.log, c.expected) << c.name;
  }
}

TEST(PreferencesLogic, ApplyRestartsAudio) {
  FakeHost host;
  PreferencesLogic logic(host);
  logic.Open();
  logic.Apply();
  EXPECT_EQ(host.log, std::vector<std::string>{"restart"});
}

TEST(PreferencesLogic, CancelRestoresTheSettingsButKeepsTheOpenedPort) {
  FakeHost host;
  PreferencesLogic logic(host);
  logic.Open();
  logic.OnSelection(MidiDirection::kInput, 2);
  host.settings.buffer = 128;
  logic.Cancel();
  EXPECT_EQ(host.ports.Name(MidiDirection::kInput), "A");
  EXPECT_EQ(host.settings.buffer, 512);
  // The port picked meanwhile was selected and is not selected back.
  EXPECT_EQ(host.log, (std::vector<std::string>{"select in B", "reinit"}));
}

TEST(PreferencesLogic, CancelWithoutChangesDoesNothing) {
  FakeHost host;
  PreferencesLogic logic(host);
  logic.Open();
  logic.Cancel();
  EXPECT_TRUE(host.log.empty());
}

}  // namespace
}  // namespace qd3
