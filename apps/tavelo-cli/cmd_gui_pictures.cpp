// tavelo-cli report, and the pictures of `curve --svg/--png`: what needs Qt's painter.
#include <QDateTime>
#include <QString>
#include <iostream>

#include "Command.h"
#include "CommandLine.h"
#include "CurvePictureHook.h"
#include "cmd_device_panel.h"
#include "cmd_gui_app.h"
#include "presets/PresetImage.h"
#include "text/Escaped.h"
#include "ui/report/CurvePlot.h"
#include "ui/report/ReportPdf.h"

namespace tavelo::cli {
namespace {

constexpr const char* kName = "report";

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
  QString why;
  if (!ui::WriteReportPdf(*image, header, QString::fromStdString(*out), why)) {
    return CommandFailure(kName, why.toStdString());
  }
  std::cerr << "wrote " << *out << ": " << ui::ReportPageCount(*image, header.lang) << " pages\n";
  return kExitOk;
}

bool WritePicture(const std::vector<EqBand>& bands, const CurvePictureRequest& request,
                  std::string& error) {
  GuiApp app;
  QString why;
  const bool ok =
      ui::WriteCurvePicture(bands, QString::fromStdString(request.path),
                            request.svg ? ui::PictureFormat::kSvg : ui::PictureFormat::kPng,
                            request.width, request.height, request.scale, why);
  error = why.toStdString();
  return ok;
}

const RegisterCommand kReport({
    .name = kName,
    .synopsis = "FILE --out PDF [--lang en|zh]",
    .summary = "a commissioning report of a parameter file as a PDF",
    .details = "  --out PDF      the report to write (required)\n"
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
