// tavelo-cli set by the names show prints, against tavelo-sim over loopback: the frame each
// block puts on the wire, then a pull whose show reads the new values back. A spread of
// names from every page: music, microphone, echo, reverb, each output page, system values
// and the boost switches.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SetNames : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sim_.Started()) << sim_.Output(); }
  CliRun Cli(QStringList args) { return RunCli(args + sim_.Link()); }

  // The data bytes (after the code) of the one frame with `code` and first data byte
  // `first` (or any first byte when -1).
  static Bytes Data(const std::string& err, int code, int first = -1) {
    std::vector<Bytes> found;
    for (const auto& frame : SentFrames(err, static_cast<std::uint8_t>(code))) {
      if (first < 0 || frame[4] == first) found.emplace_back(frame.begin() + 4, frame.end() - 1);
    }
    EXPECT_EQ(found.size(), 1u) << "frames of code " << code;
    return found.empty() ? Bytes(64, 0) : found[0];
  }

  // "name: text" lines of show for the processor's current preset (and its boost block).
  std::string PulledShow() {
    const CliRun pull = Cli({"pull", dir_.Q("pulled"), "--boost", dir_.Q("pulled.btpar")});
    EXPECT_EQ(pull.exitCode, 0) << pull.err;
    const CliRun show = RunCli({"show", dir_.Q("pulled")});
    const CliRun boost = RunCli({"show", dir_.Q("pulled.btpar")});
    EXPECT_EQ(show.exitCode, 0) << show.err;
    EXPECT_EQ(boost.exitCode, 0) << boost.err;
    return show.out + boost.out;
  }

  static std::string Shown(const std::string& show, const std::string& name) {
    const auto lines = LinesStartingWith(show, name + ": ");
    return lines.empty() ? "(not shown)" : lines[0];
  }

  SimProcess sim_{{"--seed", "5"}};
  TempFolder dir_;
};

// The first bytes of a block's data (the rest is padding).
Bytes Head(const Bytes& d, std::size_t n) {
  return Bytes(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(std::min(n, d.size())));
}

int Le16(const Bytes& d, int at) {
  return d[static_cast<std::size_t>(at)] | (d[static_cast<std::size_t>(at) + 1] << 8);
}

TEST_F(SetNames, ValuesOfEveryPageReachTheWireAndReadBack) {
  const CliRun set = Cli({"set",
                          "app_mode=sing",
                          "music.input1_gain=5",
                          "music.key=9",
                          "mic.mic1_volume=33",
                          "mic.mic1_volume.on=on",
                          "mic.comp_ratio=6",
                          "echo.level=44",
                          "echo.delay_ms=250",
                          "reverb.level=40",
                          "reverb.decay_ms=2000",
                          "main.set1.left_volume=60",
                          "main.comp_ratio=4",
                          "main.set1.hpf_hz=90",
                          "main.set1.hpf_slope=butter_24db",
                          "surround.set1.echo_level=12",
                          "centre.delay_ms=7",
                          "sub.set1.lpf_hz=120",
                          "switch.sub.mute=on",
                          "music_eq.band4=peak,1000,1.0,3",
                          "record_mixer.music_level=55",
                          "dance.mic_time=12",
                          "effect.init_level=20",
                          "adjust_manner=Param",
                          "boost_switch.music=on",
                          "--trace"});
  ASSERT_EQ(set.exitCode, 0) << set.err;

  // The mode and the dance microphone time share one request.
  EXPECT_EQ(Data(set.err, 34)[0], 1);  // sing
  EXPECT_EQ(Data(set.err, 34)[2], 12);
  const Bytes music = Data(set.err, 2);
  EXPECT_EQ(music[4], 5);
  EXPECT_EQ(music[9], 9);
  const Bytes mic = Data(set.err, 5);
  EXPECT_EQ(mic[6], 0x80 | 33);
  EXPECT_EQ(mic[9], 6);
  const Bytes echo = Data(set.err, 13);
  EXPECT_EQ(echo[1] & 0x7F, 44);
  EXPECT_EQ(Le16(echo, 13), 250);
  const Bytes reverb = Data(set.err, 11);
  EXPECT_EQ(reverb[0] & 0x7F, 40);
  EXPECT_EQ(Le16(reverb, 10), 2000);
  const Bytes main = Data(set.err, 14, 0);
  EXPECT_EQ(main[1] & 0x7F, 60);
  EXPECT_EQ(main[14], 4);
  // One request carries the main high-pass frequency and slope: set 1 in mode Sing.
  EXPECT_EQ(Head(Data(set.err, 17, 4), 4), (Bytes{4, 6, 90, 0}));
  EXPECT_EQ(Data(set.err, 14, 2)[11] & 0x7F, 12);
  EXPECT_EQ(Le16(Data(set.err, 14, 4), 17), 7);
  EXPECT_EQ(Le16(Data(set.err, 17, 15), 2), 120);
  EXPECT_NE(Data(set.err, 15)[0] & (1 << 5), 0);
  EXPECT_EQ(Head(Data(set.err, 3), 7), (Bytes{2, 3, 0xE8, 0x03, 0x0A, 0x00, 0x1E}));
  EXPECT_EQ(Data(set.err, 57)[1] & 0x7F, 55);
  EXPECT_EQ(Data(set.err, 10)[0], 20);
  EXPECT_EQ(Data(set.err, 7)[0], 1);
  EXPECT_NE(Data(set.err, 48)[0] & 0x02, 0);

  const std::string show = PulledShow();
  const std::pair<const char*, const char*> expected[] = {
      {"app_mode", "sing"},
      {"music.input1_gain", "5"},
      {"music.key", "9"},
      {"mic.mic1_volume", "33 on"},
      {"mic.comp_ratio", "6"},
      {"echo.delay_ms", "250 ms"},
      {"reverb.decay_ms", "2000 ms"},
      {"main.comp_ratio", "4"},
      {"main.set1.hpf_hz", "90 Hz"},
      {"main.set1.hpf_slope", "butter_24db"},
      {"centre.delay_ms", "7 ms"},
      {"sub.set1.lpf_hz", "120 Hz"},
      {"switch.sub.mute", "on"},
      {"music_eq.band4", "peak 1000 Hz q=1.0 +3.0 dB"},
      {"dance.mic_time", "12"},
      {"effect.init_level", "20"},
      {"adjust_manner", "Param"},
      {"boost_switch.music", "on"},
  };
  for (const auto& [name, text] : expected) EXPECT_EQ(Shown(show, name), text) << name;
  // Levels keep the on bit they had.
  for (const auto& [name, level] : {std::pair{"echo.level", "44 "},
                                    {"reverb.level", "40 "},
                                    {"main.set1.left_volume", "60 "},
                                    {"surround.set1.echo_level", "12 "},
                                    {"record_mixer.music_level", "55 "}}) {
    EXPECT_EQ(Shown(show, name).rfind(level, 0), 0u) << name << ": " << Shown(show, name);
  }
}

