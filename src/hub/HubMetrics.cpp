#include "hub/HubMetrics.h"

namespace tavelo::hub {

namespace {

// Numbers as the format reads them: no locale, no exponent for ordinary values.
QString Number(double value) {
  return QString::number(value, 'g', 15);
}

void Header(QString& out, const char* name, const char* type, const char* help) {
  out += QStringLiteral("# HELP %1 %2\n# TYPE %1 %3\n")
             .arg(QLatin1String(name), QLatin1String(help), QLatin1String(type));
}

}  // namespace

void HubMetrics::CountWrite(const QString& source, const QString& result) {
  ++writes_[{source, result}];
}

void HubMetrics::ObserveRequest(double seconds) {
  ++requests_;
  latencySum_ += seconds;
  for (std::size_t i = 0; i < kLatencyBounds.size(); ++i)
    if (seconds <= kLatencyBounds[i]) ++buckets_[i];
}

QString WriteResult(int status) {
  if (status == 200) return QStringLiteral("ok");
  if (status == 403) return QStringLiteral("refused");
  if (status == 409) return QStringLiteral("offline");
  if (status == 400 || status == 413 || status == 422) return QStringLiteral("invalid");
  return QStringLiteral("failed");
}

QString EscapeLabelValue(const QString& value) {
  QString out;
  out.reserve(value.size());
  for (QChar c : value) {
    if (c == QLatin1Char('\\'))
      out += QStringLiteral("\\\\");
    else if (c == QLatin1Char('"'))
      out += QStringLiteral("\\\"");
    else if (c == QLatin1Char('\n'))
      out += QStringLiteral("\\n");
    else
      out += c;
  }
  return out;
}

QByteArray MetricsText(const std::vector<RoomView>& rooms, const HubMetrics& metrics,
                       const AlarmCounts& alarms, qint64 now) {
  QString out;
  int online = 0;
  for (const RoomView& room : rooms) online += room.online ? 1 : 0;
  Header(out, "tavelo_rooms", "gauge", "Rooms the service watches.");
  out += QStringLiteral("tavelo_rooms %1\n").arg(rooms.size());
  Header(out, "tavelo_rooms_online", "gauge", "Rooms connected now.");
  out += QStringLiteral("tavelo_rooms_online %1\n").arg(online);

  Header(out, "tavelo_alarms_active", "gauge", "Alarms in force, by kind.");
  for (const auto& [kind, count] : alarms.ActiveByKind())
    out += QStringLiteral("tavelo_alarms_active{kind=\"%1\"} %2\n")
               .arg(EscapeLabelValue(kind))
               .arg(count);

  Header(out, "tavelo_writes_total", "counter", "Writes and recalls by source and result.");
  for (const auto& [key, count] : metrics.Writes())
    out += QStringLiteral("tavelo_writes_total{source=\"%1\",result=\"%2\"} %3\n")
               .arg(EscapeLabelValue(key.first), EscapeLabelValue(key.second))
               .arg(count);

  Header(out, "tavelo_http_request_duration_seconds", "histogram",
         "Time the API took to answer a request.");
  for (std::size_t i = 0; i < HubMetrics::kLatencyBounds.size(); ++i)
    out += QStringLiteral("tavelo_http_request_duration_seconds_bucket{le=\"%1\"} %2\n")
               .arg(Number(HubMetrics::kLatencyBounds[i]))
               .arg(metrics.LatencyBuckets()[i]);
  out += QStringLiteral("tavelo_http_request_duration_seconds_bucket{le=\"+Inf\"} %1\n")
             .arg(metrics.Requests());
  out += QStringLiteral("tavelo_http_request_duration_seconds_sum %1\n")
             .arg(Number(metrics.LatencySum()));
  out += QStringLiteral("tavelo_http_request_duration_seconds_count %1\n").arg(metrics.Requests());

  // Online rooms are seen now; an offline room was last seen when it went offline. A room
  // never seen has no sample.
  Header(out, "tavelo_room_last_seen_timestamp_seconds", "gauge",
         "When the service last had each room connected (seconds since 1970).");
  for (const RoomView& room : rooms) {
    const qint64 seen = room.online ? now : room.since;
    if (seen <= 0) continue;
    out += QStringLiteral("tavelo_room_last_seen_timestamp_seconds{room=\"%1\"} %2\n")
               .arg(EscapeLabelValue(room.name), Number(static_cast<double>(seen) / 1000.0));
  }
  return out.toUtf8();
}

}  // namespace tavelo::hub
