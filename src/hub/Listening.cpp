#include "hub/Listening.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

namespace tavelo::hub {

namespace {

constexpr qint64 kMaxPemBytes = 1 << 20;

std::optional<QByteArray> ReadPem(const QString& path, const QString& what, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read the TLS %1 %2: %3").arg(what, path, file.errorString());
    return std::nullopt;
  }
  const QByteArray bytes = file.read(kMaxPemBytes + 1);
  if (bytes.size() > kMaxPemBytes) {
    error =
        QStringLiteral("the TLS %1 %2 is larger than %3 bytes").arg(what, path).arg(kMaxPemBytes);
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

std::optional<ListenAddress> ParseListenAddress(const QString& text, QString& error) {
  const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
  bool portOk = false;
  const int port = colon < 0 ? -1 : text.mid(colon + 1).toInt(&portOk);
  QString host = text.left(colon);
  if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
    host = host.mid(1, host.size() - 2);
  const QHostAddress address(host);
  if (colon < 0 || !portOk || port < 0 || port > 65535 || address.isNull()) {
    error = QStringLiteral("--listen takes ADDRESS:PORT, as in 127.0.0.1:8470");
    return std::nullopt;
  }
  return ListenAddress{address, static_cast<quint16>(port)};
}

QString ClearTextRefusal(const QHostAddress& address, bool tls, bool insecureAllowed) {
  if (tls || insecureAllowed || address.isLoopback()) return {};
  return QStringLiteral(
             "will not listen on %1 without TLS: passwords and tokens would cross the network "
             "readable by anyone on it. Give --tls-cert FILE --tls-key FILE, or "
             "--insecure-listen when the network is trusted or a TLS proxy stands in front")
      .arg(address.toString());
}

std::optional<QSslConfiguration> LoadTls(const QString& certificateFile, const QString& keyFile,
                                         QString& error) {
  if (!QSslSocket::supportsSsl()) {
    error = QStringLiteral("TLS is not available: Qt found no TLS library");
    return std::nullopt;
  }
  const auto certPem = ReadPem(certificateFile, QStringLiteral("certificate"), error);
  if (!certPem) return std::nullopt;
  const QList<QSslCertificate> chain = QSslCertificate::fromData(*certPem, QSsl::Pem);
  if (chain.isEmpty() || chain.front().isNull()) {
    error = QStringLiteral("%1 holds no PEM certificate").arg(certificateFile);
    return std::nullopt;
  }
  const auto keyPem = ReadPem(keyFile, QStringLiteral("key"), error);
  if (!keyPem) return std::nullopt;
  QSslKey key;
  for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec}) {
    key = QSslKey(*keyPem, algorithm, QSsl::Pem, QSsl::PrivateKey);
    if (!key.isNull()) break;
  }
  if (key.isNull()) {
    error = QStringLiteral("%1 holds no PEM private key (RSA or EC, without a passphrase)")
                .arg(keyFile);
    return std::nullopt;
  }
  QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
  configuration.setLocalCertificateChain(chain);
  configuration.setPrivateKey(key);
  configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
  configuration.setProtocol(QSsl::TlsV1_2OrLater);
  return configuration;
}

}  // namespace tavelo::hub
