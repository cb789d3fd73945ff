#pragma once
// A day-part: at a local time on chosen weekdays or dates, a group of rooms recalls a preset,
// takes named values and/or is locked or unlocked. Its JSON form is what the API, the database
// and `tavelo-hub schedule add` exchange:
//   {"name": "evening", "time": "22:00", "days": ["fri", "sat"], "dates": ["2026-12-31"],
//    "rooms": ["room-01", "*"], "preset": 3, "values": {"music.volume": 60}, "lock": true,
//    "priority": 0, "enabled": true}
#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTime>
#include <optional>
#include <vector>

namespace tavelo::hub {

struct DayPart {
  QString name;
  QTime at;                  // wall time in the service's time zone, to the minute
  unsigned weekdays = 0;     // bit (d - 1) for Qt::DayOfWeek d: Monday is bit 0
  std::vector<QDate> dates;  // further days on which it falls
  QStringList rooms;         // room names; "*" stands for every room
  int preset = 0;            // 1..10 as the panel numbers them; 0 for no recall
  QJsonObject values;        // named values, in the forms `show --json` writes or `set` takes
  std::optional<bool> lock;  // lock (true) or unlock (false) the room's adjustments
  int priority = 0;          // breaks a tie between day-parts due at one instant
  bool enabled = true;
  qint64 created = 0;  // milliseconds since 1970; occurrences before it never fire

  bool FallsOn(QDate date) const;
  bool AppliesTo(const QString& room) const;
};

inline constexpr const char* kEveryRoom = "*";

// Reads and checks a day-part; on a refusal `error` says which field is wrong and how to give it.
std::optional<DayPart> DayPartFromJson(const QJsonObject& object, QString& error);
QJsonObject DayPartToJson(const DayPart& part);

// What the day-part does, in words: "preset 3; music.volume 60; lock".
QString DescribeActions(const DayPart& part);

}  // namespace tavelo::hub
