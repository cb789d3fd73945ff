#include "hub/schedule/DayPart.h"

#include <QJsonArray>
#include <QRegularExpression>

#include "hub/Accounts.h"
#include "hub/WriteGate.h"

namespace tavelo::hub {

namespace {

constexpr int kMaxRooms = 1000;
constexpr int kMaxDates = 366;
constexpr int kPriorityLimit = 1000;

// Qt::Monday (1) .. Qt::Sunday (7) in order.
const char* const kDayNames[] = {"mon", "tue", "wed", "thu", "fri", "sat", "sun"};

bool ValidPartName(const QString& name) {
  static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9 ._-]{0,63}$"));
  return pattern.match(name).hasMatch();
}

std::optional<DayPart> Refuse(QString& error, const QString& why) {
  error = why;
  return std::nullopt;
}

}  // namespace

bool DayPart::FallsOn(QDate date) const {
  if (weekdays & (1u << (date.dayOfWeek() - 1))) return true;
  return std::find(dates.begin(), dates.end(), date) != dates.end();
}

bool DayPart::AppliesTo(const QString& room) const {
  return rooms.contains(room) || rooms.contains(QLatin1String(kEveryRoom));
}

std::optional<DayPart> DayPartFromJson(const QJsonObject& object, QString& error) {
  static const QStringList known = {QStringLiteral("name"),     QStringLiteral("time"),
                                    QStringLiteral("days"),     QStringLiteral("dates"),
                                    QStringLiteral("rooms"),    QStringLiteral("preset"),
                                    QStringLiteral("values"),   QStringLiteral("lock"),
                                    QStringLiteral("priority"), QStringLiteral("enabled")};
  for (auto it = object.begin(); it != object.end(); ++it)
    if (!known.contains(it.key()))
      return Refuse(error, QStringLiteral("unknown field \"%1\" (a day-part has %2)")
                               .arg(it.key().left(40), known.join(QStringLiteral(", "))));
  DayPart part;
  part.name = object.value(QStringLiteral("name")).toString();
  if (!ValidPartName(part.name))
    return Refuse(error, QStringLiteral("\"name\": 1..64 letters, digits, spaces, '.', '_' or "
                                        "'-', starting with a letter or digit"));
  const QString time = object.value(QStringLiteral("time")).toString();
  part.at = QTime::fromString(time, QStringLiteral("HH:mm"));
  if (!part.at.isValid())
    return Refuse(error, QStringLiteral("\"time\": a local time as HH:MM, 00:00 to 23:59"));

  for (const QJsonValue day : object.value(QStringLiteral("days")).toArray()) {
    const QString text = day.toString().toLower();
    int found = -1;
    for (int i = 0; i < 7; ++i)
      if (text == QLatin1String(kDayNames[i])) found = i;
    if (found < 0)
      return Refuse(error, QStringLiteral("\"days\": weekdays as mon, tue, wed, thu, fri, sat, "
                                          "sun"));
    part.weekdays |= 1u << found;
  }
  const QJsonArray dates = object.value(QStringLiteral("dates")).toArray();
  if (dates.size() > kMaxDates)
    return Refuse(error, QStringLiteral("\"dates\": at most %1 dates").arg(kMaxDates));
  for (const QJsonValue date : dates) {
    const QDate day = QDate::fromString(date.toString(), Qt::ISODate);
    if (!day.isValid() || date.toString().size() != 10)
      return Refuse(error, QStringLiteral("\"dates\": dates as YYYY-MM-DD"));
    part.dates.push_back(day);
  }
  if (part.weekdays == 0 && part.dates.empty())
    return Refuse(error, QStringLiteral("give \"days\" (weekdays) or \"dates\" (YYYY-MM-DD), or "
                                        "both"));

  const QJsonArray rooms = object.value(QStringLiteral("rooms")).toArray();
  for (const QJsonValue room : rooms) {
    if (!room.isString() || room.toString().isEmpty() || room.toString().size() > 64)
      return Refuse(error, QStringLiteral("\"rooms\": room names, or \"*\" for every room"));
    part.rooms << room.toString();
  }
  if (part.rooms.isEmpty() || part.rooms.size() > kMaxRooms)
    return Refuse(
        error,
        QStringLiteral("\"rooms\": 1..%1 room names, or [\"*\"] for every room").arg(kMaxRooms));

  const QJsonValue preset = object.value(QStringLiteral("preset"));
  if (!preset.isUndefined() && !preset.isNull()) {
    part.preset = preset.toInt(0);
    if (!preset.isDouble() || preset.toDouble() != part.preset || part.preset < 1 ||
        part.preset > 10)
      return Refuse(error, QStringLiteral("\"preset\": a preset number, 1..10"));
  }
  const QJsonValue values = object.value(QStringLiteral("values"));
  if (!values.isUndefined() && !values.isNull()) {
    if (!values.isObject())
      return Refuse(error, QStringLiteral("\"values\": an object of names and values"));
    part.values = values.toObject();
    // Names and ranges are checked now; each room's caps when the day-part fires.
    if (!part.values.isEmpty()) {
      const GateVerdict verdict = JudgeWrites(Caller{{}, Role::Installer}, {}, {}, part.values);
      if (verdict.status != 200)
        return Refuse(error, QStringLiteral("\"values\": ") + verdict.message);
    }
  }
  const QJsonValue lock = object.value(QStringLiteral("lock"));
  if (!lock.isUndefined() && !lock.isNull()) {
    if (!lock.isBool()) return Refuse(error, QStringLiteral("\"lock\": true or false"));
    part.lock = lock.toBool();
  }
  if (part.preset == 0 && part.values.isEmpty() && !part.lock)
    return Refuse(error, QStringLiteral("the day-part does nothing: give \"preset\", \"values\" "
                                        "or \"lock\""));

  const QJsonValue priority = object.value(QStringLiteral("priority"));
  if (!priority.isUndefined()) {
    part.priority = priority.toInt(kPriorityLimit + 1);
    if (!priority.isDouble() || priority.toDouble() != part.priority ||
        std::abs(part.priority) > kPriorityLimit)
      return Refuse(error,
                    QStringLiteral("\"priority\": a whole number, -%1..%1").arg(kPriorityLimit));
  }
  const QJsonValue enabled = object.value(QStringLiteral("enabled"));
  if (!enabled.isUndefined()) {
    if (!enabled.isBool()) return Refuse(error, QStringLiteral("\"enabled\": true or false"));
    part.enabled = enabled.toBool();
  }
  return part;
}

