#pragma once
// Rooms behind RoomAccess without processors: each holds an image that writes change and a
// preset that recalls change; every change it takes is counted and written to a log, and any of
// them can be made to fail.
#include <QByteArray>
#include <QStringList>
#include <map>

#include "core/params/ParamImage.h"
#include "core/presets/NamedEdits.h"
#include "core/presets/ParamFile.h"
#include "hub/RoomAccess.h"
#include "hub/WriteGate.h"

namespace tavelo::hubtest {

inline QByteArray FileOf(const ParamImage& image) {
  const auto bytes = BuildParamFile(image);
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

// `set` with one NAME=VALUE edit applied, as a parameter file.
inline QByteArray WithValue(const QByteArray& set, const char* edit) {
  const ParamFileResult file = ParseParamFile(
      reinterpret_cast<const std::uint8_t*>(set.constData()), static_cast<std::size_t>(set.size()));
  ParamImage image{};
  CopyFileFields(image, file.data);
  std::string error;
  ApplyNamedEdit(image, *ParseNamedEdit(edit, error));
  return FileOf(image);
}

class StandInVenue : public hub::RoomAccess {
 public:
  struct Held {
    hub::RoomView view;
    hub::RoomExtras extras;
    ParamImage image{};
    int writes = 0;
    int recalls = 0;
    QString lastUser;  // who asked for the last change it took
  };

  StandInVenue() = default;
  // Rooms online on preset 1, since a time not known, whose lock is not known until a test
  // sets it.
  explicit StandInVenue(const QStringList& names) {
    for (const QString& name : names) {
      Held& room = Add(name);
      room.view.since = 0;
      room.extras.locked.reset();
    }
  }

  Held& Add(const QString& name, bool online = true) {
    Held& room = rooms[name];
    ApplyDefaults(room.image);
    room.view = hub::ViewOf(name, online, 1000, 1, QStringLiteral("House"));
    for (int slot = 1; slot <= 10; ++slot)
      room.extras.presetNames << QStringLiteral("Preset %1").arg(slot);
    room.extras.presetNames[0] = QStringLiteral("House");
    room.extras.muted = false;
    room.extras.locked = false;
    return room;
  }
  Held& At(const QString& name) { return rooms.at(name); }

  std::vector<hub::RoomView> Rooms() const override {
    std::vector<hub::RoomView> out;
    for (const auto& [name, room] : rooms) out.push_back(room.view);
    return out;
  }
  std::optional<hub::RoomView> Room(const QString& name) const override {
    const auto it = rooms.find(name);
    if (it == rooms.end()) return std::nullopt;
    return it->second.view;
  }
  std::optional<QByteArray> CurrentSet(const QString& name) const override {
    const auto it = rooms.find(name);
    if (it == rooms.end()) return std::nullopt;
    return FileOf(it->second.image);
  }
  std::optional<bool> Locked(const QString& name) const override {
    return rooms.at(name).extras.locked;
  }
  hub::RoomFault LastFault(const QString&) const override { return lastFault_; }
  hub::RoomExtras Extras(const QString& name) const override {
    const auto it = rooms.find(name);
    return it == rooms.end() ? hub::RoomExtras{} : it->second.extras;
  }
  bool Write(const QString& name, const std::vector<NamedEdit>& edits, const QString& user,
             QString& error) override {
    if (!Taken(name, error)) return false;
    Held& room = rooms.at(name);
    ++room.writes;
    room.lastUser = user;
    QStringList names;
    for (const NamedEdit& edit : edits) {
      if (!edit.row) room.extras.muted = edit.value != 0;
      ApplyNamedEdit(room.image, edit);
      names << hub::PermissionName(edit) + QLatin1Char('=') + QString::number(edit.value);
    }
    log << name + QStringLiteral(" write ") + names.join(QLatin1Char(','));
    return true;
  }
  bool Recall(const QString& name, int preset, const QString& user, QString& error) override {
    if (!Taken(name, error)) return false;
    Held& room = rooms.at(name);
    ++room.recalls;
    room.lastUser = user;
    room.view.preset = preset;
    room.view.presetName = room.extras.presetNames.value(preset - 1);
    log << name + QStringLiteral(" recall %1").arg(preset);
    return true;
  }
  bool SetLock(const QString& name, bool locked, QString& error) override {
    if (!Taken(name, error)) return false;
    if (lockRefused) {
      error = QStringLiteral("the processor refused the lock");
      return false;
    }
    rooms.at(name).extras.locked = locked;
    log << name + (locked ? QStringLiteral(" lock") : QStringLiteral(" unlock"));
    return true;
  }

  std::map<QString, Held> rooms;
  QStringList log;
  int failuresLeft = 0;  // the next this many changes are refused, for this reason
  hub::RoomFault failure = hub::RoomFault::kLink;
  bool lockRefused = false;

 private:
  hub::RoomFault lastFault_ = hub::RoomFault::kLink;
  bool Taken(const QString& name, QString& error) {
    if (!rooms.at(name).view.online) {
      error = QStringLiteral("offline");
      lastFault_ = hub::RoomFault::kOffline;
      return false;
    }
    if (failuresLeft > 0) {
      --failuresLeft;
      error = QStringLiteral("the processor did not answer");
      lastFault_ = failure;
      return false;
    }
    return true;
  }
};

// One room, "room-01", online on preset 3 "Party".
inline StandInVenue::Held& AddPartyRoom(StandInVenue& venue) {
  StandInVenue::Held& room = venue.Add(QStringLiteral("room-01"));
  room.view.since = 1;
  room.view.preset = 3;
  room.view.presetName = QStringLiteral("Party");
  return room;
}

}  // namespace tavelo::hubtest
