#include "hub/MetricsRoute.h"

namespace tavelo::hub {

MetricsRoute::MetricsRoute(RoomAccess& rooms, HubMetrics& metrics, const AlarmCounts& alarms,
                           Clock clock)
    : rooms_(rooms), metrics_(metrics), alarms_(alarms), clock_(std::move(clock)) {}

std::optional<MetricsReply> MetricsRoute::Handle(const QByteArray& method,
                                                 const QString& path) const {
  if (path != QLatin1String(kPath)) return std::nullopt;
  if (method != "GET")
    return MetricsReply{405, "application/json", R"({"error":"/metrics takes GET only"})"};
  return MetricsReply{200, kContentType, MetricsText(rooms_.Rooms(), metrics_, alarms_, clock_())};
}

}  // namespace tavelo::hub