QJsonObject DayPartToJson(const DayPart& part) {
  QJsonArray days;
  for (int i = 0; i < 7; ++i)
    if (part.weekdays & (1u << i)) days.append(QLatin1String(kDayNames[i]));
  QJsonArray dates;
  for (const QDate& date : part.dates) dates.append(date.toString(Qt::ISODate));
  QJsonObject object{{QStringLiteral("name"), part.name},
                     {QStringLiteral("time"), part.at.toString(QStringLiteral("HH:mm"))},
                     {QStringLiteral("days"), days},
                     {QStringLiteral("dates"), dates},
                     {QStringLiteral("rooms"), QJsonArray::fromStringList(part.rooms)},
                     {QStringLiteral("priority"), part.priority},
                     {QStringLiteral("enabled"), part.enabled}};
  if (part.preset != 0) object.insert(QStringLiteral("preset"), part.preset);
  if (!part.values.isEmpty()) object.insert(QStringLiteral("values"), part.values);
  if (part.lock) object.insert(QStringLiteral("lock"), *part.lock);
  return object;
}

QString DescribeActions(const DayPart& part) {
  QStringList actions;
  if (part.preset != 0) actions << QStringLiteral("preset %1").arg(part.preset);
  for (auto it = part.values.begin(); it != part.values.end(); ++it)
    actions << it.key() + QLatin1Char(' ') + SetTextFor(it.value());
  if (part.lock) actions << (*part.lock ? QStringLiteral("lock") : QStringLiteral("unlock"));
  return actions.join(QStringLiteral("; "));
}

}  // namespace tavelo::hub
