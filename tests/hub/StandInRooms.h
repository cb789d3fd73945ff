#pragma once
// A stand-in for the rooms the service watches: one room, "room-01", online, whose working
// set is an image the writes change.
#include <QByteArray>

#include "core/params/ParamImage.h"
#include "core/presets/NamedEdits.h"
#include "core/presets/ParamFile.h"
#include "hub/RoomAccess.h"

namespace tavelo::hubtest {

using hub::RoomAccess;
using hub::RoomView;

inline QByteArray FileOf(const ParamImage& image) {
  const auto bytes = BuildParamFile(image);
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

// One room, "room-01", whose working set is an image the writes change.
class StandInRooms : public RoomAccess {
 public:
  StandInRooms() { ApplyDefaults(image); }
  std::vector<RoomView> Rooms() const override { return {view}; }
  std::optional<RoomView> Room(const QString& name) const override {
    if (name == view.name) return view;
    return std::nullopt;
  }
  std::optional<QByteArray> CurrentSet(const QString&) const override { return FileOf(image); }
  bool Write(const QString&, const std::vector<NamedEdit>& edits, QString&) override {
    ++writes;
    for (const NamedEdit& edit : edits) ApplyNamedEdit(image, edit);
    return true;
  }
  bool Recall(const QString&, int preset, QString&) override {
    view.preset = preset;
    return true;
  }
  RoomView view = [] {
    RoomView v;
    v.name = QStringLiteral("room-01");
    v.online = true;
    v.since = 1;
    v.preset = 3;
    v.presetName = QStringLiteral("Party");
    v.state = QStringLiteral("online");
    return v;
  }();
  ParamImage image{};
  int writes = 0;
};

}  // namespace tavelo::hubtest
