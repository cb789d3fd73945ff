#pragma once
// The service's HTTP API under /api/v1 as a plain class: a request in, a status and a JSON
// body out. The HTTP server only carries bytes to and from it.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "hub/Accounts.h"
#include "hub/HubMetrics.h"
#include "hub/RoomAccess.h"
#include "hub/Store.h"

namespace tavelo::hub {

class Rollouts;

struct ApiRequest {
  QByteArray method;  // "GET", "POST", ...
  QString path;       // "/api/v1/rooms/room-01/values", decoded
  QByteArray authorization;
  QByteArray body;
  QString origin;                          // the client's address, for the audit log
  QString source = QStringLiteral("api");  // what the change events are tagged with
};

struct ApiReply {
  int status = 200;
  QByteArray body;  // JSON
  qint64 retryAfterSeconds = 0;
};

// A group of routes kept in its own file (schedules, alarms, ...): asked, once the caller is
// known, about every request the API itself does not serve; nothing means "not mine".
class ApiRoutes {
 public:
  virtual ~ApiRoutes() = default;
  virtual std::optional<ApiReply> Route(const Caller& caller, const ApiRequest& request,
                                        const QStringList& parts) = 0;
};

class Api {
 public:
  using Clock = std::function<qint64()>;  // milliseconds since 1970
  Api(Store& store, Accounts& accounts, RoomAccess& rooms, Clock clock);

  static constexpr qsizetype kMaxBodyBytes = 64 * 1024;

  ApiReply Handle(const ApiRequest& request);
  // The same for a caller already known (the MQTT bridge's own user): no token is read.
  ApiReply HandleAs(const Caller& caller, const ApiRequest& request);

  // Every change the API makes goes here as one event: {"room", "source", "user", ...}.
  void SetEventSink(std::function<void(const QJsonObject&)> sink) { sink_ = std::move(sink); }
  // Where staged roll-outs run; without one, roll-outs are refused.
  void SetRollouts(Rollouts* rollouts) { rollouts_ = rollouts; }

  // Routes under /api/v1 served by another group; `parts` are the path's words after it.
  void AddRoutes(ApiRoutes& routes) { routes_.push_back(&routes); }
  // Where writes and recalls are counted by source and result.
  void SetMetrics(HubMetrics* metrics) { metrics_ = metrics; }

 private:
  ApiReply Session(const ApiRequest& request);
  ApiReply Rooms();
  ApiReply Values(const QString& room);
  ApiReply WriteValues(const Caller& caller, const QString& room, const ApiRequest& request);
  ApiReply Recall(const Caller& caller, const QString& room, const ApiRequest& request);
  ApiReply PutCaps(const Caller& caller, const QString& room, const ApiRequest& request);
  ApiReply GetCaps(const QString& room);
  ApiReply History(const QString& room);
  ApiReply Curves(const QString& room);     // every EQ set's bands and response
  ApiReply Sheet(const QString& room);      // the values as the pages show them
  std::optional<QStringList> StaffNames();  // nothing on a storage fault
  // Rollback and roll-outs (ApiRollout.cpp): a reply when the request is one of theirs.
  std::optional<ApiReply> RolloutRoutes(const Caller& caller, const QStringList& parts,
                                        const ApiRequest& request);
  ApiReply Rollback(const Caller& caller, const QString& room, const ApiRequest& request);
  ApiReply StartRollout(const Caller& caller, const ApiRequest& request);
  ApiReply Counted(const ApiRequest& request, ApiReply reply);

  Store& store_;
  Accounts& accounts_;
  RoomAccess& rooms_;
  Clock clock_;
  std::function<void(const QJsonObject&)> sink_;
  Rollouts* rollouts_ = nullptr;
  std::vector<ApiRoutes*> routes_;
  HubMetrics* metrics_ = nullptr;
};

// A room as GET /api/v1/rooms lists it.
QJsonObject RoomJson(const RoomView& room);

// The OpenAPI 3 document that describes the API.
QJsonObject OpenApiDocument();

}  // namespace tavelo::hub
