#include "hub/Api.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

#include "core/presets/FileReport.h"
#include "core/presets/NamedEdits.h"
#include "core/presets/ParamFields.h"
#include "hub/ApiReplies.h"
#include "hub/RoomCurves.h"
#include "hub/RoomSheet.h"
#include "hub/SetFields.h"
#include "hub/WriteGate.h"

namespace tavelo::hub {

namespace {

const QString kPrefix = QStringLiteral("/api/v1/");
constexpr int kHistoryLimit = 100;

QJsonValue Known(int value) {
  return value < 0 ? QJsonValue() : QJsonValue(value);
}

// A storage fault: what could not be done, why in the user's terms, and when to try again.
ApiReply StorageFault(const Store& store, const QString& what) {
  QString why;
  qint64 retryAfter = 0;
  switch (store.lastFault()) {
    case Database::Fault::Locked:
      why = QStringLiteral(
          "another program holds the database's write lock; try again in a "
          "moment");
      retryAfter = 1;
      break;
    case Database::Fault::Unreachable:
      why = QStringLiteral(
          "the database cannot be reached; the rooms are still watched and can "
          "be read, and the service reconnects when it returns");
      retryAfter = 5;
      break;
    default:
      why = QStringLiteral("the database refused it");
      break;
  }
  ApiReply reply =
      Error(503, QStringLiteral("%1: %2 (%3)").arg(what, why, store.lastError().left(300)));
  reply.retryAfterSeconds = retryAfter;
  return reply;
}

}  // namespace

QJsonObject RoomJson(const RoomView& room) {
  QJsonObject json{
      {QStringLiteral("name"), room.name},
      {QStringLiteral("online"), room.online},
      {QStringLiteral("since"), room.since},
      {QStringLiteral("state"), room.state},
      {QStringLiteral("preset"), room.preset == 0 ? QJsonValue() : QJsonValue(room.preset)},
      {QStringLiteral("preset_name"), room.presetName},
      {QStringLiteral("volumes"), QJsonObject{{QStringLiteral("music"), Known(room.musicVolume)},
                                              {QStringLiteral("mic"), Known(room.micVolume)},
                                              {QStringLiteral("effect"), Known(room.effectVolume)},
                                              {QStringLiteral("master"), Known(room.masterLevel)}}},
      {QStringLiteral("locked"), room.locked},
      {QStringLiteral("admin_mode"), room.adminMode}};
  if (!room.problem.isEmpty()) json.insert(QStringLiteral("problem"), room.problem);
  if (!room.frontPanel.isEmpty()) json.insert(QStringLiteral("front_panel"), room.frontPanel);
  return json;
}

namespace {
// A body too large or a path outside the API: refused before anything else is read.
std::optional<ApiReply> Unservable(const ApiRequest& request) {
  if (request.body.size() > Api::kMaxBodyBytes)
    return Error(413, QStringLiteral("the body is larger than %1 bytes").arg(Api::kMaxBodyBytes));
  if (!request.path.startsWith(kPrefix)) return Error(404, QStringLiteral("no such resource"));
  return std::nullopt;
}

const FieldEntry* FindField(const std::vector<FieldEntry>& fields, const QString& key) {
  const std::string wanted = key.toStdString();
  for (const FieldEntry& field : fields)
    if (field.key == wanted) return &field;
  return nullptr;
}

}  // namespace

Api::Api(Store& store, Accounts& accounts, RoomAccess& rooms, Clock clock)
    : store_(store), accounts_(accounts), rooms_(rooms), clock_(std::move(clock)) {}

ApiReply Api::Handle(const ApiRequest& request) {
  if (const auto refusal = Unservable(request)) return *refusal;
  const QStringList parts = request.path.mid(kPrefix.size()).split(QLatin1Char('/'));
  const QByteArray& method = request.method;

  if (parts == QStringList{QStringLiteral("openapi.json")} && method == "GET")
    return Json(200, OpenApiDocument());
  if (parts == QStringList{QStringLiteral("session")} && method == "POST") return Session(request);

  const QByteArray bearer = "Bearer ";
  if (!request.authorization.startsWith(bearer))
    return Error(401, QStringLiteral("log in first: POST /api/v1/session, then send "
                                     "Authorization: Bearer TOKEN"));
  const QString token = QString::fromLatin1(request.authorization.mid(bearer.size()).trimmed());
  const TokenVerdict verdict = accounts_.CheckToken(token, clock_());
  if (verdict.storageFault)
    return StorageFault(store_, QStringLiteral("the token cannot be checked"));
  const auto& caller = verdict.caller;
  if (!caller)
    return Error(401, QStringLiteral("the token is unknown, expired or revoked: log in again"));

  if (parts == QStringList{QStringLiteral("session")} && method == "DELETE") {
    if (!accounts_.Logout(token))
      return StorageFault(store_, QStringLiteral("the session could not be ended"));
    return Json(200, QJsonObject{{QStringLiteral("ended"), true}});
  }
  return HandleAs(*caller, request);
}

ApiReply Api::HandleAs(const Caller& caller, const ApiRequest& request) {
  if (const auto refusal = Unservable(request)) return *refusal;
  const QStringList parts = request.path.mid(kPrefix.size()).split(QLatin1Char('/'));
  const QByteArray& method = request.method;
  if (parts == QStringList{QStringLiteral("rooms")} && method == "GET") return Rooms();
  if (parts == QStringList{QStringLiteral("names")} && method == "GET")
    return {200, QByteArray::fromStdString(SettableNamesJson()), 0};
  if (parts.size() == 3 && parts[0] == QStringLiteral("rooms")) {
    const QString& room = parts[1];
    if (!rooms_.Room(room)) return Error(404, QStringLiteral("no room is named \"%1\"").arg(room));
    const QString& what = parts[2];
    if (what == QStringLiteral("values") && method == "GET") return Values(room);
    if (what == QStringLiteral("values") && method == "PATCH")
      return Counted(request, WriteValues(caller, room, request));
    if (what == QStringLiteral("recall") && method == "POST")
      return Counted(request, Recall(caller, room, request));
    if (what == QStringLiteral("caps") && method == "PUT") return PutCaps(caller, room, request);
    if (what == QStringLiteral("caps") && method == "GET") return GetCaps(room);
    if (what == QStringLiteral("history") && method == "GET") return History(room);
    if (what == QStringLiteral("curves") && method == "GET") return Curves(room);
    if (what == QStringLiteral("sheet") && method == "GET") return Sheet(room);
  }
  if (auto reply = RolloutRoutes(caller, parts, request)) return *reply;
  for (ApiRoutes* routes : routes_)
    if (auto reply = routes->Route(caller, request, parts)) return *reply;
  return Error(404, QStringLiteral("no such resource: %1 %2")
                        .arg(QString::fromLatin1(method), request.path.left(200)));
}

ApiReply Api::Session(const ApiRequest& request) {
  ApiReply refusal;
  const auto body = BodyObject(request, refusal);
  if (!body) return refusal;
  const QJsonValue user = body->value(QStringLiteral("user"));
  const QJsonValue password = body->value(QStringLiteral("password"));
  if (!user.isString() || !password.isString())
    return Error(400, QStringLiteral("give {\"user\": NAME, \"password\": PASSWORD}"));
  const LoginResult login = accounts_.Login(user.toString(), password.toString(), clock_());
  switch (login.outcome) {
    case LoginResult::Outcome::Ok:
      return Json(200, QJsonObject{{QStringLiteral("token"), login.token},
                                   {QStringLiteral("role"), RoleName(login.role)}});
    case LoginResult::Outcome::TooSoon: {
      ApiReply reply = Error(429, QStringLiteral("too many failed logins for this name: try again "
                                                 "in %1 s")
                                      .arg((login.retryAfterMs + 999) / 1000));
      reply.retryAfterSeconds = (login.retryAfterMs + 999) / 1000;
      return reply;
    }
    case LoginResult::Outcome::StorageFault:
      return StorageFault(store_, QStringLiteral("cannot log in"));
    case LoginResult::Outcome::WrongPair:
      break;
  }
  return Error(401, QStringLiteral("wrong user name or password"));
}

ApiReply Api::Rooms() {
  QJsonArray rooms;
  for (const RoomView& room : rooms_.Rooms()) rooms.append(RoomJson(room));
  return Json(200, rooms);
}

ApiReply Api::Values(const QString& room) {
  const auto set = rooms_.CurrentSet(room);
  const auto fields = set ? FieldsOf(*set) : std::nullopt;
  if (!fields) return Error(409, QStringLiteral("room \"%1\" has not been read yet").arg(room));
  const std::string json = FieldsAsJson(PcFileKind::kParameterFile, *fields);
  return {200, QByteArray::fromStdString(json), 0};
}

ApiReply Api::Curves(const QString& room) {
  const auto set = rooms_.CurrentSet(room);
  const auto curves = set ? RoomCurves(*set) : std::nullopt;
  if (!curves) return Error(409, QStringLiteral("room \"%1\" has not been read yet").arg(room));
  return Json(200, *curves);
}

ApiReply Api::Sheet(const QString& room) {
  const auto set = rooms_.CurrentSet(room);
  const auto sheet = set ? RoomSheet(*set) : std::nullopt;
  if (!sheet) return Error(409, QStringLiteral("room \"%1\" has not been read yet").arg(room));
  return Json(200, *sheet);
}

ApiReply Api::Counted(const ApiRequest& request, ApiReply reply) {
  if (metrics_) metrics_->CountWrite(request.source, WriteResult(reply.status));
  return reply;
}

std::optional<QStringList> Api::StaffNames() {
  const auto setting = store_.Setting(QStringLiteral("staff.names"));
  if (setting) return setting->split(QLatin1Char(','), Qt::SkipEmptyParts);
  // An unreadable setting must not fall back to the defaults: they may allow more.
  if (store_.lastFault() != Database::Fault::None) return std::nullopt;
  return DefaultStaffNames();
}

ApiReply Api::WriteValues(const Caller& caller, const QString& room, const ApiRequest& request) {
  ApiReply refusal;
  const auto body = BodyObject(request, refusal);
  if (!body) return refusal;
  const auto caps = store_.Caps(room);
  if (!caps)
    return StorageFault(store_,
                        QStringLiteral("the room's caps cannot be read, so nothing was sent"));
  const auto staffNames = StaffNames();
  if (!staffNames)
    return StorageFault(store_, QStringLiteral("the staff's names cannot be read, so nothing was "
                                               "sent"));
  const GateVerdict verdict = JudgeWrites(caller, *staffNames, *caps, *body);
  if (verdict.status != 200) return Error(verdict.status, verdict.message);
  const auto view = rooms_.Room(room);
  if (!view || !view->online) {
    QJsonObject reply{{QStringLiteral("error"),
                       QStringLiteral("room \"%1\" is offline; nothing was sent").arg(room)}};
    if (view) reply.insert(QStringLiteral("room"), RoomJson(*view));
    return Json(409, reply);
  }
  const auto before = rooms_.CurrentSet(room);
  QString error;
  if (!rooms_.Write(room, verdict.edits, caller.name, error))
    return Error(StatusForFault(rooms_.LastFault(room)), error);
  const auto after = rooms_.CurrentSet(room);
  const auto oldFields = before ? FieldsOf(*before) : std::nullopt;
  const auto newFields = after ? FieldsOf(*after) : std::nullopt;
  std::string out = "{";
  bool first = true;
  for (const NamedEdit& edit : verdict.edits) {
    const QString name = PermissionName(edit);
    const FieldEntry* now = newFields ? FindField(*newFields, name) : nullptr;
    const FieldEntry* was = oldFields ? FindField(*oldFields, name) : nullptr;
    const QString newText = now ? QString::fromStdString(now->text)
                                : QString::fromStdString(edit.key);  // the mute action
    store_.Audit({clock_(), caller.name, request.origin, room, name,
                  was ? QString::fromStdString(was->text) : QString(), newText});
    if (!now) continue;
    out += (first ? "" : ", ") + JsonString(now->key) + ": " + now->json;
    first = false;
  }
  out += "}";
  if (sink_) {
    QJsonObject event{{QStringLiteral("room"), room},
                      {QStringLiteral("source"), request.source},
                      {QStringLiteral("user"), caller.name}};
    event.insert(QStringLiteral("values"),
                 QJsonDocument::fromJson(QByteArray::fromStdString(out)).object());
    sink_(event);
  }
  return {200, QByteArray::fromStdString(out), 0};
}

ApiReply Api::Recall(const Caller& caller, const QString& room, const ApiRequest& request) {
  ApiReply refusal;
  const auto body = BodyObject(request, refusal);
  if (!body) return refusal;
  const auto staffNames = StaffNames();
  if (!staffNames)
    return StorageFault(store_, QStringLiteral("the staff's names cannot be read, so nothing was "
                                               "sent"));
  if (!MayRecall(caller, *staffNames))
    return Error(403, QStringLiteral("this role may not recall presets"));
  const auto preset = PresetNumber(body->value(QStringLiteral("preset")));
  if (!preset)
    return Error(422, QStringLiteral("give {\"preset\": N} with N in 1..%1").arg(kStoredPresets));
  const int number = *preset;
  const auto view = rooms_.Room(room);
  if (!view || !view->online)
    return Error(409, QStringLiteral("room \"%1\" is offline; nothing was sent").arg(room));
  QString error;
  if (!rooms_.Recall(room, number, caller.name, error))
    return Error(StatusForFault(rooms_.LastFault(room)), error);
  store_.Audit({clock_(), caller.name, request.origin, room, QStringLiteral("preset.recall"),
                QString::number(view->preset), QString::number(number)});
  if (sink_)
    sink_({{QStringLiteral("room"), room},
           {QStringLiteral("source"), request.source},
           {QStringLiteral("user"), caller.name},
           {QStringLiteral("preset"), number}});
  return Json(200, RoomJson(*rooms_.Room(room)));
}

ApiReply Api::PutCaps(const Caller& caller, const QString& room, const ApiRequest& request) {
  if (caller.role == Role::Staff) return Error(403, QStringLiteral("staff may not set caps"));
  ApiReply refusal;
  const auto body = BodyObject(request, refusal);
  if (!body) return refusal;
  std::map<QString, int> caps;
  for (auto it = body->begin(); it != body->end(); ++it) {
    const QString text = SetTextFor(it.value());
    std::string error;
    const auto edit = ParseNamedEdit((it.key() + QLatin1Char('=') + text).toStdString(), error);
    if (!it.value().isDouble() || !edit || !edit->row)
      return Error(422, edit ? QStringLiteral("%1: a cap is a number").arg(it.key())
                             : QString::fromStdString(error));
    caps[PermissionName(*edit)] = edit->value;
  }
  if (!store_.SetCaps(room, caps))
    return StorageFault(store_, QStringLiteral("the caps could not be stored"));
  store_.Audit({clock_(),
                caller.name,
                request.origin,
                room,
                QStringLiteral("caps"),
                {},
                QString::fromUtf8(request.body.left(1000))});
  return GetCaps(room);
}

ApiReply Api::GetCaps(const QString& room) {
  const auto caps = store_.Caps(room);
  if (!caps) return StorageFault(store_, QStringLiteral("the caps cannot be read"));
  QJsonObject object;
  for (const auto& [name, maximum] : *caps) object.insert(name, maximum);
  return Json(200, object);
}

ApiReply Api::History(const QString& room) {
  const auto versions = store_.History(room, kHistoryLimit);
  if (!versions) return StorageFault(store_, QStringLiteral("the history cannot be read"));
  QJsonArray out;
  for (std::size_t i = 0; i < versions->size(); ++i) {
    const StoredVersion& v = (*versions)[i];
    QJsonObject entry{
        {QStringLiteral("id"), v.id},
        {QStringLiteral("time"), v.time},
        {QStringLiteral("slot"), v.slot},
        {QStringLiteral("source"), v.source},
        {QStringLiteral("user"), v.user.isEmpty() ? QJsonValue() : QJsonValue(v.user)},
        {QStringLiteral("content"), v.contentHash}};
    // The changes from the slot's version before it, by the catalogue's names.
    for (std::size_t j = i + 1; j < versions->size(); ++j) {
      if ((*versions)[j].slot != v.slot) continue;
      const auto now = store_.Content(v.contentHash);
      const auto was = store_.Content((*versions)[j].contentHash);
      const auto nowFields = now ? FieldsOf(*now) : std::nullopt;
      const auto wasFields = was ? FieldsOf(*was) : std::nullopt;
      if (!nowFields || !wasFields) break;
      QJsonArray changes;
      for (const FieldDifference& d : DiffFieldList(*wasFields, *nowFields))
        changes.append(QJsonObject{{QStringLiteral("name"), QString::fromStdString(d.key)},
                                   {QStringLiteral("from"), QString::fromStdString(d.a)},
                                   {QStringLiteral("to"), QString::fromStdString(d.b)}});
      entry.insert(QStringLiteral("changes"), changes);
      break;
    }
    out.append(entry);
  }
  return Json(200, out);
}

}  // namespace tavelo::hub
