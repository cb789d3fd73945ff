#pragma once
// Work the service asks of one room, done one at a time in the order asked: named edits, a
// preset recall, a whole set uploaded and read back, or the lock engaged or released.
#include <QByteArray>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/presets/NamedEdits.h"
#include "hub/RoomAccess.h"

namespace tavelo::hub {

struct RoomJob {
  enum class Kind { kWrite, kRecall, kUpload, kLock };
  Kind kind = Kind::kWrite;
  std::vector<NamedEdit> edits;  // kWrite
  int preset = 0;                // kRecall: 1..10
  QByteArray set;                // kUpload: a parameter file
  int slot = 0;                  // kUpload: the preset 1..10 it goes into; 0: the current one
  bool locked = false;           // kLock: engage (true) or release
  std::string lockKey;           // kLock: the room's four-digit key
  QString source;                // the cause the history records
  QString user;                  // who asked, for the history; empty when no user did
  // Called once, from the room's event handling, when the job has ended.
  std::function<void(const UploadResult&)> done;
};

}  // namespace tavelo::hub
