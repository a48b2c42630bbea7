// The pedal unplugged and plugged back in while the editor runs: the stored
// port keeps its name while it is gone and is reopened when it is listed again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/MidiPorts.h"
#include "tests/host_midi/FakeMidiPortSettings.h"
#include "tests/support/FakeMidiTransport.h"

namespace qd3 {
namespace {

using test::FakeMidiPortSettings;
using test::FakeMidiTransport;

struct Fixture {
  FakeMidiTransport transport;
  FakeMidiPortSettings settings;
  MidiPorts ports{transport, settings};

  Fixture() {
    settings.input = "QD3 MIDI 1";
    settings.output = "QD3 MIDI 1";
    transport.inputNames = {"Through", "QD3 MIDI 1"};
    transport.outputNames = {"Through", "QD3 MIDI 1"};
    ports.Start();
    transport.log.clear();
  }
  void Unplug() {
    transport.inputNames = {"Through"};
    transport.outputNames = {"Through"};
  }
  void PlugBackAtAnotherPosition() {
    transport.inputNames = {"QD3 MIDI 1", "Through"};
    transport.outputNames = {"Through", "Synth", "QD3 MIDI 1"};
  }
};

TEST(PortRefresh, VanishedPortKeepsItsStoredNameAndIsReopenedWhenBack) {
  Fixture f;
  f.Unplug();
  const MidiPorts::PortRefresh gone = f.ports.RefreshPorts();
  EXPECT_TRUE(gone.listsChanged);
  EXPECT_TRUE(gone.vanished) << "the editor must stop trusting the session";
  EXPECT_FALSE(gone.reopened);
  EXPECT_FALSE(f.ports.RefreshPorts().vanished) << "said once, not on every look";
  EXPECT_TRUE(f.transport.log.empty()) << "nothing is closed or opened while it is gone";
  EXPECT_EQ(f.settings.input, "QD3 MIDI 1");
  EXPECT_EQ(f.settings.output, "QD3 MIDI 1");
  EXPECT_TRUE(f.settings.saved.empty());

  f.PlugBackAtAnotherPosition();
  const MidiPorts::PortRefresh back = f.ports.RefreshPorts();
  EXPECT_TRUE(back.listsChanged);
  EXPECT_TRUE(back.reopened);
  EXPECT_FALSE(back.vanished);
  const std::vector<std::string> expected = {"close in", "open in 0 as RtMidi Input", "close out",
                                             "open out 2 as RtMidi Output"};
  EXPECT_EQ(f.transport.log, expected);
  EXPECT_EQ(f.ports.PortList(MidiDirection::kOutput),
            (std::vector<std::string>{"off", "Through", "Synth", "QD3 MIDI 1"}));
}

TEST(PortRefresh, UnrelatedPortChangesReopenNothing) {
  Fixture f;
  f.transport.inputNames.push_back("Synth");
  const MidiPorts::PortRefresh result = f.ports.RefreshPorts();
  EXPECT_TRUE(result.listsChanged);
  EXPECT_FALSE(result.reopened);
  EXPECT_FALSE(result.vanished);
  EXPECT_TRUE(f.transport.log.empty());

  const MidiPorts::PortRefresh again = f.ports.RefreshPorts();
  EXPECT_FALSE(again.listsChanged);
  EXPECT_FALSE(again.reopened);
  f.transport.inputNames.pop_back();
  EXPECT_FALSE(f.ports.RefreshPorts().vanished) << "a port we do not use went away";
}

TEST(PortRefresh, OffStaysClosedWhateverComes) {
  Fixture f;
  f.ports.SelectMidiPort(MidiDirection::kInput, "off");
  f.settings.input = "off";
  f.Unplug();
  EXPECT_TRUE(f.ports.RefreshPorts().vanished) << "the output was still in use";
  f.transport.log.clear();
  f.PlugBackAtAnotherPosition();
  f.ports.RefreshPorts();
  const std::vector<std::string> expected = {"close out", "open out 2 as RtMidi Output"};
  EXPECT_EQ(f.transport.log, expected);
}

TEST(PortRefresh, RefusedReopenIsNotReportedAsReconnected) {
  Fixture f;
  f.Unplug();
  f.ports.RefreshPorts();
  f.PlugBackAtAnotherPosition();
  f.transport.refuseOpen = true;
  EXPECT_FALSE(f.ports.RefreshPorts().reopened);
}

}  // namespace
}  // namespace qd3
