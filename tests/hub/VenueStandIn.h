#pragma once
// A venue of rooms behind RoomAccess for the schedule and alarm tests: each room online or not,
// every recall, write and lock it takes written to a log, and any of them made to fail.
#include <QStringList>
#include <map>

#include "core/params/ParamImage.h"
#include "core/presets/ParamFile.h"
#include "hub/RoomAccess.h"
#include "hub/WriteGate.h"

namespace tavelo::hubtest {

class VenueStandIn : public hub::RoomAccess {
 public:
  struct StandInRoom {
    bool online = true;
    int preset = 1;
    std::optional<bool> locked;
    ParamImage image{};
  };

  explicit VenueStandIn(const QStringList& names) {
    for (const QString& name : names) ApplyDefaults(rooms[name].image);
  }

  std::vector<hub::RoomView> Rooms() const override {
    std::vector<hub::RoomView> views;
    for (const auto& [name, room] : rooms) views.push_back(ViewOf(name, room));
    return views;
  }
  std::optional<hub::RoomView> Room(const QString& name) const override {
    const auto it = rooms.find(name);
    if (it == rooms.end()) return std::nullopt;
    return ViewOf(name, it->second);
  }
  std::optional<QByteArray> CurrentSet(const QString& name) const override {
    const auto it = rooms.find(name);
    if (it == rooms.end()) return std::nullopt;
    const auto bytes = BuildParamFile(it->second.image);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
  }
  std::optional<bool> Locked(const QString& name) const override { return rooms.at(name).locked; }
  bool Write(const QString& name, const std::vector<NamedEdit>& edits, QString& error) override {
    if (!Taken(name, error)) return false;
    QStringList names;
    for (const NamedEdit& edit : edits) {
      ApplyNamedEdit(rooms[name].image, edit);
      names << hub::PermissionName(edit) + QLatin1Char('=') + QString::number(edit.value);
    }
    log << name + QStringLiteral(" write ") + names.join(QLatin1Char(','));
    return true;
  }
  bool Recall(const QString& name, int preset, QString& error) override {
    if (!Taken(name, error)) return false;
    rooms[name].preset = preset;
    log << name + QStringLiteral(" recall %1").arg(preset);
    return true;
  }
  bool SetLock(const QString& name, bool locked, QString& error) override {
    if (!Taken(name, error)) return false;
    if (lockRefused) {
      error = QStringLiteral("the processor refused the lock");
      return false;
    }
    rooms[name].locked = locked;
    log << name + (locked ? QStringLiteral(" lock") : QStringLiteral(" unlock"));
    return true;
  }

  std::map<QString, StandInRoom> rooms;
  QStringList log;
  int failuresLeft = 0;  // the next this many changes are refused
  bool lockRefused = false;

 private:
  static hub::RoomView ViewOf(const QString& name, const StandInRoom& room) {
    return hub::ViewOf(name, room.online, 0, room.preset,
                       QStringLiteral("Preset %1").arg(room.preset));
  }
  bool Taken(const QString& name, QString& error) {
    if (!rooms[name].online) {
      error = QStringLiteral("offline");
      return false;
    }
    if (failuresLeft > 0) {
      --failuresLeft;
      error = QStringLiteral("the processor did not answer");
      return false;
    }
    return true;
  }
};

}  // namespace tavelo::hubtest
