#pragma once
// The service's counters for /metrics and their rendering in the Prometheus text format:
// rooms online, alarms by kind, writes by source and result, the API's request latency and
// each room's last-seen time.
#include <QByteArray>
#include <QString>
#include <array>
#include <map>
#include <utility>
#include <vector>

#include "hub/RoomAccess.h"

namespace tavelo::hub {

// The alarms in force, by kind. The alarm keeper implements it.
class AlarmCounts {
 public:
  virtual ~AlarmCounts() = default;
  virtual std::map<QString, int> ActiveByKind() const = 0;
};

class HubMetrics {
 public:
  // Upper bounds of the latency histogram's buckets, in seconds (+Inf follows).
  static constexpr std::array<double, 10> kLatencyBounds = {0.001, 0.0025, 0.005, 0.01, 0.025,
                                                            0.05,  0.1,    0.25,  0.5,  1.0};

  // `result` is one of WriteResult()'s words.
  void CountWrite(const QString& source, const QString& result);
  void ObserveRequest(double seconds);

  const std::map<std::pair<QString, QString>, quint64>& Writes() const { return writes_; }
  // Requests at or under each bound, and all of them.
  const std::array<quint64, kLatencyBounds.size()>& LatencyBuckets() const { return buckets_; }
  quint64 Requests() const { return requests_; }
  double LatencySum() const { return latencySum_; }

 private:
  std::map<std::pair<QString, QString>, quint64> writes_;
  std::array<quint64, kLatencyBounds.size()> buckets_{};
  quint64 requests_ = 0;
  double latencySum_ = 0;
};

// The result of a write by its API status: "ok", "refused" (role or cap), "invalid" (a bad
// request), "offline" (the room is), "failed" (the room or the store did not take it).
QString WriteResult(int status);

// A label value escaped for the text format: backslash, double quote and line feed.
QString EscapeLabelValue(const QString& value);

// The whole exposition. `now` in milliseconds since 1970.
QByteArray MetricsText(const std::vector<RoomView>& rooms, const HubMetrics& metrics,
                       const AlarmCounts& alarms, qint64 now);

}  // namespace tavelo::hub
