// The parameter table: names, kinds, defaults, ranges, labels and value texts.
// Several names repeat on purpose; code always addresses parameters by index.
#include <cassert>
#include <cstdio>

#include "params/ParamCatalogue.h"

namespace qd3 {
namespace {

using Texts = std::vector<std::pair<int, std::string>>;

ParamSpec Int(const char* name, double def, double min, double max, const char* label = "") {
  return {name, ParamKind::kInt, def, min, max, 1.0, true, label, {}};
}

ParamSpec Enum(const char* name, double def, Texts texts) {
  const double max = texts.back().first;
  return {name, ParamKind::kEnum, def, 0.0, max, 1.0, true, "", std::move(texts)};
}

ParamSpec Double(const char* name, double max) {
  return {name, ParamKind::kDouble, 0.0, 0.0, max, 1.0, false, "", {}};
}

ParamSpec Undeclared() {
  return {};
}

// Texts "fmt" of value + offset for value = 0..count-1.
Texts Numbered(const char* fmt, int count, int offset) {
  Texts texts;
  for (int v = 0; v < count; ++v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, v + offset);
    texts.emplace_back(v, buf);
  }
  return texts;
}

Texts List(std::initializer_list<const char*> names) {
  Texts texts;
  int v = 0;
  for (const char* n : names) texts.emplace_back(v++, n);
  return texts;
}

void AddSoundParams(std::vector<ParamSpec>& p) {
  p.push_back(Int("Level", 64, 0, 127));
  p.push_back(Int("Gain", 64, 0, 127));
  p.push_back(Int("Buzz", 64, 0, 127));
  p.push_back(Int("Punch", 64, 0, 127));
  p.push_back(Int("Crunch", 64, 0, 127));
  p.push_back(Int("Drive", 64, 0, 127));
  p.push_back(Int("Low", 64, 0, 127));
  p.push_back(Int("High", 64, 0, 127));
  p.push_back(Int("Reverb", 0, 0, 127));
  p.push_back(Int("Gate", 0, 0, 127));
  p.push_back(Int("Dynamics", 64, 0, 127));
  p.push_back(Int("Punch Freq", 64, 0, 127));
  p.push_back(Int("Mid", 64, 0, 127));
  p.push_back(Int("Mid Shift", 64, 0, 127));
  p.push_back(Int("IR", 0, 0, 127));
  p.push_back(Int("AnalogSim", 64, 0, 127));
  p.push_back(Int("Reverb Room Size", 64, 0, 127, "[Room...Arena]"));
  p.push_back(Int("Reverb Decay Time", 64, 0, 127));
  p.push_back(Int("Reverb Diffusion", 100, 0, 127));
  p.push_back(Int("Reverb Extension Factor", 2, 2, 5, "[2...5 semitones]"));
  p.push_back(Int("Reverb Fbk. Delay Size", 64, 0, 127));
  p.push_back(Int("Reverb Fbk. Filter", 127, 0, 127, "[500...5000Hz]"));
  p.push_back(Int("Reverb Fbk. Damper Factor", 0, 0, 127));
  p.push_back(Int("Reverb LP Filter", 127, 0, 127, "[500...5000Hz]"));
  p.push_back(Int("Reverb HP Filter", 0, 0, 127, "[20...2000Hz]"));
  p.push_back(Int("Compressor Ratio", 0, 0, 127, "[1:1...16:1]"));
  p.push_back(Int("Compressor Output Gain", 64, 0, 127, "[-30dB...18dB]"));
  p.push_back(Int("Compressor Attack", 64, 0, 127, "[0ms...100ms]"));
  p.push_back(Int("Compressor Release", 64, 0, 127, "[50ms...5000ms]"));
  p.push_back(Int("Expander Ratio", 0, 0, 127, "[1:1...1:16]"));
  p.push_back(Int("Expander Output Gain", 64, 0, 127, "[-30dB...18dB]"));
  p.push_back(Int("Expander Attack", 64, 0, 127, "[0.5ms...100ms]"));
  p.push_back(Int("Expander Release", 64, 0, 127, "[50ms...5000ms]"));
  p.push_back(Int("Soft Clipping", 127, 0, 127));
  p.push_back(Int("AnalogSim Gain", 127, 0, 127, "[0...1x]"));
  p.push_back(Int("Anti-aliasing Filter", 127, 0, 127));
  p.push_back(Int("Clean Input Level", 127, 0, 127));
  p.push_back(Int("Compressor Ratio", 0, 0, 127, "[1:1...16:1]"));  // the gate's ratio
  p.push_back(Int("Gate Attack", 0, 0, 127));
  p.push_back(Int("Gate Release", 64, 0, 127));
  p.push_back(Int("IR Mode", 0, 0, 1));  // first user-IR position
  p.push_back(Int("IR Mode", 0, 0, 1));  // second user-IR position
  p.push_back(Int("User IR Gain", 64, 0, 127));
  p.push_back(Int("User IR Gain", 64, 0, 127));
  p.push_back(Int("Buzz Q", 64, 0, 127));
  p.push_back(Int("Punch Q", 64, 0, 127));
  p.push_back(Int("Crunch Q", 64, 0, 127));
  p.push_back(Int("Mid Q", 64, 0, 127));
  p.push_back(Int("Low Q", 64, 0, 127));
  p.push_back(Int("High Q", 64, 0, 127));
  p.push_back(Int("Auto Gain", 1, 0, 1, "On/Off"));
  p.push_back(Int("Lookahead", 0, 0, 1, "On/Off"));
  p.push_back(Int("Tuner", 0, 0, 2, "Off/Mute/Bypass"));
  p.push_back(Int("User IR7 Preset MSB", 0, 0, 127));
  p.push_back(Int("User IR7 Preset", 0, 0, 127));
  p.push_back(Int("User IR8 Preset MSB", 0, 0, 127));
  p.push_back(Int("User IR8 Preset", 0, 0, 127));
  p.push_back(Int("Reverb Mode", 0, 0, 4, "[Room, Hall, Arena, Spring, Plate]"));
  p.push_back(Int("Reverb Modulation Depth", 0, 0, 127));
  p.push_back(Int("Reverb Modulation Rate", 0, 0, 127, "[0...5Hz]"));
  // The name is misspelt in the pedal's own vocabulary and kept; the first entry
  // is the auto filter's on/off switch, the second its level.
  p.push_back(Int("AutoFiler Level", 0, 0, 1));
  p.push_back(Int("AutoFiler Level", 64, 0, 127));
  p.push_back(Int("AF. Attack", 64, 0, 127));
  p.push_back(Int("AF. Release", 64, 0, 127));
  p.push_back(Int("Preset Level", 32, 0, 127));
}

void AddEditorParams(std::vector<ParamSpec>& p) {
  for (int i = 65; i <= 68; ++i) p.push_back(Undeclared());
  p.push_back(Int("Compression", 64, 64, 127));  // 69: alias of the upper half of 10
  p.push_back(Int("Scroll", 109, 0, 109));       // 70: first visible row = 109 - value
  p.push_back(Double("", 19));                   // 71: preset row picker
  p.push_back(Double("", 9));                    // 72: IR position picker
  p.push_back(Int("IR", 0, 0, 127));             // 73: reversed alias of 14
  p.push_back(Undeclared());                     // 74: click target of the IR page
  p.push_back(Undeclared());
  p.push_back(Undeclared());
  Texts banks = Numbered("Custom Bank %d", 8, 1);
  banks.emplace_back(8, "Factory Bank");
  p.push_back(Enum("Custom IR Bank", 0, std::move(banks)));
  p.push_back(Double("", 16));  // 78: user-IR list, left column
  p.push_back(Double("", 16));  // 79: user-IR list, right column
}

void AddGlobalParams(std::vector<ParamSpec>& p) {
  const Texts disabledEnabled = List({"Disabled", "Enabled"});
  const Texts offOn = List({"Off", "On"});
  p.push_back(Enum("DEFINE MIDI MAPPING", 0, disabledEnabled));
  p.push_back(Enum("MIDI THRU MODE", 0, disabledEnabled));
  p.push_back(Enum("PATCH OFFSET", 0, List({"0-127", "1-128"})));
  p.push_back(Enum("MIDI CC MODE", 0, disabledEnabled));
  Texts channels = Numbered("Channel %d", 17, 0);
  channels[0].second = "OMNI";
  p.push_back(Enum("MIDI CC CHANNEL", 0, std::move(channels)));
  p.push_back(Enum("EDIT POT DISPLAY MODE", 0, List({"Digits", "Numerical Value (0-127)"})));
  p.push_back(Enum("DISENGAGE ALL POTS", 0, List({"All pots engaged", "All pots disengaged"})));
  p.push_back(Enum("TUNER FREQUENCY", 12, Numbered("%dHz", 25, 428)));
  p.push_back(Enum("PRESET PROTECTION WRITER", 0, offOn));
  p.push_back(Enum("TUNER DETUNE", 0, List({"Disabled", "b", "bb"})));
  p.push_back(Enum("CABINET BYPASS", 0, offOn));
}

void AddMapParams(std::vector<ParamSpec>& p) {
  for (int k = 0; k < 8; ++k) p.push_back(Int("", k, 0, 127));  // 91..98 knob controllers
  p.push_back(Int("Controller Program", 0, 0, 127));
  p.push_back(Int("QRB3 Program", 0, 0, 127));
}

void AddJackParams(std::vector<ParamSpec>& p) {
  const Texts pedalSwitches = List({"Pedal", "Switches"});
  const Texts tipRing = List({"Tip", "Ring"});
  const Texts midiChannel = Numbered("%d", 16, 1);
  const Texts pedalMode = List({"Control", "Aftertouch", "Bend"});
  const Texts operation = List({"Momentary", "Latching"});
  const Texts function = List(
      {"Control", "Note On/Off", "Start", "Stop", "Program Change", "Special Control", "Pedal"});
  auto cc = [](const char* name) { return Int(name, 0, 0, 127); };

  p.push_back(Enum("JACK2 Mode", 0, pedalSwitches));
  p.push_back(Enum("JACK2 Mode", 0, tipRing));  // jack 2 polarity, under the same name
  p.push_back(Enum("JACK 1 Mode", 0, pedalSwitches));
  p.push_back(Enum("JACK 1 Polarity", 0, tipRing));
  for (const char* pedal : {"PEDAL2", "PEDAL1"}) {
    const std::string pre = pedal;
    const bool second = pre == "PEDAL2";
    p.push_back(Enum((pre + " Midi Channel").c_str(), 0, midiChannel));
    p.push_back(Enum((pre + " Mode").c_str(), 0, pedalMode));
    p.push_back(cc((pre + " Controller").c_str()));
    p.push_back(cc((pre + " Out Minimum").c_str()));
    p.push_back(cc((pre + " Out Maximum").c_str()));
    p.push_back(cc((pre + " Calibration Low End").c_str()));
    p.push_back(cc((pre + " Calibration High End").c_str()));
    const std::string n = second ? "2" : "1";
    for (const char* sw : {"SWITCHA", "SWITCHB"}) {
      const std::string s = sw + n;
      p.push_back(Enum((s + " Midi Channel").c_str(), 0, midiChannel));
      p.push_back(Enum((s + " Operation").c_str(), 0, operation));
      p.push_back(Enum((s + " Function Mode").c_str(), 0, function));
      p.push_back(cc((s + " Controller").c_str()));
    }
    p.push_back(cc(("SWITCH" + n + " Special Ctrl Lower").c_str()));
    p.push_back(cc(("SWITCH" + n + " Special Ctrl Upper").c_str()));
  }
}

}  // namespace

std::vector<ParamSpec> BuildParamSpecs() {
  std::vector<ParamSpec> p;
  p.reserve(kNumParams);
  AddSoundParams(p);
  AddEditorParams(p);
  AddGlobalParams(p);
  AddMapParams(p);
  AddJackParams(p);
  assert(p.size() == kNumParams);
  return p;
}

}  // namespace qd3
