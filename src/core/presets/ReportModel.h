#pragma once
// What a commissioning report says about one preset, page by page: each page's settings as
// the panel shows them (label, value with its unit, the name tools use) and each equaliser
// set's bands. Pure data, so the PDF writer only lays it out and a test can read it.
#include <string>
#include <vector>

#include "core/params/ParamImage.h"
#include "core/text/Lang.h"

namespace tavelo {

struct ReportRow {
  std::string parameter;  // the panel's label ("Music Max Vol"), or the name where none
  std::string value;      // "82", "-5db", "1:4", "AUX", "on"; a level's off button: "(off)";
                          // an on/off value is the name's own ("on" = the bit set)
  std::string name;       // "music.max_volume"
};

struct ReportEq {
  std::string title;  // "Music EQ", "Main EQ, set 2"
  EqSet set = kEqMusic;
  std::vector<EqBand> bands;  // every band the page keeps (its pass filters last)
};

struct ReportSection {
  std::string title;  // the page: "Music", "Mic", ... "System"
  std::vector<ReportRow> rows;
  std::vector<ReportEq> eqs;
};

// Sections in the order of the panel's pages; values the pages do not show (spare and
// unnamed bytes, whole switch words) are left out.
std::vector<ReportSection> BuildReport(const ParamImage& image, Lang lang);

// An equaliser set as the pages name it: "Mic EQ (MIC1)", "Main EQ, set 2".
std::string EqSetTitle(EqSet set, Lang lang);

// One band as a table row: type, frequency, Q, gain, slope ("peak", "1000 Hz", "1.0",
// "+3.0 dB", "").
struct ReportBandCells {
  std::string type, frequency, q, gain, slope;
};
ReportBandCells BandCells(const EqBand& band, Lang lang = Lang::kEnglish);

}  // namespace tavelo
