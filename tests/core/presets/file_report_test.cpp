// Readable fields of the PC files, their JSON form and the field diff.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>

#include "core/params/Catalogue.h"
#include "core/presets/BoostFile.h"
#include "core/presets/FileReport.h"
#include "core/presets/ParamFile.h"

namespace tavelo {
namespace {

// A strict JSON syntax check, enough to catch a bad escape, a trailing comma or garbage.
class JsonChecker {
 public:
  explicit JsonChecker(const std::string& s) : s_(s) {}
  bool Document() {
    Space();
    if (!Value()) return false;
    Space();
    return i_ == s_.size();
  }

 private:
  void Space() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\n')) ++i_;
  }
  bool Eat(char c) {
    Space();
    if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
    return false;
  }
  bool String() {
    if (!Eat('"')) return false;
    while (i_ < s_.size() && s_[i_] != '"') {
      const auto c = static_cast<unsigned char>(s_[i_]);
      if (c < 0x20 || c >= 0x7F) return false;
      if (c == '\\') {
        ++i_;
        if (i_ >= s_.size()) return false;
        if (s_[i_] == 'u') {
          for (int k = 0; k < 4; ++k) {
            if (++i_ >= s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[i_])))
              return false;
          }
        } else if (std::string("\"\\/bfnrt").find(s_[i_]) == std::string::npos) {
          return false;
        }
      }
      ++i_;
    }
    return Eat('"');
  }
  bool Value() {
    Space();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    if (c == '"') return String();
    if (c == '{') {
      ++i_;
      if (Eat('}')) return true;
      do {
        Space();
        if (!String() || !Eat(':') || !Value()) return false;
      } while (Eat(','));
      return Eat('}');
    }
    for (const char* word : {"true", "false"}) {
      if (s_.compare(i_, std::strlen(word), word) == 0) return i_ += std::strlen(word), true;
    }
    const std::size_t start = i_;
    if (s_[i_] == '-') ++i_;
    while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '.'))
      ++i_;
    return i_ > start && std::isdigit(static_cast<unsigned char>(s_[i_ - 1]));
  }
  const std::string& s_;
  std::size_t i_ = 0;
};

ParamFileData SampleData() {
  ParamImage image;
  image.bytes[img::kMusicVolume] = 70;
  image.bytes[img::kAppMode] = kModeSing;
  image.bytes[img::kMusicInput] = 4;
  image.bytes[12] = 0x80 | 75;  // mic 1 volume 75, switched on
  image.words[0] = 120;
  image.words[36] = 270;  // mic bass +3.0 dB as a slider position
  image.eq[kEqMusic][3] = EqBand{0, kBandPeak, 1000, 10, 30};
  image.eq[kEqMusic][8] = EqBand{kSlopeButter24, kBandHighPass, 80, 7, 0};
  // A pass filter's band follows its filter values.
  WriteValue(image, RowOf(row::kMusicHpfHz), 80);
  WriteValue(image, RowOf(row::kMusicHpfSlope), kSlopeButter24);
  image.eq[kEqMicA][0] = EqBand{0, kBandLowShelf, 63, 7, -125};
  image.switchWord = (1U << 15) | (1U << 0) | (1U << 30);
  image.name = {'K',    'T',    'V', ' ', '"', 'A', '"', '\\',
                '\x01', '\xE9', ' ', ' ', ' ', ' ', ' ', ' '};
  return ParamFileDataFromImage(image);
}

std::string Field(const std::vector<FieldEntry>& fields, const std::string& key) {
  for (const auto& f : fields) {
    if (f.key == key) return f.text;
  }
  return "<missing " + key + ">";
}

TEST(ParamFields, NameTheFieldsReadably) {
  const auto fields = DescribeParamFile(SampleData());
  EXPECT_EQ(Field(fields, "music.volume"), "70");
  EXPECT_EQ(Field(fields, "app_mode"), "sing");
  EXPECT_EQ(Field(fields, "music.input"), "COAX");
  EXPECT_EQ(Field(fields, "mic.mic1_volume"), "75 on");
  EXPECT_EQ(Field(fields, "mic.hpf_hz"), "120 Hz");
  EXPECT_EQ(Field(fields, "mic.tone.bass"), "+3.0 dB");
  EXPECT_EQ(Field(fields, "music_eq.band4"), "peak 1000 Hz q=1.0 +3.0 dB");
  EXPECT_EQ(Field(fields, "music_eq.band9"), "high-pass 80 Hz butter_24db");
  EXPECT_EQ(Field(fields, "mic_eq_a.band1"), "low shelf 63 Hz q=0.7 -12.5 dB");
  EXPECT_EQ(Field(fields, "switch.music.eq_on"), "on");
  EXPECT_EQ(Field(fields, "switch.main.left_mute"), "on");
  EXPECT_EQ(Field(fields, "switch.main.right_mute"), "off");
  EXPECT_EQ(Field(fields, "switch.bit30"), "on");
  EXPECT_EQ(Field(fields, "image[123]"), "0");
  EXPECT_EQ(Field(fields, "echo.type"), "mono");
  EXPECT_EQ(Field(fields, "preset_name"), "\"KTV \\\"A\\\"\\\\\\u0001\\u00E9\"");

  // Every byte, word, band and bit of the file has exactly one field.
  std::set<std::string> keys;
  for (const auto& f : fields) EXPECT_TRUE(keys.insert(f.key).second) << f.key;
  std::size_t bands = 0;
  for (const auto& s : kEqSets) bands += static_cast<std::size_t>(s.memoryBands);
  EXPECT_EQ(fields.size(), 2 + 142 + 45 + bands + 2 * 33);
}

