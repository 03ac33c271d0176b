#pragma once

#include "store/StoreResult.h"

#include <QByteArray>
#include <QString>

// The administrator's access code. It belongs to the data, not to whoever opens it: the data
// folder's file Access.Code holds it, never in clear, as one line with a salted
// PBKDF2-HMAC-SHA256 digest
//     pbkdf2-sha256$<iterations>$<salt, base64>$<digest, base64>
// so that it travels with the folder (and its backups) to every station and every account.
// A folder without that file has no code yet. Where the folder already has users, only one of
// its administrators may choose it (the Admin window sees to that); a folder without users is
// a new installation, and whoever sets it up chooses.
//
// Earlier versions kept the record in the user's own settings (application "Mirtavel",
// section "Admin", key "AccessCode"); MoveAccessCodeFromSettings brings it over.
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
// Whether `record` has the stored form above (whatever code it holds).
bool IsAccessCodeRecord(const QString& record);
// Whether `typed` is the code behind `record`; a malformed record matches nothing. The
// digests are compared in constant time.
bool AccessCodeMatches(const QString& record, const QString& typed);

// Whether the data folder has a code. Anything under the file's name counts, even what this
// account may not read: a code that cannot be read is never chosen over.
bool AccessCodeIsSet();
// The folder's record; fails, naming the file and the reason, when it cannot be read or
// holds no record.
store::StoreResult ReadAccessCode(QString& record);
// Writes the record of `code` to the folder, all or nothing; fails, naming the file and the
// reason, when it did not reach the disk.
store::StoreResult SaveAccessCode(const QString& code);
store::StoreResult SaveAccessCodeRecord(const QString& record);
// Whether `typed` is the folder's code; false also when it cannot be read.
bool CheckAccessCode(const QString& typed);

// What moving a code out of the user's settings came to. A failure to write the folder's file
// leaves the settings' copy in place for the next start; a failure to remove that copy is
// the settings file's.
struct AccessCodeMove {
    store::StoreResult written; // the data folder's Access.Code
    store::StoreResult removed; // the copy in the settings
};

// Moves a code kept in this user's settings into the data folder when the folder has none,
// then removes it from the settings. A folder that has a code keeps it and the settings' copy
// is removed. A malformed copy would lock everyone out, so it is removed and not moved. A
// station that only reads the folder moves nothing into it.
AccessCodeMove MoveAccessCodeFromSettings();

} // namespace signin
