// The real qd3ctl binary: arguments, exit codes, and wav2ir and inspect on files made by
// the project's own writers.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ir/IrImage.h"
#include "ir/WavReader.h"
#include "params/ParamCatalogue.h"
#include "params/ValueDisplay.h"
#include "presets/IrFileLayout.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"
#include "protocol/MessageBuilders.h"
#include "protocol/Name32.h"
#include "tests/support/BankTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WavBytes.h"

namespace qd3 {
namespace {

struct RunResult {
  int code = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Quote(const std::string& word) {
  std::string q = "'";
  for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class CliBinary : public testing::Test {
 protected:
  RunResult Qd3ctl(const std::vector<std::string>& args) {
    std::string command = Quote(QD3CTL_PATH);
    // Appended piece by piece: GCC 12 at -O3 warns (wrongly) about "literal" + string.
    auto append = [&command](std::string_view piece) { command.append(piece); };
    for (const std::string& a : args) {
      append(" ");
      append(Quote(a));
    }
    const auto out = mFolder.Path() / "stdout";
    const auto err = mFolder.Path() / "stderr";
    append(" > ");
    append(Quote(out.string()));
    append(" 2> ");
    append(Quote(err.string()));
    append(" < /dev/null");
    const int status = std::system(command.c_str());
    RunResult run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadText(out);
    run.err = ReadText(err);
    return run;
  }
  std::filesystem::path Write(const std::string& name, const Bytes& bytes) {
    const auto path = mFolder.Path() / name;
    test::WriteBytes(path, bytes);
    return path;
  }

  test::TempFolder mFolder;
};

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The numbers of the JSON array that follows `key`.
std::vector<int> IntArray(const std::string& json, const std::string& key) {
  std::vector<int> values;
  const auto at = json.find("\"" + key + "\": [");
  if (at == std::string::npos) return values;
  std::istringstream in(json.substr(json.find('[', at) + 1));
  int v = 0;
  char sep = 0;
  while (in >> v) {
    values.push_back(v);
    if (!(in >> sep) || sep != ',') break;
  }
  return values;
}

Bytes TestWav() {
  Bytes samples;
  for (int i = 0; i < 2000; ++i) test::Le(samples, static_cast<uint64_t>((i * 37) % 20000), 2);
  return test::MakeWav(test::WavLayout{}, samples);
}

// ---- arguments -------------------------------------------------------------------------------

TEST_F(CliBinary, VersionPrintsTheProjectVersion) {
  const RunResult run = Qd3ctl({"--version"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, std::string("qd3ctl ") + QD3_PROJECT_VERSION + "\n");
}

TEST_F(CliBinary, HelpListsEveryCommand) {
  const RunResult run = Qd3ctl({"--help"});
  EXPECT_EQ(run.code, 0);
  for (const char* word :
       {"ports", "wav2ir", "inspect", "diff", "backup", "restore", "get", "put", "slot:N"}) {
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  }
}

TEST_F(CliBinary, UsageErrorsExitOneWithOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"inspect"},
      {"inspect", "--bogus", "x"},
      {"wav2ir", "only-one"},
      {"backup", "x.q3b"},
      {"restore", "--in", "A", "x.q3b"},
      {"ports", "--api", "oss"},
      {"backup", "--in", "A", "--out", "B", "--yes", "x.q3b"},
  };
  for (const auto& args : cases) {
    const RunResult run = Qd3ctl(args);
    EXPECT_EQ(run.code, 1) << testing::PrintToString(args);
    EXPECT_EQ(Lines(run.err), 1) << run.err;
  }
}

TEST_F(CliBinary, SlotCommandUsageErrorsExitOneAndDiffsExitTwo) {
  const std::vector<std::string> ports = {"--in", "A", "--out", "B"};
  const auto with = [&](std::vector<std::string> words) {
    words.insert(words.begin() + 1, ports.begin(), ports.end());
    return words;
  };
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string said;
  };
  const std::vector<Case> cases = {
      {{"get", "5", "p.q3p"}, 1, "get needs --in PORT and --out PORT"},
      {with({"get", "p.q3p"}), 1, "get takes SLOT FILE.q3p, got 1"},
      {with({"get", "p.q3p", "5"}), 1, "SLOT must be a number 0..128"},
      {with({"get", "129", "p.q3p"}), 1, "not '129'"},
      {with({"get", "-1", "p.q3p"}), 1, "unknown option '-1'"},
      {with({"get", "5", "p.q3p", "--yes"}), 1, "unknown option '--yes' for get"},
      {with({"put", "5", "p.q3p"}), 1, "SLOT must be a number"},
      {with({"put", "p.q3p", "0x05"}), 1, "not '0x05'"},
      {{"put", "p.q3p", "5", "--yes"}, 1, "put needs --in PORT and --out PORT"},
      {{"diff", "a.q3p", "slot:5"}, 2, "diff of a slot:N needs --in PORT and --out PORT"},
      {with({"diff", "slot:", "a.q3p"}), 2, "(a file of that name: write ./slot:)"},
      {with({"diff", "slot:200", "a.q3p"}), 2, "not '200'"},
  };
  for (const Case& c : cases) {
    const RunResult run = Qd3ctl(c.args);
    EXPECT_EQ(run.code, c.code) << testing::PrintToString(c.args);
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
  }
}

// ---- put of a file the pedal must not get -----------------------------------------------------

// The file is read first: a broken one exits 2 without a MIDI port opened, so the port
// names here need not exist.
TEST_F(CliBinary, PutOfABrokenPresetFileExitsTwoBeforeAnyPortIsOpened) {
  const ParamCatalogue catalogue;
  std::array<int, kRecordParamCount> params{};
  for (int i = 0; i < kRecordParamCount; ++i) {
    params[static_cast<std::size_t>(i)] = static_cast<int>(catalogue[i].Info().min);
  }
  params[kParamIrMode7] = 1;
  params[kParamUserIr7Low] = 3;
  IrImageBytes ir{};
  ir[0] = 1;
  const Bytes whole =
      BuildPresetFile({"Lead", params, "Room", ""}, [&](int) { return std::optional(ir); });
  ASSERT_EQ(whole.size(), kPresetFileOneBlockSize);
  Bytes cut = whole;
  cut.resize(2000);
  Bytes header = whole;
  header.resize(100);
  Bytes tail = whole;
  tail.push_back(0);
  Bytes magic = whole;
  magic[0] = 'X';
  Bytes newer = whole;
  newer[kPresetFileVersionMinorOffset] = 1;
  Bytes loud = whole;
  loud[kPresetFileParamsOffset + 19] = 9;  // "Reverb Extension Factor" holds 2..5
  Bytes unused = whole;
  unused[kPresetFileParamsOffset + kParamIrMode7] = 0;  // its block belongs to no position
  struct Case {
    const char* name;
    Bytes bytes;
    std::string said;
  };
  const std::vector<Case> cases = {
      {"cut.q3p", cut, "not a whole preset file: 2000 bytes"},
      {"header.q3p", header, "not a whole preset file: 100 bytes"},
      {"tail.q3p", tail, "2699 bytes"},
      {"empty.q3p", Bytes{}, "0 bytes"},
      {"big.q3p", Bytes(9000, 'Q'), "8192 bytes or more"},
      {"magic.q3p", magic, "Unknown file format."},
      {"newer.q3p", newer,
       "Unsupported file version. Please update the QD3 Editor to the latest "
       "version."},
      {"loud.q3p", loud, "parameter 19 (Reverb Extension Factor) holds 9, outside 2..5"},
      {"unused.q3p", unused, "its IR blocks belong to no user IR its preset uses"},
  };
  for (const Case& c : cases) {
    const auto path = Write(c.name, c.bytes);
    const RunResult run =
        Qd3ctl({"put", "--in", "No Such Port", "--out", "No Such Port", path.string(), "5"});
    EXPECT_EQ(run.code, 2) << c.name << ": " << run.err;
    EXPECT_EQ(run.err.rfind("qd3ctl: " + path.string() + ": ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("; nothing was sent\n"), std::string::npos) << run.err;
    EXPECT_EQ(Lines(run.err), 1) << run.err;
  }
  const RunResult missing = Qd3ctl(
      {"put", "--in", "X", "--out", "X", (mFolder.Path() / "missing.q3p").string(), "5", "--yes"});
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("cannot be opened as a file"), std::string::npos) << missing.err;
}

// ---- wav2ir ----------------------------------------------------------------------------------

TEST_F(CliBinary, Wav2IrWritesTheImageTheEditorWouldCache) {
  const Bytes wav = TestWav();
  const auto in = Write("My Cab 4x12.wav", wav);
  const auto out = mFolder.Path() / "cab.ir";
  const RunResult run = Qd3ctl({"wav2ir", in.string(), out.string()});
  ASSERT_EQ(run.code, 0) << run.err;

  IrWorkingBuffer buffer;
  ASSERT_TRUE(ReadWav(wav, buffer).Ok());
  const IrImageResult expected = MakeIrImage(buffer, IrNameFromWavPath(in.string()));
  EXPECT_EQ(test::ReadBytes(out), Bytes(expected.image.begin(), expected.image.end()));
  EXPECT_NE(run.out.find("16-bit PCM, 44100 Hz"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("gain"), std::string::npos);
  EXPECT_NE(run.out.find("name: My Cab 4x12"), std::string::npos);
}

TEST_F(CliBinary, Wav2IrNameOptionReplacesTheFileName) {
  const auto in = Write("x.wav", TestWav());
  const auto out = mFolder.Path() / "x.ir";
  ASSERT_EQ(Qd3ctl({"wav2ir", in.string(), out.string(), "--name", "Studio Room"}).code, 0);
  const Bytes image = test::ReadBytes(out);
  ASSERT_EQ(image.size(), kIrFileSize);
  EXPECT_EQ(std::string(image.begin() + 4, image.begin() + 36), test::Padded32("Studio Room"));
}

TEST_F(CliBinary, Wav2IrOnAnUnreadableWavExitsTwoAndCreatesNothing) {
  Bytes cut = TestWav();
  cut.resize(30);  // ends inside the fmt fields
  const std::vector<std::pair<std::string, Bytes>> bad = {
      {"text.wav", Bytes{'h', 'e', 'l', 'l', 'o'}},
      {"cut.wav", cut},
      {"empty.wav", Bytes{}},
  };
  for (const auto& [name, bytes] : bad) {
    const auto in = Write(name, bytes);
    const auto out = mFolder.Path() / (name + ".ir");
    const RunResult run = Qd3ctl({"wav2ir", in.string(), out.string()});
    EXPECT_EQ(run.code, 2) << name;
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out)) << name;
  }
  EXPECT_EQ(Qd3ctl({"wav2ir", (mFolder.Path() / "missing.wav").string(), "o.ir"}).code, 2);
}

TEST_F(CliBinary, Wav2IrOnAWavWithoutSamplesExitsTwoAndSaysWhy) {
  const auto in = Write("silent.wav", test::MakeWav(test::WavLayout{}, {}));
  const auto out = mFolder.Path() / "silent.ir";
  const RunResult run = Qd3ctl({"wav2ir", in.string(), out.string()});
  EXPECT_EQ(run.code, 2);
  EXPECT_EQ(run.err, "qd3ctl: " + in.string() + ": no samples\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

// Used to replace the WAV with the IR image it was made from.
TEST_F(CliBinary, Wav2IrRefusesToWriteOverItsOwnInput) {
  const Bytes wav = TestWav();
  const auto in = Write("cab.wav", wav);
  std::filesystem::create_hard_link(in, mFolder.Path() / "hard.wav");
  std::filesystem::create_symlink(in, mFolder.Path() / "soft.wav");
  std::filesystem::create_directory(mFolder.Path() / "sub");
  const std::vector<std::string> sameFile = {
      in.string(),
      (mFolder.Path() / "sub" / ".." / "cab.wav").string(),
      (mFolder.Path() / "hard.wav").string(),
      (mFolder.Path() / "soft.wav").string(),
  };
  for (const std::string& out : sameFile) {
    const RunResult run = Qd3ctl({"wav2ir", in.string(), out});
    EXPECT_EQ(run.code, 2) << out;
    EXPECT_EQ(run.err, "qd3ctl: " + out + ": is the WAV file itself; nothing was written\n");
    EXPECT_EQ(test::ReadBytes(in), wav) << out;
  }
  // A new file, and an existing other file, are written as before.
  const auto fresh = mFolder.Path() / "fresh.ir";
  EXPECT_EQ(Qd3ctl({"wav2ir", in.string(), fresh.string()}).code, 0);
  EXPECT_EQ(test::ReadBytes(fresh).size(), kIrFileSize);
  const auto other = Write("other.wav", wav);
  EXPECT_EQ(Qd3ctl({"wav2ir", in.string(), other.string()}).code, 0);
  EXPECT_EQ(test::ReadBytes(other).size(), kIrFileSize);
}

// ---- inspect ---------------------------------------------------------------------------------

TEST_F(CliBinary, InspectJsonReadsBackAPresetFileWithItsTexts) {
  std::array<int, kRecordParamCount> params{};
  for (int i = 0; i < kRecordParamCount; ++i) params[static_cast<std::size_t>(i)] = (i * 7) % 128;
  params[0] = 64;   // "Level" 50
  params[9] = 0;    // "Gate" Bypass
  params[10] = 64;  // "Dynamics" off
  params[15] = 0;   // "AnalogSim" 100 digital
  params[40] = 1;   // position 7 uses user IR 3
  params[53] = 0;
  params[54] = 3;
  params[41] = 0;
  IrImageBytes ir{};
  ir[0] = 1;
  const PresetFileExport content{"My \"Lead\"", params, "Room IR", ""};
  const Bytes file = BuildPresetFile(content, [&](int n) -> std::optional<IrImageBytes> {
    return n == 3 ? std::optional(ir) : std::nullopt;
  });
  const auto path = Write("lead.bin", file);  // by content, not by extension
  const RunResult run = Qd3ctl({"inspect", "--json", path.string()});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Lines(run.out), 1);
  EXPECT_NE(run.out.find("\"kind\": \"preset\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"name\": \"My \\\"Lead\\\"\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"version\": \"1.0\""), std::string::npos);
  EXPECT_NE(run.out.find("\"ir_names\": [\"Room IR\", \"\"]"), std::string::npos);
  EXPECT_NE(run.out.find("\"ir_blocks\": 1"), std::string::npos);
  EXPECT_EQ(IntArray(run.out, "params"), std::vector<int>(params.begin(), params.end()));
  EXPECT_NE(run.out.find("\"texts\": [\"50\", "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"Bypass\", {\"title\": \"DYNAMICS\", \"value\": \"Bypass\"}"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("{\"title\": \"DIGITAL SMOOTH\", \"value\": \"100\"}"), std::string::npos);
  // "Gain" 7 shows 6 (5.5 rounded); parameter 2 has no number text.
  EXPECT_NE(run.out.find("\"texts\": [\"50\", \"6\", null, "), std::string::npos) << run.out;

  const RunResult text = Qd3ctl({"inspect", path.string()});
  EXPECT_EQ(text.code, 0);
  EXPECT_NE(text.out.find("preset file, format 1.0, 1 IR block"), std::string::npos) << text.out;
}

TEST_F(CliBinary, InspectJsonListsTheBanksPresetsAndIrs) {
  std::vector<Bytes> messages;
  for (int slot = 0; slot < kPresetCount; ++slot) {
    messages.push_back(test::PresetDump(slot, static_cast<uint8_t>(slot)));
  }
  Bytes broken = test::PresetDump(5, 9);
  broken[kChecksumLoOffset] ^= 1;
  messages[5] = broken;
  for (const Bytes& m : test::IrTransfer(130, kIrFileSize)) messages.push_back(m);
  const auto path = Write("bank.q3b", test::Concat(messages));
  const RunResult run = Qd3ctl({"inspect", "--json", path.string()});
  ASSERT_EQ(run.code, 0) << run.err;
  std::size_t slots = 0;
  for (auto at = run.out.find("\"slot\": "); at != std::string::npos;
       at = run.out.find("\"slot\": ", at + 1)) {
    ++slots;
  }
  EXPECT_EQ(slots, 128u);
  EXPECT_NE(run.out.find("{\"slot\": 5, "), std::string::npos);
  EXPECT_NE(run.out.find("\"checksum_ok\": false"), std::string::npos);
  EXPECT_NE(run.out.find("\"irs\": [{\"number\": 130, "), std::string::npos) << run.out;
}

TEST_F(CliBinary, InspectKnowsRecordsIrImagesAndFirmware) {
  PresetRecord record;
  record.Bytes()[0] = 1;
  WriteName32("Clean Tone", record.NameField());
  WriteName32("", record.UserIrNameField(UserIrPosition::kPosition7));
  const auto recordPath = Write("007.dat", Bytes(record.Bytes().begin(), record.Bytes().end()));
  const RunResult r = Qd3ctl({"inspect", "--json", recordPath.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"kind\": \"record\", \"name\": \"Clean Tone\""), std::string::npos)
      << r.out;

  IrWorkingBuffer buffer;
  buffer.samples[0] = 0.5;
  std::array<uint8_t, kNameSize> name{};
  WriteName32("Cab A", name);
  const IrImageResult ir = MakeIrImage(buffer, name);
  const auto irPath = Write("001.dat", Bytes(ir.image.begin(), ir.image.end()));
  const RunResult i = Qd3ctl({"inspect", "--json", irPath.string()});
  ASSERT_EQ(i.code, 0) << i.err;
  EXPECT_NE(i.out.find("{\"kind\": \"ir\", \"name\": \"Cab A\", \"gain\": "), std::string::npos)
      << i.out;
  EXPECT_NE(i.out.find("\"peak\": 0.5}"), std::string::npos) << i.out;

  Bytes firmware(1000);
  for (std::size_t k = 0; k < firmware.size(); ++k) firmware[k] = static_cast<uint8_t>(k * 13);
  const auto fwPath = Write("update.LDR", firmware);
  const RunResult f = Qd3ctl({"inspect", "--json", fwPath.string()});
  ASSERT_EQ(f.code, 0) << f.err;
  // G = floor(8 * 1000 / 7) + 1 = 1143 groups: a begin, three middle chunks and a last.
  EXPECT_EQ(f.out, "{\"kind\": \"firmware\", \"bytes\": 1000, \"groups\": 1143, \"chunks\": 5}\n");
}

// A name from a file is printed with its control bytes escaped: a hostile name cannot
// send the terminal escape sequences. Version bytes that read as negative are shown as
// the bytes they are.
TEST_F(CliBinary, InspectEscapesNamesAndShowsVersionBytesThatAreNoVersion) {
  const std::string hostile =
      "\x1b]0;owned\x07\x1b[2J\x9b"
      "a\\b";
  std::array<int, kRecordParamCount> params{};
  Bytes file = BuildPresetFile(PresetFileExport{"x", params, "", ""},
                               [](int) { return std::optional<IrImageBytes>(); });
  std::copy(hostile.begin(), hostile.end(), file.begin() + kPresetFileNameOffset);
  file[kPresetFileVersionMajorOffset] = 0xFF;
  file[kPresetFileVersionMinorOffset] = 0xFF;
  const auto path = Write("hostile.q3p", file);

  const RunResult text = Qd3ctl({"inspect", path.string()});
  ASSERT_EQ(text.code, 0) << text.err;
  for (const char raw : {'\x1b', '\x07', '\x9b'}) {
    EXPECT_EQ(text.out.find(raw), std::string::npos) << static_cast<int>(raw);
  }
  EXPECT_NE(text.out.find("name: \\x1B]0;owned\\x07\\x1B[2J\\x9Ba\\\\b\n"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("preset file, format bytes 0xFF 0xFF, 0 IR blocks\n"), std::string::npos)
      << text.out;
  EXPECT_EQ(text.out.find("-1.-1"), std::string::npos) << text.out;

  const RunResult json = Qd3ctl({"inspect", "--json", path.string()});
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_NE(json.out.find("\"name\": \"\\u001b]0;owned\\u0007\\u001b[2J\\u009ba\\\\b\""),
            std::string::npos)
      << json.out;
  EXPECT_NE(json.out.find("\"version\": \"bytes 0xFF 0xFF\""), std::string::npos) << json.out;

  // The bank listing and an IR image print their names the same way.
  Bytes dump = test::PresetDump(0, 1);
  std::copy(hostile.begin(), hostile.begin() + 4, dump.begin() + kRecordOffset + kPresetNameOffset);
  const RunResult bank = Qd3ctl({"inspect", Write("bank.q3b", dump).string()});
  ASSERT_EQ(bank.code, 0) << bank.err;
  EXPECT_EQ(bank.out.find('\x1b'), std::string::npos) << bank.out;
  EXPECT_NE(bank.out.find("  preset slot   0  \\x1B]0;"), std::string::npos) << bank.out;

  IrWorkingBuffer buffer;
  std::array<uint8_t, kNameSize> irName{};
  WriteName32("Cab", irName);
  IrImageResult ir = MakeIrImage(buffer, irName);
  ir.image[kIrFileNameOffset + 1] = 0x1b;
  const RunResult image =
      Qd3ctl({"inspect", Write("001.dat", Bytes(ir.image.begin(), ir.image.end())).string()});
  ASSERT_EQ(image.code, 0) << image.err;
  EXPECT_NE(image.out.find("name: C\\x1Bb\n"), std::string::npos) << image.out;
}

TEST_F(CliBinary, InspectOnUnknownOrBrokenFilesExitsTwoWithOneLine) {
  Bytes newer(kPresetFileHeaderSize, 0);
  newer[0] = 'Q';
  newer[1] = 'R';
  newer[2] = 'B';
  newer[3] = 'P';
  newer[4] = 1;
  newer[5] = 1;
  Bytes bank = test::Concat({test::PresetDump(0), test::PresetDump(1)});
  bank.pop_back();
  const std::vector<std::pair<std::string, Bytes>> bad = {
      {"text.q3p", Bytes{'h', 'i', '\n'}},
      {"newer.q3p", newer},
      {"short.q3p", Bytes{'Q', 'R', 'B', 'P', 1, 0}},
      {"cut.q3b", bank},
      {"empty.q3b", Bytes{}},
      {"record.dat", Bytes(256, 0x55)},  // format 85.85: not a record
      {"big.ldr", Bytes(60000, 1)},
  };
  for (const auto& [name, bytes] : bad) {
    const RunResult run = Qd3ctl({"inspect", Write(name, bytes).string()});
    EXPECT_EQ(run.code, 2) << name << ": " << run.out;
    EXPECT_EQ(Lines(run.err), 1) << name << ": " << run.err;
    EXPECT_TRUE(run.out.empty()) << name;
  }
  EXPECT_EQ(Qd3ctl({"inspect", (mFolder.Path() / "missing").string()}).code, 2);
  EXPECT_EQ(Qd3ctl({"inspect", mFolder.Path().string()}).code, 2);
}

// ---- diff ------------------------------------------------------------------------------------

Bytes PresetFileWith(const std::string& name, int gain) {
  std::array<int, kRecordParamCount> params{};
  for (int i = 0; i < kRecordParamCount; ++i) params[static_cast<std::size_t>(i)] = (i * 5) % 128;
  params[1] = gain;  // "Gain", the PRE-AMP knob
  return BuildPresetFile({name, params, "", ""},
                         [](int) -> std::optional<IrImageBytes> { return std::nullopt; });
}

TEST_F(CliBinary, DiffOfTwoPresetFilesNamesEachChangedParameterInItsScreenText) {
  const auto a = Write("a.q3p", PresetFileWith("Crunch", 64));
  const auto same = Write("same.q3p", PresetFileWith("Crunch", 64));
  const auto b = Write("b.q3p", PresetFileWith("Lead", 90));
  const RunResult equal = Qd3ctl({"diff", a.string(), same.string()});
  EXPECT_EQ(equal.code, 0) << equal.err;
  EXPECT_EQ(equal.out, "");

  const RunResult differ = Qd3ctl({"diff", a.string(), b.string()});
  EXPECT_EQ(differ.code, 1) << differ.err;
  const std::string arrow = " \xE2\x86\x92 ";
  ASSERT_TRUE(ParamValueText(1, 64) && ParamValueText(1, 90));
  EXPECT_EQ(differ.out, "name: \"Crunch\"" + arrow +
                            "\"Lead\"\nGain: " + ParamValueText(1, 64)->value + arrow +
                            ParamValueText(1, 90)->value + "\n");
}

TEST_F(CliBinary, DiffOfTwoBanksGoesSlotBySlotAndIrByIr) {
  std::vector<Bytes> first;
  for (int slot = 0; slot < kPresetCount; ++slot) first.push_back(test::PresetDump(slot, 1));
  std::vector<Bytes> second = first;
  second[5] = test::PresetDump(5, 9);
  for (const Bytes& m : test::IrTransfer(130, kIrFileSize)) second.push_back(m);
  const auto a = Write("a.q3b", test::Concat(first));
  const auto b = Write("b.q3b", test::Concat(second));
  const RunResult run = Qd3ctl({"diff", a.string(), b.string()});
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.out.find("slot 005 "), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("slot 004 "), std::string::npos) << "equal slots say nothing";
  EXPECT_NE(run.out.find("IR 130: only in the second file\n"), std::string::npos) << run.out;
  EXPECT_EQ(Qd3ctl({"diff", a.string(), a.string()}).code, 0);
}

TEST_F(CliBinary, DiffThatCannotCompareExitsTwoNotOne) {
  const auto preset = Write("a.q3p", PresetFileWith("Crunch", 64));
  const auto bank = Write("a.q3b", test::Concat({test::PresetDump(0, 1)}));
  const auto junk = Write("junk.bin", Bytes{1, 2, 3});
  const std::vector<std::vector<std::string>> cases = {
      {"diff", preset.string(), bank.string()},
      {"diff", preset.string(), junk.string()},
      {"diff", preset.string(), (mFolder.Path() / "missing.q3p").string()},
      {"diff", preset.string()},
  };
  for (const auto& args : cases) {
    const RunResult run = Qd3ctl(args);
    EXPECT_EQ(run.code, 2) << testing::PrintToString(args);
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace qd3