TEST(FileReport, JsonIsOneValidDocumentWithAFixedKeyOrder) {
  const auto fields = DescribeParamFile(SampleData());
  const std::string json = FieldsAsJson(PcFileKind::kParameterFile, fields);
  EXPECT_TRUE(JsonChecker(json).Document()) << json.substr(0, 400);
  EXPECT_EQ(json.rfind("{\n  \"kind\": \"parameter_file\",\n  \"preset_name\": ", 0), 0u);
  EXPECT_NE(json.find("\"mic.mic1_volume\": {\"level\":75,\"on\":true}"), std::string::npos);
  EXPECT_NE(
      json.find("\"music_eq.band4\": {\"type\":\"peak\",\"slope\":\"bypass\",\"freq_hz\":1000,"
                "\"q\":1.0,\"gain_db\":3.0}"),
      std::string::npos);
  EXPECT_EQ(json, FieldsAsJson(PcFileKind::kParameterFile, DescribeParamFile(SampleData())));

  const auto boost = DescribeBoostFile(BoostBlock{});
  EXPECT_TRUE(JsonChecker(FieldsAsJson(PcFileKind::kBoostFile, boost)).Document());
}

TEST(FileReport, DiffListsEveryChangedFieldOnce) {
  const ParamFileData a = SampleData();
  ParamFileData b = a;
  EXPECT_TRUE(DiffFields(DescribeParamFile(a), DescribeParamFile(b)).empty());

  b.bytes[img::kMusicVolume] = 55;
  b.eq[kEqEcho][2].gain = -40;
  b.switchWord &= ~(1U << 15);
  const auto lines = DiffFields(DescribeParamFile(a), DescribeParamFile(b));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "music.volume: 70 -> 55",
                       "echo_eq.band3: peak 0 Hz q=1.0 +0.0 dB -> peak 0 Hz q=1.0 -4.0 dB",
                       "switch.music.eq_on: on -> off"}));

  // Changes the readable text does not show still appear, with the stored values.
  ParamFileData c = a;
  c.eq[kEqMusic][8].q = 9;  // a pass filter's Q is not part of its text
  c.name[15] = '\0';        // padding is trimmed from the text
  const auto hidden = DiffFields(DescribeParamFile(a), DescribeParamFile(c));
  ASSERT_EQ(hidden.size(), 2u);
  EXPECT_EQ(hidden[0].rfind("preset_name: \"KTV", 0), 0u);
  EXPECT_NE(hidden[0].find("\\u0000\""), std::string::npos);
  EXPECT_EQ(
      hidden[1],
      "music_eq.band9: slope=6 type=4 freq=80 q=7 gain=0 -> slope=6 type=4 freq=80 q=9 gain=0");
}

TEST(FileReport, TellsTheFormatsApartAndGivesTheRefusalReason) {
  const auto param = BuildParamFile(SampleData());
  const DescribedFile p = DescribeFileBytes(param.data(), param.size());
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.kind, PcFileKind::kParameterFile);

  BoostBlock block;
  block.switches = 0x02;
  const auto boost = BuildBoostFile(block);
  const DescribedFile b = DescribeFileBytes(boost.data(), boost.size());
  ASSERT_TRUE(b.ok);
  EXPECT_EQ(b.kind, PcFileKind::kBoostFile);
  EXPECT_EQ(Field(b.fields, "boost_switch.music"), "on");
  EXPECT_EQ(Field(b.fields, "boost_switch.mic"), "off");
  EXPECT_EQ(Field(b.fields, "boost_mic.band5"), "peak 0 Hz q=1.0 +0.0 dB");
  EXPECT_EQ(Field(b.fields, "boost_music.band4"), "<missing boost_music.band4>");

  // A size of neither kind says which sizes are expected.
  EXPECT_EQ(DescribeFileBytes(param.data(), 1139).message,
            "wrong size: 1139 bytes (a parameter file has 1140 bytes, a boost file 116)");
  auto broken = boost;
  broken[114] ^= 1;
  EXPECT_EQ(DescribeFileBytes(broken.data(), broken.size()).message, "bad checksum");
}

}  // namespace
}  // namespace tavelo
