// tavelo-cli report, and the pictures of `curve --svg/--png`: what needs Qt's painter.
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QString>
#include <functional>
#include <iostream>

#include "Command.h"
#include "CommandLine.h"
#include "CurvePictureHook.h"
#include "cmd_device_panel.h"
#include "cmd_gui_app.h"
#include "core/presets/PresetImage.h"
#include "core/text/Escaped.h"
#include "ui/report/CurvePlot.h"
#include "ui/report/ReportPdf.h"

namespace tavelo::cli {
namespace {

constexpr const char* kName = "report";
// A file argument that means standard output.
constexpr const char* kStandardOutput = "-";

// What `write` puts into a device, sent to standard output. Binary bytes are refused for a
// terminal: they would only garble the screen.
bool ToStandardOutput(bool binary, const std::function<bool(QIODevice&, QString&)>& write,
                      std::string& error) {
  if (binary && ::isatty(STDOUT_FILENO) == 1) {
    error = "standard output is a terminal; send it to a file or a pipe instead";
    return false;
  }
  std::cout.flush();
  QFile out;
  if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
    error = "cannot write to standard output: " + out.errorString().toStdString();
    return false;
  }
  QString why;
  if (!write(out, why)) {
    error = why.toStdString();
    return false;
  }
  if (!out.flush() || out.error() != QFileDevice::NoError) {
    error = "cannot write to standard output: " + out.errorString().toStdString();
    return false;
  }
  return true;
}

int RunReport(const CommandArgs& args) {
  const std::string& file = args.positional[0];
  const auto out = args.Value("--out");
  if (!out) return UsageError(kName, "--out PDF is missing");
  const std::string lang = args.Value("--lang").value_or("en");
  if (lang != "en" && lang != "zh") {
    return UsageError(kName, "--lang must be en or zh, not '" + ShownArgument(lang) + "'");
  }

  std::string error;
  const auto image = LoadPresetImage(file, error);
  if (!image) return CommandFailure(kName, file + ": " + error);
  GuiApp app;
  ui::ReportHeader header;
  header.presetName = QString::fromStdString(ShownPresetName(image->name));
  header.source = QString::fromStdString(file);
  header.when = QDateTime::currentDateTime();
  header.lang = lang == "zh" ? Lang::kChinese : Lang::kEnglish;
  const int pages = ui::ReportPageCount(*image, header.lang);
  if (*out == kStandardOutput) {
    std::string failure;
    const bool written = ToStandardOutput(
        true,
        [&](QIODevice& device, QString&) {
          ui::WriteReportPdf(*image, header, device);
          return true;
        },
        failure);
    if (!written) return CommandFailure(kName, failure);
    std::cerr << "wrote the report to standard output: " << pages << " pages\n";
    return kExitOk;
  }
  QString why;
  if (!ui::WriteReportPdf(*image, header, QString::fromStdString(*out), why)) {
    return CommandFailure(kName, why.toStdString());
  }
  std::cerr << "wrote " << *out << ": " << pages << " pages\n";
  return kExitOk;
}

bool WritePicture(const std::vector<EqBand>& bands, const CurvePictureRequest& request,
                  std::string& error) {
  GuiApp app;
  const auto format = request.svg ? ui::PictureFormat::kSvg : ui::PictureFormat::kPng;
  if (request.path == kStandardOutput) {
    return ToStandardOutput(
        !request.svg,
        [&](QIODevice& device, QString& why) {
          return ui::WriteCurvePicture(bands, device, "standard output", format, request.width,
                                       request.height, request.scale, why);
        },
        error);
  }
  QString why;
  const bool ok = ui::WriteCurvePicture(bands, QString::fromStdString(request.path), format,
                                        request.width, request.height, request.scale, why);
  error = why.toStdString();
  return ok;
}

const RegisterCommand kReport({
    .name = kName,
    .synopsis = "FILE --out PDF [--lang en|zh]",
    .summary = "a commissioning report of a parameter file as a PDF",
    .details = "  --out PDF      the report to write (required); - sends it to standard output\n"
               "  --lang en|zh   its language (default en)\n"
               "  The report holds the preset's name and the date, every page's settings with\n"
               "  their units, and each equaliser's curve and bands. FILE and PDF are paths as\n"
               "  given.",
    .valueOptions = {"--out", "--lang"},
    .operands = {"FILE"},
    .minOperands = 1,
    .maxOperands = 1,
    .run = RunReport,
});
[[maybe_unused]] const bool kPictures = (CurvePictureWriterSlot() = WritePicture, true);

}  // namespace
}  // namespace tavelo::cli
