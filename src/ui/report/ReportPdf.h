#pragma once
// The commissioning report as a PDF: the preset's name and date, every page's settings as
// tables with units, and each equaliser set's response drawn as a plot with its bands.
#include <QDateTime>
#include <QString>

#include "core/params/ParamImage.h"
#include "core/text/Lang.h"

class QIODevice;

namespace tavelo::ui {

struct ReportHeader {
  QString presetName;  // printable already (control characters replaced)
  QString source;      // the file or processor the preset came from
  QDateTime when;
  tavelo::Lang lang = tavelo::Lang::kEnglish;
};

// Writes the report to `path` through a temporary file, so a failed write leaves an older
// report whole. False with `error` naming the file and the cause.
bool WriteReportPdf(const tavelo::ParamImage& image, const ReportHeader& header,
                    const QString& path, QString& error);
// The same into `out`, open for writing (standard output, say); the caller flushes it.
void WriteReportPdf(const tavelo::ParamImage& image, const ReportHeader& header, QIODevice& out);

// The page count the report of `image` takes (for tests and the console's summary).
int ReportPageCount(const tavelo::ParamImage& image, tavelo::Lang lang);

}  // namespace tavelo::ui
