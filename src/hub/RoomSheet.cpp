#include "hub/RoomSheet.h"

#include <QJsonObject>

#include "core/presets/ReportModel.h"
#include "hub/SetImage.h"

namespace tavelo::hub {

namespace {

QJsonObject BothLanguages(const std::string& english, const std::string& chinese) {
  return {{QStringLiteral("en"), QString::fromStdString(english)},
          {QStringLiteral("zh"), QString::fromStdString(chinese)}};
}

}  // namespace

std::optional<QJsonArray> RoomSheet(const QByteArray& parameterFile) {
  const auto image = ImageOfSet(parameterFile);
  if (!image) return std::nullopt;
  const std::vector<ReportSection> english = BuildReport(*image, Lang::kEnglish);
  const std::vector<ReportSection> chinese = BuildReport(*image, Lang::kChinese);
  QJsonArray sections;
  // Both reports come from one image, so their sections and rows pair up one to one.
  for (std::size_t s = 0; s < english.size() && s < chinese.size(); ++s) {
    QJsonArray rows;
    const auto& en = english[s].rows;
    const auto& zh = chinese[s].rows;
    for (std::size_t r = 0; r < en.size() && r < zh.size(); ++r)
      rows.append(
          QJsonObject{{QStringLiteral("name"), QString::fromStdString(en[r].name)},
                      {QStringLiteral("caption"), BothLanguages(en[r].parameter, zh[r].parameter)},
                      {QStringLiteral("value"), BothLanguages(en[r].value, zh[r].value)}});
    sections.append(
        QJsonObject{{QStringLiteral("title"), BothLanguages(english[s].title, chinese[s].title)},
                    {QStringLiteral("rows"), rows}});
  }
  return sections;
}

}  // namespace tavelo::hub
