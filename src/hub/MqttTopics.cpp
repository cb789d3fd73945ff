#include "hub/MqttTopics.h"

#include <QCryptographicHash>

namespace tavelo::hub {

namespace {

bool Kept(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
         u == '-';
}

}  // namespace

QString TopicSegment(const QString& roomName) {
  constexpr qsizetype kMaxKept = 48;
  QString out;
  bool changed = roomName.isEmpty() || roomName.size() > kMaxKept;
  for (QChar c : roomName.left(kMaxKept)) {
    if (Kept(c)) {
      out += c;
    } else {
      out += QLatin1Char('_');
      changed = true;
    }
  }
  if (changed) {
    const QByteArray hash =
        QCryptographicHash::hash(roomName.toUtf8(), QCryptographicHash::Sha256).toHex().left(8);
    out +=
        (out.isEmpty() ? QStringLiteral("room_") : QStringLiteral("_")) + QString::fromLatin1(hash);
  }
  return out;
}

bool ValidTopicBase(const QString& base) {
  if (base.isEmpty() || base.size() > 64) return false;
  for (const QString& level : base.split(QLatin1Char('/'))) {
    if (level.isEmpty()) return false;
    for (QChar c : level)
      if (!Kept(c)) return false;
  }
  return true;
}

}  // namespace tavelo::hub
