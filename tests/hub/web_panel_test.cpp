// What the service hands the web panel: curves computed by the response code, the value pages
// in both languages, the panel's files (and nothing else) with their headers, and the files'
// own rules: small, self-contained, never turning service data into markup.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

#include "core/params/ParamImage.h"
#include "core/presets/ParamFile.h"
#include "hub/RoomCurves.h"
#include "hub/RoomSheet.h"
#include "hub/WebAssets.h"

namespace tavelo::hub {
namespace {

QByteArray FileOf(const ParamImage& image) {
  const auto bytes = BuildParamFile(image);
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

QJsonObject SetNamed(const QJsonObject& curves, const QString& name) {
  for (const QJsonValue& set : curves.value(QStringLiteral("sets")).toArray())
    if (set.toObject().value(QStringLiteral("name")).toString() == name) return set.toObject();
  return {};
}

// The curve's value at the column nearest to `hz`.
double DbAt(const QJsonObject& curves, const QJsonObject& set, double hz) {
  const QJsonArray columns = curves.value(QStringLiteral("hz")).toArray();
  const QJsonArray db = set.value(QStringLiteral("db")).toArray();
  qsizetype best = 0;
  for (qsizetype i = 0; i < columns.size(); ++i)
    if (std::fabs(std::log(columns[i].toDouble() / hz)) <
        std::fabs(std::log(columns[best].toDouble() / hz)))
      best = i;
  return db.at(best).toDouble();
}

TEST(RoomCurvesTest, APeakShowsAtItsFrequencyWithItsMarker) {
  ParamImage flat;
  ApplyDefaults(flat);
  ParamImage peaked = flat;
  peaked.set(kEqMusic)[0] = EqBand{0, kBandPeak, 1000, 10, 60};
  const auto before = RoomCurves(FileOf(flat));
  const auto after = RoomCurves(FileOf(peaked));
  ASSERT_TRUE(before && after);

  const QJsonArray sets = after->value(QStringLiteral("sets")).toArray();
  EXPECT_EQ(sets.size(), kEqSetCount);
  const QJsonArray hz = after->value(QStringLiteral("hz")).toArray();
  ASSERT_GT(hz.size(), 100);
  EXPECT_LT(hz.first().toDouble(), 20.0);
  EXPECT_GT(hz.last().toDouble(), 20000.0);

  const QJsonObject music = SetNamed(*after, QStringLiteral("music_eq"));
  const QJsonObject musicBefore = SetNamed(*before, QStringLiteral("music_eq"));
  ASSERT_EQ(music.value(QStringLiteral("db")).toArray().size(), hz.size());
  EXPECT_NEAR(DbAt(*after, music, 1000) - DbAt(*before, musicBefore, 1000), 6.0, 0.3);
  EXPECT_NEAR(DbAt(*after, music, 30) - DbAt(*before, musicBefore, 30), 0.0, 0.2);
  // The other sets did not move.
  EXPECT_EQ(SetNamed(*after, QStringLiteral("mic_eq_a")),
            SetNamed(*before, QStringLiteral("mic_eq_a")));

  const QJsonObject band = music.value(QStringLiteral("bands")).toArray().at(0).toObject();
  EXPECT_EQ(band.value(QStringLiteral("hz")).toInt(), 1000);
  EXPECT_DOUBLE_EQ(band.value(QStringLiteral("gain_db")).toDouble(), 6.0);
  EXPECT_TRUE(band.value(QStringLiteral("marker")).toBool());
  // The page keeps its pass filters as the last bands: drawn in the curve, no marker.
  const QJsonArray bands = music.value(QStringLiteral("bands")).toArray();
  EXPECT_EQ(bands.size(), kEqSets[kEqMusic].memoryBands);
  EXPECT_FALSE(bands.last().toObject().value(QStringLiteral("marker")).toBool());

  const QJsonObject title = music.value(QStringLiteral("title")).toObject();
  EXPECT_FALSE(title.value(QStringLiteral("en")).toString().isEmpty());
  EXPECT_NE(title.value(QStringLiteral("zh")).toString(),
            title.value(QStringLiteral("en")).toString());
}

TEST(RoomCurvesTest, WildBandsGiveFiniteNumbersAndBadFilesNothing) {
  ParamImage image;
  ApplyDefaults(image);
  for (int s = 0; s < kEqSetCount; ++s)
    for (int b = 0; b < kEqSets[static_cast<std::size_t>(s)].memoryBands; ++b)
      image.set(static_cast<EqSet>(s))[b] =
          EqBand{9, static_cast<std::int8_t>(b % 6), -5, 0, 32000};
  const auto curves = RoomCurves(FileOf(image));
  ASSERT_TRUE(curves);
  for (const QJsonValue& set : curves->value(QStringLiteral("sets")).toArray())
    for (const QJsonValue& db : set.toObject().value(QStringLiteral("db")).toArray())
      ASSERT_TRUE(db.isDouble() && std::isfinite(db.toDouble()));

  QByteArray broken = FileOf(image);
  broken[100] = static_cast<char>(broken[100] ^ 0x5A);
  EXPECT_FALSE(RoomCurves(broken));
  EXPECT_FALSE(RoomCurves(broken.left(1000)));
  EXPECT_FALSE(RoomSheet(broken));
  EXPECT_FALSE(RoomSheet(QByteArray()));
}

TEST(RoomSheetTest, ValuesCarryNameCaptionAndUnitInBothLanguages) {
  ParamImage image;
  ApplyDefaults(image);
  image.byte(img::kMusicVolume) = 42;
  const auto sheet = RoomSheet(FileOf(image));
  ASSERT_TRUE(sheet);
  ASSERT_GT(sheet->size(), 3);
  bool found = false;
  for (const QJsonValue& page : *sheet) {
    EXPECT_FALSE(page.toObject()
                     .value(QStringLiteral("title"))
                     .toObject()
                     .value(QStringLiteral("zh"))
                     .toString()
                     .isEmpty());
    for (const QJsonValue& value : page.toObject().value(QStringLiteral("rows")).toArray()) {
      const QJsonObject row = value.toObject();
      if (row.value(QStringLiteral("name")).toString() != QStringLiteral("music.volume")) continue;
      found = true;
      EXPECT_TRUE(row.value(QStringLiteral("value"))
                      .toObject()
                      .value(QStringLiteral("en"))
                      .toString()
                      .contains(QStringLiteral("42")));
      const QJsonObject caption = row.value(QStringLiteral("caption")).toObject();
      EXPECT_NE(caption.value(QStringLiteral("en")), caption.value(QStringLiteral("zh")));
    }
  }
  EXPECT_TRUE(found);
}

TEST(WebAssetsTest, ServesPlainFilesOfTheFolderOnly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("web/sub")));
  const auto put = [&](const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  put(QStringLiteral("web/index.html"), "<!DOCTYPE html>");
  put(QStringLiteral("web/app.js"), "'use strict';");
  put(QStringLiteral("web/notes.txt"), "private");
  put(QStringLiteral("web/sub/deep.js"), "deep");
  put(QStringLiteral("secret.html"), "secret");
  put(QStringLiteral("web/huge.js"), QByteArray(600 * 1024, 'x'));
  const WebAssets assets(dir.filePath(QStringLiteral("web")));

  const auto index = assets.Find(QStringLiteral("/"));
  ASSERT_TRUE(index);
  EXPECT_EQ(index->body, QByteArray("<!DOCTYPE html>"));
  EXPECT_TRUE(index->contentType.startsWith("text/html"));
  const auto script = assets.Find(QStringLiteral("/app.js"));
  ASSERT_TRUE(script);
  EXPECT_TRUE(script->contentType.startsWith("text/javascript"));
  for (const char* refused : {"/../secret.html", "/sub/deep.js", "/notes.txt", "/missing.js", "",
                              "/.js", "/index.html/", "//secret.html", "/huge.js", "/APP.JS"})
    EXPECT_FALSE(assets.Find(QString::fromLatin1(refused))) << refused;
}

TEST(WebAssetsTest, PagesForbidInlineAndForeignCode) {
  QByteArray policy;
  bool sniffing = true;
  for (const auto& [name, value] : PanelHeaders("text/html")) {
    if (name == "Content-Security-Policy") policy = value;
    if (name == "X-Content-Type-Options" && value == "nosniff") sniffing = false;
  }
  EXPECT_FALSE(sniffing);
  EXPECT_TRUE(policy.contains("default-src 'none'"));
  EXPECT_TRUE(policy.contains("script-src 'self'"));
  EXPECT_TRUE(policy.contains("frame-ancestors 'none'"));
  EXPECT_FALSE(policy.contains("unsafe"));
}

#ifdef TAVELO_WEB_DIR
// The shipped files: the first view stays small, loads nothing from elsewhere, and never
// hands text to the HTML parser (so nothing from the service can become markup).
TEST(WebAssetsTest, ShippedFilesStaySmallLocalAndTextOnly) {
  const QDir web(QStringLiteral(TAVELO_WEB_DIR));
  qint64 total = 0;
  const QStringList files = web.entryList(
      {QStringLiteral("*.html"), QStringLiteral("*.js"), QStringLiteral("*.css")}, QDir::Files);
  ASSERT_TRUE(files.contains(QStringLiteral("index.html")));
  static const QRegularExpression markupSinks(QStringLiteral(
      R"(innerHTML|outerHTML|insertAdjacentHTML|document\.write|eval\(|new Function)"));
  static const QRegularExpression inlineCode(QStringLiteral(R"(<script>|\son[a-z]+\s*=)"));
  static const QRegularExpression foreign(QStringLiteral(R"((src|href)\s*=\s*["']?(https?:)?//)"));
  const WebAssets assets(web.path());
  for (const QString& name : files) {
    const auto asset = assets.Find(QLatin1Char('/') + name);
    ASSERT_TRUE(asset) << name.toStdString();
    total += asset->body.size();
    const QString text = QString::fromUtf8(asset->body);
    EXPECT_FALSE(markupSinks.match(text).hasMatch()) << name.toStdString();
    EXPECT_FALSE(foreign.match(text).hasMatch()) << name.toStdString();
    if (name.endsWith(QLatin1String(".html"))) {
      EXPECT_FALSE(inlineCode.match(text).hasMatch()) << "inline code in " << name.toStdString();
    }
  }
  EXPECT_LT(total, 200 * 1024);
}
#endif

}  // namespace
}  // namespace tavelo::hub
