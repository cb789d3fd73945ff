#pragma once
// Where and how the bridge reaches its broker, from the command line:
//   --mqtt mqtt://HOST[:PORT] | mqtts://HOST[:PORT]   (1883 and 8883 unless given)
//   --mqtt-user U --mqtt-password-file F --mqtt-tls-ca F --mqtt-as USER --mqtt-base TOPIC
#include <QString>
#include <optional>

namespace tavelo::hub {

struct MqttOptions {
  QString host;
  int port = 1883;
  bool tls = false;
  QString caFile;  // TLS: the certificate authority; empty for the system's
  QString user;
  QString password;
  QString clientId = QStringLiteral("tavelo-hub");
};

// Reads "mqtt://host:port" or "mqtts://host:port" (an IPv6 host in brackets). On a refusal
// `error` says what is wrong.
std::optional<MqttOptions> ParseMqttUrl(const QString& url, QString& error);

// The password from the first line of a file (a trailing CR/LF is not part of it).
std::optional<QString> ReadPasswordFile(const QString& path, QString& error);

}  // namespace tavelo::hub
