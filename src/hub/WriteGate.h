#pragma once
// The one place where a write to a room is judged before anything reaches it: every name and
// value of a request is read against the catalogue, the caller's role and the room's caps,
// and the request passes whole or not at all.
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "core/presets/NamedEdits.h"
#include "hub/Accounts.h"

namespace tavelo::hub {

struct GateVerdict {
  // 200: every edit may go; 403: the role or a cap forbids one; 422: a name or value is wrong.
  int status = 200;
  QString message;
  std::vector<NamedEdit> edits;  // in request order, when status is 200
};

// The text `set` takes for one value in the form `show --json` writes it (70, "sing",
// {"level": 75, "on": true}, true/false for on/off), or the text itself. Empty when the value
// has no such form.
QString SetTextFor(const QJsonValue& value);

// The name a permission or a cap is kept under: the catalogue row's name, or "mute".
QString PermissionName(const NamedEdit& edit);

GateVerdict JudgeWrites(const Caller& caller, const QStringList& staffNames,
                        const std::map<QString, int>& caps, const QJsonObject& values);

// Whether the caller may recall presets.
bool MayRecall(const Caller& caller, const QStringList& staffNames);

}  // namespace tavelo::hub
