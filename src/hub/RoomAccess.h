#pragma once
// What the API needs from the rooms the service watches. The room sessions implement it;
// tests put a stand-in behind it.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "core/presets/NamedEdits.h"

namespace tavelo::hub {

struct RoomView {
  QString name;
  bool online = false;
  qint64 since = 0;  // when `online` last changed, milliseconds since 1970
  int preset = 0;    // 1..10 as the panel numbers them; 0 while unknown
  QString presetName;
  QString state;    // "online", "connecting", "offline"
  QString problem;  // why the room is offline, when it is
  // Known once the room has been read; -1 before.
  int musicVolume = -1;
  int micVolume = -1;
  int effectVolume = -1;
  int masterLevel = -1;
  bool locked = false;
  int adminMode = 0;
  QJsonObject frontPanel;  // what the status poll last reported; empty before
};

// A room as far as its link and preset go; the rest as before the first read.
inline RoomView ViewOf(const QString& name, bool online, qint64 since, int preset,
                       const QString& presetName) {
  RoomView view;
  view.name = name;
  view.online = online;
  view.since = since;
  view.preset = preset;
  view.presetName = presetName;
  view.state = online ? QStringLiteral("online") : QStringLiteral("offline");
  return view;
}

// Why a change a room was asked for did not happen: the answer a caller gives depends on it.
enum class RoomFault {
  kRefused,   // the request does not fit the room as it is now; nothing was sent
  kOffline,   // the room is not connected; nothing was sent
  kLink,      // the link failed or the processor answered wrongly while the change travelled
  kTimedOut,  // no answer in time; the change may or may not have reached the room
};

// How an upload of a whole set ended: the processor took it and a download read back the
// same bytes, or why not.
struct UploadResult {
  bool ok = false;
  QString error;
  QJsonArray differences;  // {"name", "from", "to"}: uploaded -> read back, when they differ
  RoomFault fault = RoomFault::kLink;  // when not ok
};

// A whole set to write into a room, and what the history is to say of it.
struct SetUpload {
  QByteArray set;  // a parameter file
  // The stored preset it goes into, 1..10 as the panel numbers them; 0 for the one the room
  // plays now. The processor plays the preset it has just stored, as after a recall.
  int slot = 0;
  QString source;  // the cause the history records
  QString user;    // who asked; empty when no user did
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
  // `user` names who asked, for the history; empty when no user did (a schedule).
  virtual bool Write(const QString& name, const std::vector<NamedEdit>& edits, const QString& user,
                     QString& error) = 0;
  virtual bool Recall(const QString& name, int preset, const QString& user, QString& error) = 0;
  // Why the last Write, Recall or SetLock on the room that returned false failed; asked right
  // after it returns.
  virtual RoomFault LastFault(const QString& name) const {
    (void)name;
    return RoomFault::kLink;
  }
  // Starts a recall and returns; `done` hears how it ended. Many rooms' recalls started this
  // way run at once, each on its own link. Rooms that only answer in place do so here.
  virtual void RecallThen(const QString& name, int preset,
                          std::function<void(const UploadResult&)> done) {
    QString error;
    const bool ok = Recall(name, preset, QString(), error);
    done({ok, error, {}});
  }
  // Uploads a set into one of the room's presets and reads it back; `done` hears how it ended,
  // later, from the event loop.
  virtual void Upload(const QString& name, const SetUpload& upload,
                      std::function<void(const UploadResult&)> done) {
    (void)upload;
    done({false, QStringLiteral("room \"%1\" is not connected").arg(name), {}});
  }
  // Whether the room's adjustments are locked; nothing while not known.
  virtual std::optional<bool> Locked(const QString& name) const {
    (void)name;
    return std::nullopt;
  }
  // Locks or unlocks the room's adjustments; true once the processor has taken it.
  virtual bool SetLock(const QString& name, bool locked, QString& error) {
    (void)locked;
    error = QStringLiteral("room \"%1\" cannot be locked or unlocked by the service").arg(name);
    return false;
  }
  virtual RoomExtras Extras(const QString& /*name*/) const { return {}; }
  // Names the call made with a room's name after every completed read of its whole set.
  virtual void WatchDownloads(std::function<void(const QString& name)> downloaded) {
    (void)downloaded;
  }
};

}  // namespace tavelo::hub
