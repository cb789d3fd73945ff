#include "hub/MqttCommands.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include "core/text/Escaped.h"

namespace tavelo::hub {

namespace {

ParsedCommand Refused(const QString& why) {
  return {std::nullopt, why};
}

// A whole number as text: "70", "-3", "70.0" (Home Assistant may send a float).
std::optional<int> WholeNumber(const QString& text) {
  static const QRegularExpression form(QStringLiteral(R"(^(-?\d{1,6})(\.0+)?$)"));
  const QRegularExpressionMatch match = form.match(text);
  if (!match.hasMatch()) return std::nullopt;
  return match.captured(1).toInt();
}

// The slot a preset payload names: "3", the select's option "3 Party", or a name that only
// one slot holds.
std::optional<int> PresetSlot(const QString& text, const BridgedRoom& room) {
  if (const auto number = WholeNumber(text)) {
    if (*number < 1 || *number > 10) return std::nullopt;
    return *number;
  }
  const QStringList options = PresetOptions(room);
  if (const auto at = options.indexOf(text); at >= 0) return static_cast<int>(at) + 1;
  int found = 0;
  for (qsizetype i = 0; i < room.presetNames.size(); ++i)
    if (room.presetNames[i].trimmed() == text) {
      if (found != 0) return std::nullopt;  // two slots of that name: ambiguous
      found = static_cast<int>(i) + 1;
    }
  if (found != 0) return found;
  return std::nullopt;
}

QString Shown(const QString& text) {
  return QString::fromStdString(QuotedBytes(text.left(40).toStdString()));
}

}  // namespace

ParsedCommand ParseMqttCommand(const MqttTopics& topics, const QString& topic,
                               const QByteArray& payload, const std::vector<BridgedRoom>& rooms) {
  const QString prefix = topics.base + QLatin1Char('/');
  const QString suffix = QStringLiteral("/set");
  if (!topic.startsWith(prefix) || !topic.endsWith(suffix)) return {};
  const QStringList levels = topic.mid(prefix.size(), topic.size() - prefix.size() - suffix.size())
                                 .split(QLatin1Char('/'));
  if (levels.size() != 2) return {};
  const QString& segment = levels[0];
  const QString& field = levels[1];

  const BridgedRoom* room = nullptr;
  for (const BridgedRoom& candidate : rooms)
    if (candidate.segment == segment) room = &candidate;
  if (!room) return Refused(QStringLiteral("no room is published as %1").arg(Shown(segment)));

  if (payload.size() > kMaxCommandBytes)
    return Refused(QStringLiteral("%1: the command is longer than %2 bytes")
                       .arg(Shown(topic))
                       .arg(kMaxCommandBytes));
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString text = QString(decoder(payload)).trimmed();
  if (decoder.hasError() || text.isEmpty())
    return Refused(QStringLiteral("%1: the command is empty or not UTF-8 text").arg(Shown(topic)));

  MqttCommand command{room->name, room->segment, 0, {}};
  if (field == QStringLiteral("preset")) {
    const auto slot = PresetSlot(text, *room);
    if (!slot)
      return Refused(QStringLiteral("room %1: %2 names no single preset; send 1..10 or one of the "
                                    "select's options")
                         .arg(Shown(room->name), Shown(text)));
    command.recall = *slot;
    return {command, {}};
  }
  if (field == QStringLiteral("mute")) {
    const QString word = text.toUpper();
    if (word != QLatin1String(kMqttOn) && word != QLatin1String(kMqttOff))
      return Refused(QStringLiteral("room %1: mute takes ON or OFF, not %2")
                         .arg(Shown(room->name), Shown(text)));
    command.values.insert(QStringLiteral("mute"), word == QLatin1String(kMqttOn));
    return {command, {}};
  }
  for (const BridgedVolume& volume : BridgedVolumes()) {
    const std::string_view name = RowOf(volume.row).name;
    if (field != QLatin1String(name.data(), static_cast<qsizetype>(name.size()))) continue;
    const auto number = WholeNumber(text);
    if (!number)
      return Refused(QStringLiteral("room %1: %2 takes a whole number, not %3")
                         .arg(Shown(room->name), field, Shown(text)));
    command.values.insert(field, *number);  // its range and cap are the API's to judge
    return {command, {}};
  }
  return Refused(
      QStringLiteral("room %1: %2 takes no commands").arg(Shown(room->name), Shown(field)));
}

}  // namespace tavelo::hub
