#pragma once
// A room as the MQTT bridge shows it: its state as retained messages and its Home Assistant
// discovery documents (a device per room with a select for the preset, a number per volume
// and a switch for mute). Plain functions, so every topic and payload is testable without a
// broker.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "core/params/Catalogue.h"
#include "hub/MqttTopics.h"
#include "hub/RoomAccess.h"

namespace tavelo::hub {

// The values the bridge offers as numbers, with the entity name Home Assistant shows.
struct BridgedVolume {
  RowId row;
  const char* title;
};
std::span<const BridgedVolume> BridgedVolumes();

struct BridgedRoom {
  QString name;
  QString segment;  // TopicSegment(name)
  bool online = false;
  qint64 since = 0;
  int preset = 0;  // 1..10; 0 while unknown
  QString presetName;
  QStringList presetNames;         // the ten stored presets in slot order, once read
  std::map<QString, int> volumes;  // by row name, once the working set has been read
  std::optional<bool> muted;
  std::optional<bool> locked;
  std::map<QString, int> caps;  // by permission name, as the store keeps them
};

// Reads what the bridge shows from the room's view and extras, its working set (a parameter file,
// when read) and its caps.
BridgedRoom BridgeRoom(const RoomView& view, const RoomExtras& extras,
                       const std::optional<QByteArray>& set, std::map<QString, int> caps);

// The select's options: one per slot, "N NAME" ("3 Party"), so that two presets of the same
// name stay two options and the state names exactly one of them.
QStringList PresetOptions(const BridgedRoom& room);
QString PresetOption(int slot, const QString& name);

struct MqttMessage {
  QString topic;
  QByteArray payload;
  bool retain = true;
};

// The room's state topics with their payloads. Values not known yet are left out.
std::vector<MqttMessage> StateMessages(const MqttTopics& topics, const BridgedRoom& room);

// The discovery documents, under homeassistant/COMPONENT/NODE/OBJECT/config.
std::vector<MqttMessage> DiscoveryMessages(const MqttTopics& topics, const BridgedRoom& room);

// The highest value the room may be set to: the catalogue's maximum held to the room's cap.
int HeldMaximum(const CatalogueRow& row, const std::map<QString, int>& caps);

}  // namespace tavelo::hub
