#pragma once
// Where and how the service listens: the --listen address, the rule that passwords and
// tokens cross a network only under TLS, and the certificate and key TLS uses.
#include <QHostAddress>
#include <QSslConfiguration>
#include <QString>
#include <optional>

namespace tavelo::hub {

struct ListenAddress {
  QHostAddress address;
  quint16 port = 0;
};

// "127.0.0.1:8470", "[::1]:8470", "0.0.0.0:443"; nothing with `error` set when malformed.
std::optional<ListenAddress> ParseListenAddress(const QString& text, QString& error);

// Why the service must not listen on `address` as asked, or empty when it may: an address
// other than loopback needs TLS, unless `insecureAllowed` says the network is trusted.
QString ClearTextRefusal(const QHostAddress& address, bool tls, bool insecureAllowed);

// A server configuration from a PEM certificate (chain) file and a PEM private key file
// (RSA or EC, not encrypted). On failure `error` names the file and what is wrong with it.
std::optional<QSslConfiguration> LoadTls(const QString& certificateFile, const QString& keyFile,
                                         QString& error);

}  // namespace tavelo::hub
