#include "HubMqtt.h"

#include <QHostInfo>

namespace tavelo::hub {

std::optional<MqttSettings> MqttSettingsFrom(const HubCommandLine& line, Store& store,
                                             QString& error) {
  error.clear();
  if (line.mqtt.isEmpty()) {
    if (!line.mqttAs.isEmpty() || !line.mqttUser.isEmpty() || !line.mqttPasswordFile.isEmpty() ||
        !line.mqttCa.isEmpty() || !line.mqttBase.isEmpty())
      error = QStringLiteral("the --mqtt-... options need --mqtt naming the broker");
    return std::nullopt;
  }
  auto broker = ParseMqttUrl(line.mqtt, error);
  if (!broker) return std::nullopt;
  MqttSettings settings;
  settings.broker = *broker;
  settings.broker.user = line.mqttUser;
  if (!line.mqttPasswordFile.isEmpty()) {
    if (line.mqttUser.isEmpty()) {
      error = QStringLiteral("--mqtt-password-file needs --mqtt-user");
      return std::nullopt;
    }
    const auto password = ReadPasswordFile(line.mqttPasswordFile, error);
    if (!password) return std::nullopt;
    settings.broker.password = *password;
  }
  if (!line.mqttCa.isEmpty()) {
    if (!settings.broker.tls) {
      error = QStringLiteral("--mqtt-tls-ca needs an mqtts:// broker");
      return std::nullopt;
    }
    settings.broker.caFile = line.mqttCa;
  }
  // One client id per machine: two services on one broker must not take each other's place.
  settings.broker.clientId = QStringLiteral("tavelo-hub-") + QHostInfo::localHostName().left(40);
  if (!line.mqttBase.isEmpty()) {
    if (!ValidTopicBase(line.mqttBase)) {
      error = QStringLiteral(
          "--mqtt-base takes topic levels of letters, digits, '_' and '-' "
          "separated by '/', as in venue/tavelo");
      return std::nullopt;
    }
    settings.topics.base = line.mqttBase;
  }
  if (line.mqttAs.isEmpty()) {
    error = QStringLiteral(
        "--mqtt needs --mqtt-as USER: the service's user whose role the "
        "bridge's commands have (add one with tavelo-hub user add)");
    return std::nullopt;
  }
  const auto user = store.User(line.mqttAs);
  const auto role = user ? ParseRole(user->role) : std::nullopt;
  if (!role) {
    error = QStringLiteral("--mqtt-as: no user is named %1 (or the database cannot be read)")
                .arg(line.mqttAs.left(64));
    return std::nullopt;
  }
  settings.caller = {user->name, *role};
  return settings;
}

}  // namespace tavelo::hub
