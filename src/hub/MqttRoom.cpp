#include "hub/MqttRoom.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>

#include "core/params/ParamImage.h"
#include "core/presets/ParamFile.h"

namespace tavelo::hub {

namespace {

constexpr std::array<BridgedVolume, 3> kVolumes = {{
    {row::kMusicVolume, "Music volume"},
    {row::kMicVolume, "Microphone volume"},
    {row::kEffectVolume, "Effect volume"},
}};

constexpr int kSlots = kStoredPresets;

QString RowName(RowId id) {
  const std::string_view name = RowOf(id).name;
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QByteArray Compact(const QJsonObject& object) {
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// The node id of the room's device: the base's levels and the room's segment.
QString NodeId(const MqttTopics& topics, const BridgedRoom& room) {
  QString base = topics.base;
  base.replace(QLatin1Char('/'), QLatin1Char('_'));
  return base + QLatin1Char('_') + room.segment;
}

}  // namespace

std::span<const BridgedVolume> BridgedVolumes() {
  return kVolumes;
}

BridgedRoom BridgeRoom(const RoomView& view, const RoomExtras& extras,
                       const std::optional<QByteArray>& set, std::map<QString, int> caps) {
  BridgedRoom room;
  room.name = view.name;
  room.segment = TopicSegment(view.name);
  room.online = view.online;
  room.since = view.since;
  room.preset = view.preset;
  room.presetName = view.presetName;
  if (extras.presetNames.size() == kSlots) room.presetNames = extras.presetNames;
  room.muted = extras.muted;
  room.locked = extras.locked;
  room.caps = std::move(caps);
  if (set) {
    const ParamFileResult file = ParseParamFile(reinterpret_cast<const std::uint8_t*>(set->data()),
                                                static_cast<std::size_t>(set->size()));
    if (file.ok()) {
      ParamImage image{};
      CopyFileFields(image, file.data);
      for (const BridgedVolume& volume : kVolumes)
        room.volumes[RowName(volume.row)] = ReadValue(image, RowOf(volume.row));
    }
  }
  return room;
}

QString PresetOption(int slot, const QString& name) {
  const QString shown = name.trimmed();
  return shown.isEmpty() ? QString::number(slot) : QString::number(slot) + QLatin1Char(' ') + shown;
}

QStringList PresetOptions(const BridgedRoom& room) {
  QStringList options;
  for (int slot = 1; slot <= kSlots; ++slot)
    options << PresetOption(slot, room.presetNames.isEmpty()
                                      ? QString()
                                      : room.presetNames[static_cast<qsizetype>(slot - 1)]);
  return options;
}

int HeldMaximum(const CatalogueRow& row, const std::map<QString, int>& caps) {
  const auto cap =
      caps.find(QString::fromLatin1(row.name.data(), static_cast<qsizetype>(row.name.size())));
  if (cap == caps.end()) return row.max;
  return std::clamp(cap->second, row.min, row.max);
}

std::vector<MqttMessage> StateMessages(const MqttTopics& topics, const BridgedRoom& room) {
  const auto topic = [&](const char* field) {
    return topics.Room(room.segment, QLatin1String(field));
  };
  const auto onOff = [](bool on) { return QByteArray(on ? kMqttOn : kMqttOff); };
  std::vector<MqttMessage> out;
  QJsonObject state{{QStringLiteral("name"), room.name},
                    {QStringLiteral("online"), room.online},
                    {QStringLiteral("since"), room.since}};
  out.push_back({topic("online"), room.online ? kMqttOnline : kMqttOffline});
  if (room.preset >= 1 && room.preset <= kSlots) {
    const QString option = PresetOptions(room)[static_cast<qsizetype>(room.preset - 1)];
    state.insert(QStringLiteral("preset"), room.preset);
    state.insert(QStringLiteral("preset_name"), room.presetName);
    state.insert(QStringLiteral("preset_option"), option);
    out.push_back({topic("preset"), option.toUtf8()});
    out.push_back({topic("preset_number"), QByteArray::number(room.preset)});
    out.push_back({topic("preset_name"), room.presetName.toUtf8()});
  }
  for (const auto& [name, value] : room.volumes) {
    state.insert(name, value);
    out.push_back({topics.Room(room.segment, name), QByteArray::number(value)});
  }
  if (room.muted) {
    state.insert(QStringLiteral("mute"), *room.muted);
    out.push_back({topic("mute"), onOff(*room.muted)});
  }
  if (room.locked) {
    state.insert(QStringLiteral("lock"), *room.locked);
    out.push_back({topic("lock"), onOff(*room.locked)});
  }
  out.insert(out.begin(), {topic("state"), Compact(state)});
  return out;
}

std::vector<MqttMessage> DiscoveryMessages(const MqttTopics& topics, const BridgedRoom& room) {
  const QString node = NodeId(topics, room);
  const QJsonObject device{{QStringLiteral("identifiers"), QJsonArray{node}},
                           {QStringLiteral("name"), room.name},
                           {QStringLiteral("manufacturer"), QStringLiteral("Tavelo")},
                           {QStringLiteral("model"), QStringLiteral("venue room")}};
  const QJsonArray availability{
      QJsonObject{{QStringLiteral("topic"), topics.Status()},
                  {QStringLiteral("payload_available"), QLatin1String(kMqttOnline)},
                  {QStringLiteral("payload_not_available"), QLatin1String(kMqttOffline)}},
      QJsonObject{{QStringLiteral("topic"), topics.Room(room.segment, QStringLiteral("online"))},
                  {QStringLiteral("payload_available"), QLatin1String(kMqttOnline)},
                  {QStringLiteral("payload_not_available"), QLatin1String(kMqttOffline)}}};
  // Fields every entity of the room shares; `field` is the state topic's last level.
  const auto entity = [&](const QString& object, const QString& title, const QString& field) {
    return QJsonObject{{QStringLiteral("name"), title},
                       {QStringLiteral("unique_id"), node + QLatin1Char('_') + object},
                       {QStringLiteral("object_id"), node + QLatin1Char('_') + object},
                       {QStringLiteral("state_topic"), topics.Room(room.segment, field)},
                       {QStringLiteral("command_topic"), topics.Command(room.segment, field)},
                       {QStringLiteral("availability"), availability},
                       {QStringLiteral("availability_mode"), QStringLiteral("all")},
                       {QStringLiteral("device"), device}};
  };
  const auto config = [&](const char* component, const QString& object) {
    return QStringLiteral("%1/%2/%3/%4/config")
        .arg(QLatin1String(kHomeAssistantPrefix), QLatin1String(component), node, object);
  };

  std::vector<MqttMessage> out;
  QJsonObject select =
      entity(QStringLiteral("preset"), QStringLiteral("Preset"), QStringLiteral("preset"));
  select.insert(QStringLiteral("options"), QJsonArray::fromStringList(PresetOptions(room)));
  select.insert(QStringLiteral("icon"), QStringLiteral("mdi:playlist-music"));
  out.push_back({config("select", QStringLiteral("preset")), Compact(select)});

  for (const BridgedVolume& volume : kVolumes) {
    const CatalogueRow& row = RowOf(volume.row);
    const QString name = RowName(volume.row);
    QString object = name;
    object.replace(QLatin1Char('.'), QLatin1Char('_'));
    QJsonObject number = entity(object, QLatin1String(volume.title), name);
    number.insert(QStringLiteral("min"), row.min);
    number.insert(QStringLiteral("max"), HeldMaximum(row, room.caps));
    number.insert(QStringLiteral("step"), 1);
    number.insert(QStringLiteral("mode"), QStringLiteral("slider"));
    out.push_back({config("number", object), Compact(number)});
  }

  QJsonObject mute = entity(QStringLiteral("mute"), QStringLiteral("Mute"), QStringLiteral("mute"));
  mute.insert(QStringLiteral("payload_on"), QLatin1String(kMqttOn));
  mute.insert(QStringLiteral("payload_off"), QLatin1String(kMqttOff));
  mute.insert(QStringLiteral("state_on"), QLatin1String(kMqttOn));
  mute.insert(QStringLiteral("state_off"), QLatin1String(kMqttOff));
  mute.insert(QStringLiteral("icon"), QStringLiteral("mdi:volume-off"));
  out.push_back({config("switch", QStringLiteral("mute")), Compact(mute)});
  return out;
}

}  // namespace tavelo::hub
