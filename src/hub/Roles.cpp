#include "hub/Roles.h"

namespace tavelo::hub {

QString RoleName(Role role) {
  switch (role) {
    case Role::Owner:
      return QStringLiteral("owner");
    case Role::Installer:
      return QStringLiteral("installer");
    case Role::Staff:
      return QStringLiteral("staff");
  }
  return {};
}

std::optional<Role> ParseRole(const QString& text) {
  for (Role role : {Role::Owner, Role::Installer, Role::Staff})
    if (RoleName(role) == text) return role;
  return std::nullopt;
}

const QStringList& DefaultStaffNames() {
  static const QStringList names = {QStringLiteral("music.volume"), QStringLiteral("mic.volume"),
                                    QStringLiteral("effect.volume"), QStringLiteral("mute"),
                                    QLatin1String(kRecallPermission)};
  return names;
}

}  // namespace tavelo::hub
