#pragma once
// The API's routes for schedules, alarms and each room's reference content:
//   GET/POST /schedules, PUT/DELETE /schedules/{name}, GET /schedules/dry-run,
//   GET /alarms, GET/PUT/DELETE /rooms/{name}/reference.
#include "hub/Api.h"
#include "hub/alarms/AlarmRunner.h"
#include "hub/schedule/ScheduleRunner.h"

namespace tavelo::hub {

class ScheduleRoutes : public ApiRoutes {
 public:
  ScheduleRoutes(ScheduleRunner& schedules, AlarmRunner& alarms, Store& store, RoomAccess& rooms)
      : schedules_(schedules), alarms_(alarms), store_(store), rooms_(rooms) {}

  std::optional<ApiReply> Route(const Caller& caller, const ApiRequest& request,
                                const QStringList& parts) override;

  static constexpr int kDryRunDays = 7;
  static constexpr int kAlarmListLimit = 200;

 private:
  ApiReply List();
  ApiReply Put(const Caller& caller, const ApiRequest& request, const QString& name, bool adding);
  ApiReply Remove(const Caller& caller, const ApiRequest& request, const QString& name);
  ApiReply DryRunReply();
  ApiReply AlarmList();
  ApiReply Reference(const QString& room);
  ApiReply PutReference(const Caller& caller, const ApiRequest& request, const QString& room);
  ApiReply RemoveReference(const Caller& caller, const ApiRequest& request, const QString& room);
  // Reloads the scheduler after a change; a refusal when the database cannot be read.
  std::optional<ApiReply> Reload();

  ScheduleRunner& schedules_;
  AlarmRunner& alarms_;
  Store& store_;
  RoomAccess& rooms_;
};

// The dry run's listing: {"time_zone", "from", "days", "rooms": [{"room", "firings": [...]}]}.
QJsonObject DryRunJson(const std::vector<DayPart>& parts, const QStringList& rooms,
                       const QTimeZone& zone, qint64 from, int days);

}  // namespace tavelo::hub