TEST_F(SetNames, TheSecondOutputSetGoesInDanceAndTheFirstIsRefusedThere) {
  const CliRun set =
      Cli({"set", "app_mode=dance", "main.set2.lpf_hz=15000",
           "surround_eq_2.band2=lowshelf,200,0.7,-6", "echo.type=stereo", "--trace"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  // Outside Sing, n = 5 addresses the main's second set and id 5 the surround's.
  const Bytes lowPass = Data(set.err, 17, 5);
  EXPECT_EQ(Head(lowPass, 4), (Bytes{5, lowPass[1], 0x98, 0x3A}));
  EXPECT_EQ(Data(set.err, 3)[0], 5);
  EXPECT_EQ(Head(Data(set.err, 58), 1), (Bytes{1}));

  const CliRun refused = Cli({"set", "main.set1.hpf_hz=100", "--trace"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.err.find("main.set1.hpf_hz"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("application mode sing"), std::string::npos) << refused.err;
  EXPECT_TRUE(SentFrames(refused.err, 17).empty()) << "never written into the other set";

  const std::string show = PulledShow();
  EXPECT_EQ(Shown(show, "main.set2.lpf_hz"), "15000 Hz");
  EXPECT_EQ(Shown(show, "surround_eq_2.band2"), "low shelf 200 Hz q=0.7 -6.0 dB");
  EXPECT_EQ(Shown(show, "echo.type"), "stereo");
  EXPECT_NE(Shown(show, "main.set1.hpf_hz"), "100 Hz");
}

TEST_F(SetNames, OutOfRangeAndUnknownNamesAreRefusedBeforeConnecting) {
  // The port is never opened: these fail as usage errors even with no processor.
  const QStringList nowhere = {"--host", "127.0.0.1", "--port", QString::number(UnusedPort())};
  const CliRun range = RunCli(QStringList{"set", "reverb.level=101"} + nowhere);
  EXPECT_EQ(range.exitCode, 2);
  EXPECT_NE(range.err.find("reverb.level must be 0 to 100"), std::string::npos) << range.err;
  const CliRun unknown = RunCli(QStringList{"set", "reverb.size=3"} + nowhere);
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("unknown key 'reverb.size'"), std::string::npos) << unknown.err;

  const CliRun list = RunCli({"set", "--list"});
  EXPECT_EQ(list.exitCode, 0) << list.err;
  EXPECT_NE(
      list.out.find(
          "main.set2.left_volume  0 to 99, or \"N on\" / \"N off\" setting its button too  step\n"),
      std::string::npos);
  EXPECT_NE(list.out.find("main.set2.left_volume.on  on|off\n"), std::string::npos);
  EXPECT_EQ(list.out.find("master_level"), std::string::npos) << "carried by no block";
  const CliRun json = RunCli({"set", "--list", "--json"});
  EXPECT_NE(json.out.find("{\"name\": \"echo.type\", \"values\": \"mono|stereo|dual\""),
            std::string::npos);
}

}  // namespace
}  // namespace tavelo::e2e
