#pragma once
// GET /metrics: the service's counters in the Prometheus text format. It answers without a
// token, as scrapers expect; the service listens on loopback unless told otherwise.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "hub/HubMetrics.h"

namespace tavelo::hub {

// The alarm counts until an alarm keeper is given: none in force.
class NoAlarms : public AlarmCounts {
 public:
  std::map<QString, int> ActiveByKind() const override { return {}; }
};

struct MetricsReply {
  int status = 200;
  QByteArray contentType;
  QByteArray body;
};

class MetricsRoute {
 public:
  using Clock = std::function<qint64()>;
  MetricsRoute(RoomAccess& rooms, HubMetrics& metrics, const AlarmCounts& alarms, Clock clock);

  static constexpr const char* kPath = "/metrics";
  static constexpr const char* kContentType = "text/plain; version=0.0.4; charset=utf-8";

  // The reply when the request is for this route, nothing otherwise.
  std::optional<MetricsReply> Handle(const QByteArray& method, const QString& path) const;

 private:
  RoomAccess& rooms_;
  HubMetrics& metrics_;
  const AlarmCounts& alarms_;
  Clock clock_;
};

}  // namespace tavelo::hub
