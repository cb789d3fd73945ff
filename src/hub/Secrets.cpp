#include "hub/Secrets.h"

#include <sodium.h>

#include <QByteArray>

namespace tavelo::hub {

bool SecretsReady() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

QString HashPassword(const QString& password) {
  if (!SecretsReady()) return {};
  const QByteArray utf8 = password.toUtf8();
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str_alg(out, utf8.constData(), static_cast<unsigned long long>(utf8.size()),
                            crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                            crypto_pwhash_ALG_ARGON2ID13) != 0)
    return {};
  return QString::fromLatin1(out);
}

bool PasswordMatches(const QString& password, const QString& hash) {
  if (!SecretsReady()) return false;
  const QByteArray utf8 = password.toUtf8();
  const QByteArray stored = hash.toLatin1();
  if (stored.size() >= crypto_pwhash_STRBYTES) return false;
  return crypto_pwhash_str_verify(stored.constData(), utf8.constData(),
                                  static_cast<unsigned long long>(utf8.size())) == 0;
}

QString NewToken() {
  SecretsReady();
  unsigned char bytes[32];
  randombytes_buf(bytes, sizeof bytes);
  char hex[sizeof bytes * 2 + 1];
  sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
  return QString::fromLatin1(hex);
}

QString TokenHash(const QString& token) {
  SecretsReady();
  const QByteArray bytes = token.toLatin1();
  unsigned char digest[crypto_generichash_BYTES];
  crypto_generichash(digest, sizeof digest,
                     reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long long>(bytes.size()), nullptr, 0);
  char hex[sizeof digest * 2 + 1];
  sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
  return QString::fromLatin1(hex);
}

QString NewOneTimePassword() {
  SecretsReady();
  static const char kAlphabet[] = "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
  QString password;
  for (int i = 0; i < 16; ++i)
    password += QLatin1Char(kAlphabet[randombytes_uniform(sizeof kAlphabet - 1)]);
  return password;
}

}  // namespace tavelo::hub
