#include "hub/StoredRooms.h"

namespace tavelo::hub {

std::vector<RoomView> StoredRooms::Rooms() const {
  std::vector<RoomView> views;
  const auto rooms = store_.Rooms();
  if (!rooms) return views;
  for (const StoredRoom& room : *rooms) {
    RoomView view;
    view.name = room.name;
    view.state = QStringLiteral("offline");
    views.push_back(view);
  }
  return views;
}

std::optional<RoomView> StoredRooms::Room(const QString& name) const {
  for (const RoomView& view : Rooms())
    if (view.name == name) return view;
  return std::nullopt;
}

std::optional<QByteArray> StoredRooms::CurrentSet(const QString& name) const {
  const auto versions = store_.History(name, 50);
  if (!versions) return std::nullopt;
  for (const StoredVersion& version : *versions)
    if (version.slot == 0) return store_.Content(version.contentHash);
  return std::nullopt;
}

bool StoredRooms::Write(const QString& name, const std::vector<NamedEdit>&, const QString&,
                        QString& error) {
  error = QStringLiteral("room \"%1\" is not connected").arg(name);
  return false;
}

bool StoredRooms::Recall(const QString& name, int, const QString&, QString& error) {
  error = QStringLiteral("room \"%1\" is not connected").arg(name);
  return false;
}

}  // namespace tavelo::hub
