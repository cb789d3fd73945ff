// The report's content: every page's values where the panel shows them, in the panel's
// words and readouts, and every equaliser set with all its bands.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/params/Catalogue.h"
#include "core/presets/ReportModel.h"

namespace tavelo {
namespace {

const ReportRow* FindByName(const std::vector<ReportSection>& sections, const std::string& name,
                            std::string* section = nullptr) {
  for (const auto& s : sections) {
    for (const auto& r : s.rows) {
      if (r.name == name) {
        if (section) *section = s.title;
        return &r;
      }
    }
  }
  return nullptr;
}

TEST(ReportModel, ValuesLandOnTheirPageWithThePanelsLabelAndReadout) {
  ParamImage image;
  ApplyDefaults(image);
  WriteValue(image, RowOf(row::kMusicKey), 9);  // two semitones up: "#2"
  WriteValue(image, RowOf(row::kMainSet2LeftVolume), 80);
  const auto sections = BuildReport(image, Lang::kEnglish);

  std::vector<std::string> titles;
  for (const auto& s : sections) titles.push_back(s.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Music", "Mic", "Echo", "Reverb", "Main", "Surround",
                                              "Center", "Subwoofer", "System"}));
  std::string section;
  const ReportRow* key = FindByName(sections, "music.key", &section);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(section, "Music");
  EXPECT_EQ(key->parameter, "Music Key");
  EXPECT_EQ(key->value, "#2");

  const ReportRow* left = FindByName(sections, "main.set2.left_volume", &section);
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(section, "Main");
  EXPECT_EQ(left->parameter.substr(left->parameter.size() - 7), ", set 2");
  EXPECT_EQ(left->value.rfind(FormatReadout(RowOf(row::kMainSet2LeftVolume).readout, 80), 0), 0u)
      << left->value;

  // Switch bits go to the page of their second name segment; nothing unnamed is listed.
  for (const auto& s : sections) {
    for (const auto& r : s.rows) {
      EXPECT_EQ(r.name.find("image["), std::string::npos);
      EXPECT_EQ(r.name.find("spare"), std::string::npos);
      EXPECT_NE(r.name, "switch_word");
      if (r.name.rfind("switch.main.", 0) == 0) {
        EXPECT_EQ(s.title, "Main") << r.name;
      }
    }
  }

  const auto zh = BuildReport(image, Lang::kChinese);
  EXPECT_NE(zh[0].title, "Music");
  ASSERT_NE(FindByName(zh, "music.key"), nullptr);
  EXPECT_NE(FindByName(zh, "music.key")->parameter, "Music Key");
}

// A user copies a row's name and value into `set`: the pair must do what the row says. An
// equaliser or compressor switch prints its own value under a caption that says what "on"
// means; in Chinese nothing of the panel's own words stays English.
TEST(ReportModel, OnOffRowsAgreeWithTheirNamesAndChineseIsChineseThroughout) {
  ParamImage image;
  ApplyDefaults(image);
  WriteValue(image, RowOf(row::kSwitchMusicEqOn), 1);   // equaliser in circuit
  WriteValue(image, RowOf(row::kSwitchMainCompOn), 0);  // compressor bypassed
  WriteValue(image, RowOf(row::kReverbType), 1);        // room
  const auto en = BuildReport(image, Lang::kEnglish);
  EXPECT_EQ(FindByName(en, "switch.music.eq_on")->value, "on");
  EXPECT_EQ(FindByName(en, "switch.music.eq_on")->parameter, "EQ in circuit");
  EXPECT_EQ(FindByName(en, "switch.main.comp_on")->value, "off");
  EXPECT_EQ(FindByName(en, "switch.main.comp_on")->parameter, "Compressor in circuit");
  EXPECT_EQ(FindByName(en, "reverb.type")->value, "room");
  int onOffRows = 0;
  for (const auto& s : en) {
    for (const auto& r : s.rows) {
      const CatalogueRow* row = FindRow(r.name);
      ASSERT_NE(row, nullptr) << r.name;
      if (row->kind != ValueKind::kOnOff) continue;
      ++onOffRows;
      EXPECT_EQ(r.value, ReadValue(image, *row) != 0 ? "on" : "off") << r.name;
      EXPECT_EQ(r.parameter.find("Bypass"), std::string::npos) << r.name;
    }
  }
  EXPECT_GT(onOffRows, 10);

  const auto zh = BuildReport(image, Lang::kChinese);
  EXPECT_EQ(FindByName(zh, "switch.music.eq_on")->value, "开");
  EXPECT_EQ(FindByName(zh, "reverb.type")->value, "房间");
  const ReportRow* left = FindByName(zh, "main.set2.left_volume");
  ASSERT_NE(left, nullptr);
  EXPECT_NE(left->parameter.find("第 2 组"), std::string::npos) << left->parameter;
  EXPECT_EQ(zh[4].eqs.at(1).title.find("set"), std::string::npos) << zh[4].eqs.at(1).title;
  for (const auto& s : zh) {
    for (const auto& r : s.rows) {
      for (const char* english : {", set ", "(off)"}) {
        EXPECT_EQ(r.parameter.find(english), std::string::npos) << r.parameter;
        EXPECT_EQ(r.value.find(english), std::string::npos) << r.name << " " << r.value;
      }
      EXPECT_NE(r.value, "on") << r.name;
      EXPECT_NE(r.value, "off") << r.name;
    }
  }
  EqBand shelf;
  shelf.type = kBandLowShelf;
  EXPECT_EQ(BandCells(shelf, Lang::kChinese).type, "低架");
  EXPECT_EQ(BandCells(shelf).type, "low shelf");
}

TEST(ReportModel, EverySetAppearsOnceWithEveryBandItsPageKeeps) {
  ParamImage image;
  ApplyDefaults(image);
  image.set(kEqMusic)[2].gain = 35;
  const auto sections = BuildReport(image, Lang::kEnglish);
  std::set<int> seen;
  for (const auto& s : sections) {
    for (const auto& eq : s.eqs) {
      EXPECT_TRUE(seen.insert(eq.set).second) << eq.title;
      EXPECT_EQ(static_cast<int>(eq.bands.size()),
                kEqSets[static_cast<std::size_t>(eq.set)].memoryBands);
      EXPECT_EQ(eq.title.rfind(s.title, 0), 0u) << eq.title;
    }
  }
  EXPECT_EQ(static_cast<int>(seen.size()), kEqSetCount);
  EXPECT_EQ(sections[0].eqs.at(0).bands[2].gain, 35);
  EXPECT_EQ(sections[4].eqs.at(1).title, "Main EQ, set 2");

  const auto peak = BandCells(image.set(kEqMusic)[2]);
  EXPECT_EQ(peak.gain.front(), '+');
  EXPECT_TRUE(peak.slope.empty());
  EqBand pass;
  pass.type = kBandHighPass;
  pass.freq = 80;
  pass.slope = kSlopeButter24;
  const auto cells = BandCells(pass);
  EXPECT_EQ(cells.frequency, "80 Hz");
  EXPECT_EQ(cells.slope, "butter_24db");
  EXPECT_TRUE(cells.gain.empty());
}

}  // namespace
}  // namespace tavelo
