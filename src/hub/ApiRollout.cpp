// The API's rollback of a room to a stored version and its staged roll-outs.
#include <QByteArray>

#include "core/presets/ParamFile.h"
#include "hub/Api.h"
#include "hub/ApiReplies.h"
#include "hub/rooms/NestedWait.h"
#include "hub/rooms/Rollouts.h"

namespace tavelo::hub {

namespace {

// An upload and its read-back take well under a second on a good link; a room whose link
// is failing ends sooner through its own time-outs.
constexpr int kRollbackLimitMs = 60000;

bool MayRollOut(const Caller& caller) {
  return caller.role == Role::Owner || caller.role == Role::Installer;
}

bool IsParamFile(const QByteArray& bytes) {
  return ParseParamFile(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                        static_cast<std::size_t>(bytes.size()))
      .ok();
}

// The preset a set is to go into: "slot" 1..10 from the body, else `otherwise` (0: the preset
// each room plays). Nothing, with the refusal, when "slot" is there but no preset.
std::optional<int> TargetSlot(const QJsonObject& body, int otherwise, ApiReply& refusal) {
  const QJsonValue slot = body.value(QStringLiteral("slot"));
  if (slot.isUndefined()) return otherwise;
  const auto number = PresetNumber(slot);
  if (!number)
    refusal = Error(422, QStringLiteral("\"slot\" is a stored preset, 1..%1").arg(kStoredPresets));
  return number;
}

// A positive whole number from the body, or nothing.
std::optional<qint64> WholeNumber(const QJsonValue& value) {
  if (!value.isDouble()) return std::nullopt;
  const double number = value.toDouble();
  const auto whole = static_cast<qint64>(number);
  if (static_cast<double>(whole) != number || whole < 1) return std::nullopt;
  return whole;
}

}  // namespace

std::optional<ApiReply> Api::RolloutRoutes(const Caller& caller, const QStringList& parts,
                                           const ApiRequest& request) {
  const QByteArray& method = request.method;
  if (parts.size() == 3 && parts[0] == QStringLiteral("rooms") &&
      parts[2] == QStringLiteral("rollback") && method == "POST")
    return Rollback(caller, parts[1], request);
  if (parts.value(0) != QStringLiteral("rollouts")) return std::nullopt;
  if (!rollouts_) return Error(503, QStringLiteral("roll-outs are not available in this service"));
  if (parts.size() == 1 && method == "POST") return StartRollout(caller, request);
  if (parts.size() == 1 && method == "GET") return Json(200, rollouts_->All());
  if (parts.size() == 2 && method == "GET") {
    bool ok = false;
    const qint64 id = parts[1].toLongLong(&ok);
    const auto progress = ok ? rollouts_->Progress(id) : std::nullopt;
    if (!progress)
      return Error(404, QStringLiteral("no roll-out has the id %1").arg(parts[1].left(20)));
    return Json(200, *progress);
  }
  return std::nullopt;
}

ApiReply Api::Rollback(const Caller& caller, const QString& room, const ApiRequest& request) {
  if (!MayRollOut(caller))
    return Error(403, QStringLiteral("only owners and installers roll back"));
  ApiReply refusal;
  const auto body = BodyObject(request, refusal);
  if (!body) return refusal;
  const auto id = WholeNumber(body->value(QStringLiteral("version")));
  if (!id) return Error(422, QStringLiteral("give {\"version\": ID} with an id from the history"));
  const auto version = store_.Version(*id);
  if (!version || version->room != room)
    return Error(404, QStringLiteral("room \"%1\" has no version %2").arg(room).arg(*id));
  // A stored preset's version goes back into that preset unless the body names another; the
  // working set's into the preset the room plays.
  const auto slot = TargetSlot(*body, version->slot, refusal);
  if (!slot) return refusal;
  const auto content = store_.Content(version->contentHash);
  if (!content) return Error(503, store_.lastError());
  const auto view = rooms_.Room(room);
  if (!view || !view->online)
    return Error(409, QStringLiteral("room \"%1\" is offline; nothing was sent").arg(room));
  const auto before = rooms_.CurrentSet(room);

  auto ended = std::make_shared<std::optional<UploadResult>>();
  rooms_.Upload(room, {*content, *slot, QStringLiteral("rollback"), caller.name},
                [ended](const UploadResult& result) { *ended = result; });
  if (!WaitUntil([&ended] { return ended->has_value(); }, kRollbackLimitMs))
    return Error(504, QStringLiteral("room \"%1\" did not finish the rollback within %2 s")
                          .arg(room)
                          .arg(kRollbackLimitMs / 1000));
  const UploadResult& result = **ended;
  store_.Audit({clock_(), caller.name, request.origin, room, QStringLiteral("rollback"),
                before ? Store::ContentHash(*before) : QString(),
                QStringLiteral("version %1 into %2 %3")
                    .arg(*id)
                    .arg(*slot > 0 ? QStringLiteral("preset %1").arg(*slot)
                                   : QStringLiteral("the current preset"))
                    .arg(result.ok ? "verified" : "failed")});
  const auto after = rooms_.Room(room);
  QJsonObject out{{QStringLiteral("room"), room},
                  {QStringLiteral("version"), *id},
                  {QStringLiteral("slot"), *slot},
                  {QStringLiteral("preset"), after ? after->preset : 0},
                  {QStringLiteral("content"), version->contentHash},
                  {QStringLiteral("verified"), result.ok}};
  if (!result.ok) {
    out.insert(QStringLiteral("error"), result.error);
    out.insert(QStringLiteral("differences"), result.differences);
  }
  if (sink_) {
    QJsonObject event = out;
    event.insert(QStringLiteral("source"), QStringLiteral("rollback"));
    event.insert(QStringLiteral("user"), caller.name);
    sink_(event);
  }
  return Json(result.ok ? 200 : 502, out);
}

ApiReply Api::StartRollout(const Caller& caller, const ApiRequest& request) {
  if (!MayRollOut(caller))
    return Error(403, QStringLiteral("only owners and installers start roll-outs"));
  ApiReply refusal;
  const auto body = BodyObject(request, refusal);
  if (!body) return refusal;

  RolloutPlan plan;
  plan.user = caller.name;
  plan.origin = request.origin;
  const QJsonValue version = body->value(QStringLiteral("version"));
  const QJsonValue content = body->value(QStringLiteral("content"));
  if (version.isUndefined() == content.isUndefined())
    return Error(422, QStringLiteral("give the preset as {\"version\": ID} or as {\"content\": "
                                     "BASE64 of a parameter file}, one of the two"));
  if (!version.isUndefined()) {
    const auto id = WholeNumber(version);
    const auto stored = id ? store_.Version(*id) : std::nullopt;
    if (!stored) return Error(404, QStringLiteral("there is no such version"));
    const auto bytes = store_.Content(stored->contentHash);
    if (!bytes) return Error(503, store_.lastError());
    plan.content = *bytes;
  } else {
    const auto decoded = QByteArray::fromBase64Encoding(content.toString().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!content.isString() || !decoded) return Error(422, QStringLiteral("content is not base64"));
    plan.content = *decoded;
  }
  if (!IsParamFile(plan.content))
    return Error(422, QStringLiteral("the content is not a valid parameter file"));
  const auto slot = TargetSlot(*body, 0, refusal);
  if (!slot) return refusal;
  plan.slot = *slot;

  const QJsonValue rooms = body->value(QStringLiteral("rooms"));
  if (!rooms.isArray() || rooms.toArray().isEmpty())
    return Error(422, QStringLiteral("give \"rooms\": [NAME, ...] in the order to roll out"));
  for (const QJsonValue& room : rooms.toArray()) {
    const QString name = room.toString();
    if (!room.isString() || !rooms_.Room(name))
      return Error(404, QStringLiteral("no room is named \"%1\"").arg(name.left(64)));
    if (plan.rooms.contains(name))
      return Error(422, QStringLiteral("room \"%1\" is named twice").arg(name));
    plan.rooms.append(name);
  }
  const QJsonValue first = body->value(QStringLiteral("first"));
  if (!first.isUndefined()) {
    const auto n = WholeNumber(first);
    if (!n || *n > plan.rooms.size())
      return Error(422, QStringLiteral("\"first\" is 1..%1, the rooms of the first stage")
                            .arg(plan.rooms.size()));
    plan.first = static_cast<int>(*n);
  }
  const qint64 id = rollouts_->Start(plan);
  store_.Audit(
      {clock_(),
       caller.name,
       request.origin,
       {},
       QStringLiteral("rollout %1").arg(id),
       {},
       QStringLiteral("%1 to %2")
           .arg(Store::ContentHash(plan.content), plan.rooms.join(QLatin1Char(',')).left(900))});
  return Json(202, *rollouts_->Progress(id));
}

}  // namespace tavelo::hub
