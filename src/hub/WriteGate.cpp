#include "hub/WriteGate.h"

#include "core/text/Escaped.h"

namespace tavelo::hub {

namespace {

GateVerdict Refuse(int status, const QString& message) {
  GateVerdict verdict;
  verdict.status = status;
  verdict.message = message;
  return verdict;
}

QString Shown(const QString& text) {
  return QString::fromStdString(QuotedBytes(text.left(80).toStdString()));
}

}  // namespace

QString SetTextFor(const QJsonValue& value) {
  if (value.isString()) return value.toString();
  if (value.isBool()) return value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
  if (value.isDouble()) {
    const double number = value.toDouble();
    const auto whole = static_cast<long long>(number);
    if (static_cast<double>(whole) == number) return QString::number(whole);
    return QString::number(number);
  }
  if (value.isObject()) {
    const QJsonObject object = value.toObject();
    if (object.size() == 2 && object.value(QStringLiteral("level")).isDouble() &&
        object.value(QStringLiteral("on")).isBool())
      return SetTextFor(object.value(QStringLiteral("level"))) +
             (object.value(QStringLiteral("on")).toBool() ? QStringLiteral(" on")
                                                          : QStringLiteral(" off"));
  }
  return {};
}

QString PermissionName(const NamedEdit& edit) {
  if (!edit.row) return QString::fromStdString(edit.key);
  return QString::fromLatin1(edit.row->name.data(), static_cast<qsizetype>(edit.row->name.size()));
}

GateVerdict JudgeWrites(const Caller& caller, const QStringList& staffNames,
                        const std::map<QString, int>& caps, const QJsonObject& values) {
  if (values.isEmpty()) return Refuse(422, QStringLiteral("the request names no value to write"));
  GateVerdict verdict;
  for (auto it = values.begin(); it != values.end(); ++it) {
    const QString text = SetTextFor(it.value());
    if (text.isEmpty())
      return Refuse(422, QStringLiteral("%1: give the value as `show --json` writes it or as the "
                                        "text `set` takes")
                             .arg(Shown(it.key())));
    std::string error;
    const auto edit = ParseNamedEdit((it.key() + QLatin1Char('=') + text).toStdString(), error);
    if (!edit) return Refuse(422, QString::fromStdString(error));
    verdict.edits.push_back(*edit);
  }
  for (const NamedEdit& edit : verdict.edits) {
    const QString name = PermissionName(edit);
    if (caller.role == Role::Staff && !staffNames.contains(name))
      return Refuse(403, QStringLiteral("staff may not change %1").arg(name));
    const auto cap = caps.find(name);
    if (cap != caps.end() && edit.row && edit.value > cap->second)
      return Refuse(403, QStringLiteral("%1 may be at most %2 in this room (asked for %3)")
                             .arg(name)
                             .arg(cap->second)
                             .arg(edit.value));
  }
  return verdict;
}

bool MayRecall(const Caller& caller, const QStringList& staffNames) {
  return caller.role != Role::Staff || staffNames.contains(QLatin1String(kRecallPermission));
}

}  // namespace tavelo::hub
