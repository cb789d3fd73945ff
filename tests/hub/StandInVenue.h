#pragma once
// Several rooms behind RoomAccess without processors: each holds an image that writes change, a
// preset that recalls change, and counts what reached it.
#include <map>

#include "core/params/ParamImage.h"
#include "core/presets/ParamFile.h"
#include "hub/RoomAccess.h"

namespace tavelo::hubtest {

class StandInVenue : public hub::RoomAccess {
 public:
  struct Held {
    hub::RoomView view;
    hub::RoomExtras extras;
    ParamImage image{};
    int writes = 0;
    int recalls = 0;
  };

  Held& Add(const QString& name, bool online = true) {
    Held& room = rooms_[name];
    ApplyDefaults(room.image);
    room.view = hub::ViewOf(name, online, 1000, 1, QStringLiteral("House"));
    for (int slot = 1; slot <= 10; ++slot)
      room.extras.presetNames << QStringLiteral("Preset %1").arg(slot);
    room.extras.presetNames[0] = QStringLiteral("House");
    room.extras.muted = false;
    room.extras.locked = false;
    return room;
  }
  Held& At(const QString& name) { return rooms_.at(name); }

  std::vector<hub::RoomView> Rooms() const override {
    std::vector<hub::RoomView> out;
    for (const auto& [name, room] : rooms_) out.push_back(room.view);
    return out;
  }
  std::optional<hub::RoomView> Room(const QString& name) const override {
    const auto it = rooms_.find(name);
    if (it == rooms_.end()) return std::nullopt;
    return it->second.view;
  }
  std::optional<QByteArray> CurrentSet(const QString& name) const override {
    const auto it = rooms_.find(name);
    if (it == rooms_.end()) return std::nullopt;
    const auto bytes = BuildParamFile(it->second.image);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
  }
  bool Write(const QString& name, const std::vector<NamedEdit>& edits, QString&) override {
    Held& room = rooms_.at(name);
    ++room.writes;
    for (const NamedEdit& edit : edits) {
      if (!edit.row) room.extras.muted = edit.value != 0;
      ApplyNamedEdit(room.image, edit);
    }
    return true;
  }
  bool Recall(const QString& name, int preset, QString&) override {
    Held& room = rooms_.at(name);
    ++room.recalls;
    room.view.preset = preset;
    room.view.presetName = room.extras.presetNames.value(preset - 1);
    return true;
  }
  hub::RoomExtras Extras(const QString& name) const override {
    const auto it = rooms_.find(name);
    return it == rooms_.end() ? hub::RoomExtras{} : it->second.extras;
  }

 private:
  std::map<QString, Held> rooms_;
};

}  // namespace tavelo::hubtest
