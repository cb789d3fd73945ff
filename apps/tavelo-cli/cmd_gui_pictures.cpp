// tavelo-cli report, and the pictures of `curve --svg/--png`: what needs Qt's painter.
#include <QDateTime>
#include <QString>
#include <iostream>

#include "Command.h"
#include "CurvePictureHook.h"
#include "cmd_device_options.h"
#include "cmd_device_panel.h"
#include "cmd_gui_app.h"
#include "presets/PresetImage.h"
#include "ui/report/CurvePlot.h"
#include "ui/report/ReportPdf.h"

namespace tavelo::cli {
namespace {

const std::string kReportUsage =
    "report FILE --out PDF [--lang en|zh]   a commissioning report of a parameter file: its"
    "\n      name and date, every page's settings with units, each equaliser's curve and bands";

int ReportUsageError(const std::string& message) {
  std::cerr << "tavelo-cli report: " << message << "\nusage: tavelo-cli " << kReportUsage << "\n";
  return kExitUsage;
}

int RunReport(const std::vector<std::string>& args) {
  std::string file, out, lang = "en";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--out" || a == "--lang") {
      if (i + 1 == args.size()) return ReportUsageError(a + " needs a value");
      (a == "--out" ? out : lang) = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      return ReportUsageError("unknown option " + a);
    } else if (file.empty()) {
      file = a;
    } else {
      return ReportUsageError("one FILE only");
    }
  }
  if (file.empty()) return ReportUsageError("FILE is missing");
  if (out.empty()) return ReportUsageError("--out PDF is missing");
  if (lang != "en" && lang != "zh") return ReportUsageError("--lang takes en or zh");

  std::string error;
  const auto image = LoadPresetImage(file, error);
  if (!image) {
    std::cerr << "tavelo-cli report: " << file << ": " << error << "\n";
    return kExitFailure;
  }
  GuiApp app;
  ui::ReportHeader header;
  header.presetName = QString::fromStdString(ShownPresetName(image->name));
  header.source = QString::fromStdString(file);
  header.when = QDateTime::currentDateTime();
  header.lang = lang == "zh" ? Lang::kChinese : Lang::kEnglish;
  QString why;
  if (!ui::WriteReportPdf(*image, header, QString::fromStdString(out), why)) {
    std::cerr << "tavelo-cli report: " << why.toStdString() << "\n";
    return kExitFailure;
  }
  std::cerr << "wrote " << out << ": " << ui::ReportPageCount(*image, header.lang) << " pages\n";
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

const RegisterCommand kReport("report", kReportUsage, RunReport);
[[maybe_unused]] const bool kPictures = (CurvePictureWriterSlot() = WritePicture, true);

}  // namespace
}  // namespace tavelo::cli
