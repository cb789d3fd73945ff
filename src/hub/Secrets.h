#pragma once
// Passwords and tokens, with libsodium: Argon2id password hashes, random bearer tokens that
// are stored only as their hash, and one-time passwords for the first owner.
#include <QString>

namespace tavelo::hub {

// False when libsodium cannot start (then nothing here may be used).
bool SecretsReady();

// The Argon2id hash in libsodium's self-describing text form; empty when hashing failed
// (out of memory).
QString HashPassword(const QString& password);
bool PasswordMatches(const QString& password, const QString& hash);

// 32 random bytes as 64 hex digits, and the hash under which the store keeps it.
QString NewToken();
QString TokenHash(const QString& token);

// 16 characters without look-alikes (no 0/O, 1/l/I), for reading off a terminal.
QString NewOneTimePassword();

}  // namespace tavelo::hub
