#include "core/presets/ReportModel.h"

#include <array>
#include <string_view>

#include "core/params/Catalogue.h"
#include "core/presets/ParamFields.h"
#include "core/presets/ParamFile.h"
#include "core/text/Labels.h"
#include "core/text/ReportTexts.h"
#include "core/text/Texts.h"

namespace tavelo {

namespace {

// The report's sections, in the order of the panel's pages, and the first name segment
// (or EQ set) that belongs to each.
struct SectionDef {
  Label title;
  std::array<std::string_view, 3> prefixes;
};
constexpr std::array<SectionDef, 9> kSections = {{
    {Label::kMusic, {"music", "", ""}},
    {Label::kMic, {"mic", "boost_switch", ""}},
    {Label::kEcho, {"echo", "", ""}},
    {Label::kReverb, {"reverb", "", ""}},
    {Label::kMain, {"main", "", ""}},
    {Label::kSurround, {"surround", "", ""}},
    {Label::kCenter, {"centre", "", ""}},
    {Label::kSubwoofer, {"sub", "", ""}},
    {Label::kSystem, {"", "", ""}},  // everything else
}};
constexpr std::size_t kSystemSection = kSections.size() - 1;

struct EqPlace {
  EqSet set;
  std::size_t section;
  std::string_view suffix;
  int setNumber;  // an output's set 1 or 2; 0 for a page with one set
};
constexpr std::array<EqPlace, kEqSetCount> kEqPlaces = {{
    {kEqMicA, 1, " (MIC1)", 0},
    {kEqMicB, 1, " (MIC2)", 0},
    {kEqMusic, 0, "", 0},
    {kEqMainFirst, 4, "", 1},
    {kEqMainSecond, 4, "", 2},
    {kEqSurroundFirst, 5, "", 1},
    {kEqSurroundSecond, 5, "", 2},
    {kEqCentreFirst, 6, "", 1},
    {kEqCentreSecond, 6, "", 2},
    {kEqSubFirst, 7, "", 1},
    {kEqSubSecond, 7, "", 2},
    {kEqReverb, 3, "", 0},
    {kEqEcho, 2, "", 0},
}};

// ", set 2" / "，第 2 组".
std::string SetSuffix(int number, Lang lang) {
  std::string text(ReportWord(ReportText::kSetNumber, lang));
  const auto at = text.find("%d");
  return at == std::string::npos ? text : text.replace(at, 2, std::to_string(number));
}

// A button captioned as a bypass shows the opposite of the bit it drives: the bit puts the
// stage in circuit, the lit button takes it out. The report prints the bit's own value, as
// `set` takes it beside its name, under a caption that says what "on" means.
bool ReadsAsBypass(const CatalogueRow& r) {
  return r.kind == ValueKind::kOnOff && r.label &&
         (*r.label == Label::kEqBypass || *r.label == Label::kCompBypass);
}

std::string Caption(const CatalogueRow& r, std::string_view key, Lang lang) {
  if (ReadsAsBypass(r)) {
    return std::string(ReportWord(
        *r.label == Label::kEqBypass ? ReportText::kEqInCircuit : ReportText::kCompInCircuit,
        lang));
  }
  std::string caption = r.label ? LabelText(*r.label, lang) : std::string(key);
  // Top-bar captions end in a colon ("Music:"); a table cell does not.
  while (!caption.empty() && (caption.back() == ':' || caption.back() == ' ')) caption.pop_back();
  return caption;
}

// The panel's own words for a list's entry, where its list has them in both languages.
std::string ChoiceWord(const CatalogueRow& r, int value, Lang lang) {
  for (const std::span<const TextId> list :
       {InputSourceTexts(), ReverbTypeTexts(), EchoTypeTexts()}) {
    if (list.size() != r.choices.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < list.size() && same; ++i) {
      same = r.choices[i] == Text(list[i], Lang::kEnglish);
    }
    if (same && value >= 0 && value < static_cast<int>(list.size())) {
      return Text(list[static_cast<std::size_t>(value)], lang);
    }
  }
  return {};
}

std::size_t SectionOf(std::string_view name) {
  std::string_view head = name.substr(0, name.find('.'));
  if (head == "switch") {
    // switch.main.left_mute belongs to its page.
    const std::string_view rest = name.substr(name.find('.') + 1);
    head = rest.substr(0, rest.find('.'));
  }
  for (std::size_t s = 0; s < kSystemSection; ++s) {
    for (std::string_view p : kSections[s].prefixes) {
      if (!p.empty() && p == head) return s;
    }
  }
  return kSystemSection;
}

bool Shown(const CatalogueRow& r) {
  switch (r.kind) {
    case ValueKind::kBand:
    case ValueKind::kHex:
    case ValueKind::kText:
      return false;  // bands have their own tables, the name heads the report
    default:
      break;
  }
  // The files' copy of the switch bits is no page's value; bytes no page names keep their
  // place names ("image[70]", "spare_byte") and mean nothing to a venue.
  return r.place.where != Where::kAltSwitchBit && !r.name.starts_with("image[") &&
         !r.name.starts_with("spare_");
}

// The unit a bare number is read in, as a page's caption would give it.
std::string_view UnitSuffix(Unit unit) {
  switch (unit) {
    case Unit::kDb:
    case Unit::kTonePosition:
      return " dB";
    case Unit::kHz:
      return " Hz";
    case Unit::kMs:
      return " ms";
    case Unit::kPercent:
      return "%";
    case Unit::kSecond:
      return " s";
    default:
      return "";
  }
}

bool IsNumber(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return !text.empty() && text.find_first_not_of("0123456789.") == std::string_view::npos;
}

std::string ValueText(const CatalogueRow& r, const FieldEntry& field, const ParamImage& image,
                      Lang lang) {
  if (r.kind == ValueKind::kOnOff) {
    const bool on = ReadValue(image, r) != 0;
    return std::string(ReportWord(on ? ReportText::kOn : ReportText::kOff, lang));
  }
  if (r.kind == ValueKind::kChoice) {
    if (std::string word = ChoiceWord(r, ReadValue(image, r), lang); !word.empty()) return word;
  }
  std::string text = r.readout.kind == ReadoutKind::kNone
                         ? field.text
                         : FormatReadout(r.readout, ReadValue(image, r));
  if (IsNumber(text)) text += UnitSuffix(r.unit);
  if (r.readout.kind == ReadoutKind::kNone) return text;
  constexpr std::string_view kOff = " off";
  if (r.kind == ValueKind::kLevel && field.text.size() > kOff.size() &&
      field.text.compare(field.text.size() - kOff.size(), kOff.size(), kOff) == 0) {
    text += ReportWord(ReportText::kLevelOff, lang);
  }
  return text;
}

}  // namespace

std::string EqSetTitle(EqSet set, Lang lang) {
  for (const EqPlace& place : kEqPlaces) {
    if (place.set != set) continue;
    return std::string(LabelText(kSections[place.section].title, lang)) + " EQ" +
           std::string(place.suffix) +
           (place.setNumber > 0 ? SetSuffix(place.setNumber, lang) : std::string());
  }
  return kEqSets[static_cast<std::size_t>(set)].name;
}

std::vector<ReportSection> BuildReport(const ParamImage& image, Lang lang) {
  std::vector<ReportSection> sections(kSections.size());
  for (std::size_t s = 0; s < kSections.size(); ++s) {
    sections[s].title = LabelText(kSections[s].title, lang);
  }
  for (const FieldEntry& field : DescribeParamFile(ParamFileDataFromImage(image))) {
    const CatalogueRow* r = FindRow(field.key);
    if (r == nullptr || !Shown(*r)) continue;
    ReportRow out;
    out.parameter = Caption(*r, field.key, lang);
    if (r->perSet.sets > 1) out.parameter += SetSuffix(r->perSet.set + 1, lang);
    out.value = ValueText(*r, field, image, lang);
    out.name = field.key;
    sections[SectionOf(field.key)].rows.push_back(std::move(out));
  }
  for (const EqPlace& place : kEqPlaces) {
    const auto& info = kEqSets[static_cast<std::size_t>(place.set)];
    ReportEq eq;
    eq.set = place.set;
    eq.title = EqSetTitle(place.set, lang);
    const EqBand* bands = image.set(place.set);
    eq.bands.assign(bands, bands + info.memoryBands);
    DerivePassFilterBands(image, place.set, eq.bands.data());
    sections[place.section].eqs.push_back(std::move(eq));
  }
  return sections;
}

ReportBandCells BandCells(const EqBand& band, Lang lang) {
  ReportBandCells cells;
  cells.type = band.type >= kBandPeak && band.type <= kBandHighPass
                   ? std::string(ShownBandType(band.type, lang))
                   : BandTypeName(band.type);
  cells.frequency = std::to_string(band.freq) + " Hz";
  if (band.type == kBandLowPass || band.type == kBandHighPass) {
    cells.slope = SlopeName(band.slope);
  } else {
    cells.q = TenthsText(band.q);
    cells.gain = std::string(band.gain > 0 ? "+" : "") + TenthsText(band.gain) + " dB";
  }
  return cells;
}

}  // namespace tavelo
