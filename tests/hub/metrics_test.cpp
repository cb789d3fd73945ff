// /metrics read back by a strict reader of the Prometheus text format: every line a comment
// of the known kinds or a sample of a declared family, label values unescaped, histogram
// buckets cumulative and ending in +Inf equal to the count.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <map>

#include "StandInVenue.h"
#include "hub/MetricsRoute.h"

namespace tavelo::hub {
namespace {

struct Sample {
  QString name;
  std::map<QString, QString> labels;
  double value = 0;
};

struct Exposition {
  std::map<QString, QString> types;  // family -> counter, gauge, histogram
  std::vector<Sample> samples;
  QString problem;  // the first line the reader refused, with why

  double Value(const QString& name, const std::map<QString, QString>& labels = {}) const {
    for (const Sample& s : samples)
      if (s.name == name && s.labels == labels) return s.value;
    ADD_FAILURE() << "no sample " << name.toStdString();
    return -1;
  }
};

// Reads `name{a="x",b="y"} value` after the name; false on anything else.
bool ReadLabels(const QString& text, qsizetype& at, std::map<QString, QString>& labels) {
  static const QRegularExpression labelName(QStringLiteral("\\G[a-zA-Z_][a-zA-Z0-9_]*"));
  if (at >= text.size() || text[at] != QLatin1Char('{')) return true;
  ++at;
  while (at < text.size() && text[at] != QLatin1Char('}')) {
    const auto name = labelName.match(text, at);
    if (!name.hasMatch()) return false;
    at = name.capturedEnd();
    if (text.mid(at, 2) != QStringLiteral("=\"")) return false;
    at += 2;
    QString value;
    while (true) {
      if (at >= text.size()) return false;
      const QChar c = text[at++];
      if (c == QLatin1Char('"')) break;
      if (c == QLatin1Char('\n')) return false;
      if (c != QLatin1Char('\\')) {
        value += c;
        continue;
      }
      if (at >= text.size()) return false;
      const QChar e = text[at++];
      if (e == QLatin1Char('\\') || e == QLatin1Char('"'))
        value += e;
      else if (e == QLatin1Char('n'))
        value += QLatin1Char('\n');
      else
        return false;  // no other escape exists
    }
    if (labels.count(name.captured())) return false;
    labels[name.captured()] = value;
    if (at < text.size() && text[at] == QLatin1Char(',')) ++at;
  }
  if (at >= text.size()) return false;
  ++at;
  return true;
}

Exposition Read(const QByteArray& bytes) {
  Exposition out;
  const QString text = QString::fromUtf8(bytes);
  if (!text.endsWith(QLatin1Char('\n'))) out.problem = QStringLiteral("no final line feed");
  static const QRegularExpression comment(
      QStringLiteral("^# (HELP|TYPE) ([a-zA-Z_:][a-zA-Z0-9_:]*) (.*)$"));
  static const QRegularExpression metricName(QStringLiteral("^[a-zA-Z_:][a-zA-Z0-9_:]*"));
  static const QRegularExpression number(
      QStringLiteral("^(-?\\d+(\\.\\d+)?([eE][-+]?\\d+)?|[-+]Inf|NaN)$"));
  // Lines are split on '\n' only: an unescaped line feed inside a label breaks the sample.
  for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const auto fail = [&](const char* why) {
      if (out.problem.isEmpty()) out.problem = QLatin1String(why) + QStringLiteral(": ") + line;
    };
    if (line.startsWith(QLatin1Char('#'))) {
      const auto match = comment.match(line);
      if (!match.hasMatch()) {
        fail("a comment of no known kind");
        continue;
      }
      if (match.captured(1) == QStringLiteral("TYPE")) {
        if (out.types.count(match.captured(2))) fail("a family typed twice");
        if (!QStringList{QStringLiteral("counter"), QStringLiteral("gauge"),
                         QStringLiteral("histogram")}
                 .contains(match.captured(3)))
          fail("an unknown type");
        out.types[match.captured(2)] = match.captured(3);
      }
      continue;
    }
    Sample sample;
    const auto name = metricName.match(line);
    if (!name.hasMatch()) {
      fail("no metric name");
      continue;
    }
    sample.name = name.captured();
    qsizetype at = name.capturedEnd();
    if (!ReadLabels(line, at, sample.labels)) {
      fail("bad labels");
      continue;
    }
    if (at >= line.size() || line[at] != QLatin1Char(' ')) {
      fail("no space before the value");
      continue;
    }
    const QString value = line.mid(at + 1);
    if (!number.match(value).hasMatch()) {
      fail("not a number");
      continue;
    }
    sample.value = value == QStringLiteral("+Inf") ? INFINITY : value.toDouble();
    QString family = sample.name;
    for (const char* suffix : {"_bucket", "_sum", "_count"})
      if (!out.types.count(family) && family.endsWith(QLatin1String(suffix)))
        family.chop(static_cast<qsizetype>(qstrlen(suffix)));
    if (!out.types.count(family)) fail("a sample before its TYPE");
    out.samples.push_back(sample);
  }
  return out;
}

class TwoAlarms : public AlarmCounts {
 public:
  std::map<QString, int> ActiveByKind() const override {
    return {{QStringLiteral("offline"), 2}, {QStringLiteral("drift"), 0}};
  }
};

TEST(MetricsTest, TheExpositionReadsBackAsPrometheusText) {
  hubtest::StandInVenue rooms;
  rooms.Add(QStringLiteral("room-01")).view.since = 1000;
  // A name with every character the format must escape, and one never seen.
  rooms.Add(QStringLiteral("Bar \"VIP\" \\ 2\nnorth"), false).view.since = 60000;
  rooms.Add(QStringLiteral("new"), false).view.since = 0;
  HubMetrics metrics;
  metrics.CountWrite(QStringLiteral("api"), WriteResult(200));
  metrics.CountWrite(QStringLiteral("api"), WriteResult(200));
  metrics.CountWrite(QStringLiteral("mqtt"), WriteResult(403));
  metrics.CountWrite(QStringLiteral("api"), WriteResult(409));
  for (double seconds : {0.0005, 0.004, 0.004, 0.3, 7.0}) metrics.ObserveRequest(seconds);
  const TwoAlarms alarms;
  const MetricsRoute route(rooms, metrics, alarms, [] { return qint64{1'700'000'000'000}; });

  EXPECT_FALSE(route.Handle("GET", QStringLiteral("/api/v1/rooms")));
  EXPECT_EQ(route.Handle("POST", QStringLiteral("/metrics"))->status, 405);
  const auto reply = route.Handle("GET", QStringLiteral("/metrics"));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 200);
  EXPECT_TRUE(reply->contentType.startsWith("text/plain; version=0.0.4"));
  const Exposition read = Read(reply->body);
  ASSERT_TRUE(read.problem.isEmpty()) << read.problem.toStdString() << "\n"
                                      << reply->body.toStdString();

