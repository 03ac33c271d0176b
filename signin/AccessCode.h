#pragma once

#include "store/StoreResult.h"

#include <QByteArray>
#include <QString>

// The administrator's access code. It is never kept in clear: the settings store (application
// "Mirtavel", section "Admin", key "AccessCode") holds a salted PBKDF2-HMAC-SHA256 digest as
//     pbkdf2-sha256$<iterations>$<salt, base64>$<digest, base64>
// An installation without that key has no code yet; the administrator chooses one the first
// time admin mode is asked for. Removing the key lets a new one be chosen.
namespace signin {

inline const QString AccessCodeSection = QStringLiteral("Admin");
inline const QString AccessCodeKey = QStringLiteral("AccessCode");

constexpr int AccessCodeMinLength = 6;
constexpr int AccessCodeIterations = 100000;

// PBKDF2 (RFC 8018) with HMAC-SHA256 as its pseudo-random function.
QByteArray Pbkdf2Sha256(const QByteArray& password, const QByteArray& salt, int iterations,
                        int keyLength);

// The stored form of `code` with a fresh random salt.
QString MakeAccessCodeRecord(const QString& code, int iterations = AccessCodeIterations);
// Whether `typed` is the code behind `record`; a malformed record matches nothing. The
// digests are compared in constant time.
bool AccessCodeMatches(const QString& record, const QString& typed);

bool AccessCodeIsSet();
// Fails, naming the settings file and the reason, when the code did not reach the disk.
store::StoreResult SaveAccessCode(const QString& code);
bool CheckAccessCode(const QString& typed);

} // namespace signin
