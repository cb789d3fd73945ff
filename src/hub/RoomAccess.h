#pragma once
// What the API needs from the rooms the service watches. The room sessions implement it;
// tests put a stand-in behind it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "presets/NamedEdits.h"

namespace tavelo::hub {

struct RoomView {
  QString name;
  bool online = false;
  qint64 since = 0;  // when `online` last changed, milliseconds since 1970
  int preset = 0;    // 1..10 as the panel numbers them; 0 while unknown
  QString presetName;
};

// What a room's session knows beyond the view, as far as it knows it (the MQTT bridge shows
// it).
struct RoomExtras {
  QStringList presetNames;  // the ten stored presets' names in slot order, once read
  std::optional<bool> muted;
  std::optional<bool> locked;
};

class RoomAccess {
 public:
  virtual ~RoomAccess() = default;
  virtual std::vector<RoomView> Rooms() const = 0;
  virtual std::optional<RoomView> Room(const QString& name) const = 0;
  // The room's working set as a 1140-byte parameter file, once it has been read.
  virtual std::optional<QByteArray> CurrentSet(const QString& name) const = 0;
  // Sends the edits; true once the processor has taken them. On failure `error` says why.
  virtual bool Write(const QString& name, const std::vector<NamedEdit>& edits, QString& error) = 0;
  virtual bool Recall(const QString& name, int preset, QString& error) = 0;
  virtual RoomExtras Extras(const QString& /*name*/) const { return {}; }
};

}  // namespace tavelo::hub