  EXPECT_EQ(read.Value(QStringLiteral("tavelo_rooms")), 3);
  EXPECT_EQ(read.Value(QStringLiteral("tavelo_rooms_online")), 1);
  EXPECT_EQ(read.Value(QStringLiteral("tavelo_alarms_active"),
                       {{QStringLiteral("kind"), QStringLiteral("offline")}}),
            2);
  EXPECT_EQ(read.Value(QStringLiteral("tavelo_writes_total"),
                       {{QStringLiteral("source"), QStringLiteral("api")},
                        {QStringLiteral("result"), QStringLiteral("ok")}}),
            2);
  EXPECT_EQ(read.Value(QStringLiteral("tavelo_writes_total"),
                       {{QStringLiteral("source"), QStringLiteral("mqtt")},
                        {QStringLiteral("result"), QStringLiteral("refused")}}),
            1);
  EXPECT_EQ(read.types.at(QStringLiteral("tavelo_writes_total")), QStringLiteral("counter"));

  // The histogram: cumulative buckets in rising order, +Inf last and equal to the count.
  double previousBound = -1;
  double previousCount = 0;
  std::vector<const Sample*> buckets;
  for (const Sample& s : read.samples)
    if (s.name == QStringLiteral("tavelo_http_request_duration_seconds_bucket"))
      buckets.push_back(&s);
  ASSERT_EQ(buckets.size(), HubMetrics::kLatencyBounds.size() + 1);
  for (const Sample* s : buckets) {
    const QString le = s->labels.at(QStringLiteral("le"));
    const double bound = le == QStringLiteral("+Inf") ? INFINITY : le.toDouble();
    EXPECT_GT(bound, previousBound);
    EXPECT_GE(s->value, previousCount);
    previousBound = bound;
    previousCount = s->value;
  }
  EXPECT_EQ(buckets.back()->labels.at(QStringLiteral("le")), QStringLiteral("+Inf"));
  EXPECT_EQ(read.Value(QStringLiteral("tavelo_http_request_duration_seconds_bucket"),
                       {{QStringLiteral("le"), QStringLiteral("0.005")}}),
            3);
  EXPECT_EQ(previousCount,
            read.Value(QStringLiteral("tavelo_http_request_duration_seconds_count")));
  EXPECT_NEAR(read.Value(QStringLiteral("tavelo_http_request_duration_seconds_sum")), 7.3085, 1e-9);

  // Last seen: now for an online room, when it went away for an offline one, none if never.
  EXPECT_EQ(read.Value(QStringLiteral("tavelo_room_last_seen_timestamp_seconds"),
                       {{QStringLiteral("room"), QStringLiteral("room-01")}}),
            1'700'000'000);
  EXPECT_EQ(read.Value(QStringLiteral("tavelo_room_last_seen_timestamp_seconds"),
                       {{QStringLiteral("room"), QStringLiteral("Bar \"VIP\" \\ 2\nnorth")}}),
            60);
  int lastSeen = 0;
  for (const Sample& s : read.samples)
    lastSeen += s.name == QStringLiteral("tavelo_room_last_seen_timestamp_seconds") ? 1 : 0;
  EXPECT_EQ(lastSeen, 2);
}

TEST(MetricsTest, TheStrictReaderRefusesWhatTheFormatForbids) {
  // The reader above must fail real faults, or the test above proves nothing.
  for (const char* bad : {
           "# TYPE a gauge\na{room=\"x\ny\"} 1\n",   // unescaped line feed
           "# TYPE a gauge\na{room=\"x\\ty\"} 1\n",  // no such escape
           "# TYPE a gauge\na{room=\"x\"} 1,5\n",    // a localised number
           "a 1\n",                                  // no TYPE
           "# TYPE a gauge\na 1",                    // no final line feed
           "# TYPE a gauge\na{room=\"x\",room=\"y\"} 1\n",
       })
    EXPECT_FALSE(Read(bad).problem.isEmpty()) << bad;
}

}  // namespace
}  // namespace tavelo::hub
