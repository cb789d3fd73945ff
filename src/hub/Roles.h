#pragma once
// Who may do what: the owner everything including users; an installer every value, presets
// and roll-outs; staff only the names the owner allows (by default the volumes, mute and
// preset recall).
#include <QString>
#include <QStringList>
#include <optional>

namespace tavelo::hub {

enum class Role { Owner, Installer, Staff };

QString RoleName(Role role);  // "owner", "installer", "staff"
std::optional<Role> ParseRole(const QString& text);

// What staff may write unless the owner sets another list (setting "staff.names").
const QStringList& DefaultStaffNames();
// The name under which staff may recall presets.
inline constexpr const char* kRecallPermission = "preset.recall";

}  // namespace tavelo::hub
