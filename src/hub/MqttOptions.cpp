#include "hub/MqttOptions.h"

#include <QFile>
#include <QUrl>

namespace tavelo::hub {

std::optional<MqttOptions> ParseMqttUrl(const QString& text, QString& error) {
  const QUrl url(text, QUrl::StrictMode);
  const QString scheme = url.scheme();
  if (!url.isValid() || (scheme != QStringLiteral("mqtt") && scheme != QStringLiteral("mqtts")) ||
      url.host().isEmpty() || !url.userInfo().isEmpty() ||
      (!url.path().isEmpty() && url.path() != QStringLiteral("/")) || url.hasQuery() ||
      url.hasFragment()) {
    error = QStringLiteral(
        "--mqtt takes mqtt://HOST[:PORT] or mqtts://HOST[:PORT]; give the user "
        "with --mqtt-user and the password with --mqtt-password-file");
    return std::nullopt;
  }
  MqttOptions options;
  options.host = url.host();
  options.tls = scheme == QStringLiteral("mqtts");
  options.port = url.port(options.tls ? 8883 : 1883);
  if (options.port < 1 || options.port > 65535) {
    error = QStringLiteral("--mqtt: the port must be 1..65535");
    return std::nullopt;
  }
  return options;
}

std::optional<QString> ReadPasswordFile(const QString& path, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("%1: cannot read the MQTT password: %2").arg(path, file.errorString());
    return std::nullopt;
  }
  QByteArray line = file.readLine(4096);
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  if (line.isEmpty()) {
    error = QStringLiteral("%1: the first line, the MQTT password, is empty").arg(path);
    return std::nullopt;
  }
  return QString::fromUtf8(line);
}

}  // namespace tavelo::hub
