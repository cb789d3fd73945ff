#pragma once
// The rooms as the store knows them, before any room session reports: every room offline,
// its working set the latest version recorded for it. Writes and recalls are refused.
#include "hub/RoomAccess.h"
#include "hub/Store.h"

namespace tavelo::hub {

class StoredRooms : public RoomAccess {
 public:
  explicit StoredRooms(Store& store) : store_(store) {}
  std::vector<RoomView> Rooms() const override;
  std::optional<RoomView> Room(const QString& name) const override;
  std::optional<QByteArray> CurrentSet(const QString& name) const override;
  bool Write(const QString& name, const std::vector<NamedEdit>& edits, const QString& user,
             QString& error) override;
  bool Recall(const QString& name, int preset, const QString& user, QString& error) override;

 private:
  Store& store_;
};

}  // namespace tavelo::hub
