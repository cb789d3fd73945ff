#include "LockKeyCommand.h"

#include <iostream>
#include <string>

#include "core/params/LockKeyBlock.h"
#include "core/text/Escaped.h"

namespace tavelo::hub {

int LockKeyCommand(const HubCommandLine& line, Store& store) {
  if (line.operands.size() > 2)
    return Refuse(QStringLiteral("lock-key [ROOM], with the key on standard input"));
  QString key = QStringLiteral("lock_key");
  if (line.operands.size() == 2) {
    const QString& room = line.operands[1];
    const auto rooms = store.Rooms();
    if (!rooms) return Refuse(store.lastError());
    bool known = false;
    for (const StoredRoom& stored : *rooms) known = known || stored.name == room;
    if (!known) return Refuse(QStringLiteral("no room is named \"%1\"").arg(room.left(64)));
    key += QStringLiteral(".") + room;
  }
  // From standard input, never the command line, where other users could read it.
  std::string digits;
  std::getline(std::cin, digits);
  if (!digits.empty() && digits.back() == '\r') digits.pop_back();
  if (!IsLockKey(digits))
    return Refuse(QStringLiteral(
        "the lock key is four digits (0-9), read from the first line of standard input"));
  if (!store.SetSetting(key, QString::fromStdString(digits))) return Refuse(store.lastError());
  std::cout << "lock key kept for "
            << (line.operands.size() == 2 ? TerminalSafe(line.operands[1].toStdString())
                                          : std::string("every room without its own"))
            << "\n";
  return 0;
}

}  // namespace tavelo::hub
