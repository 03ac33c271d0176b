#pragma once

#include "store/StoreResult.h"

#include <QDateTime>
#include <QString>

namespace store {

inline const QString UserLogFileName = QStringLiteral("User.Log");

// What a line of the log tells. Wrong tries are logged too, with the name of the user whose
// password was checked.
enum class UserLogEvent {
    SignIn = 1,  // "03/07/2014 at 08:15:02 - First Last logged in w/ Read/Edit/Add privileges."
    SignOut = 2, // "03/07/2014 at 11:40:55 - First Last logged out."
    FailedSignIn = 3,     // "... - First Last failed to sign in."
    FailedAccessCode = 4, // "... - First Last entered an incorrect access code."; with no
                          // name, "... - An incorrect access code was entered."
};

// The line for `event` as above; a number outside the events is taken as a sign-out.
QString UserLogLine(UserLogEvent event, const QString& displayName, const QString& accessLevelName,
                    const QDateTime& when);
// Appends one line (CR LF ended, Windows-1252) to User.Log, creating it when missing.
StoreResult AppendUserLog(UserLogEvent event, const QString& displayName,
                          const QString& accessLevelName);

// The password as kept in UserRecord: a random letter or digit before each character.
QString ScramblePassword(const QString& password);
QString UnscramblePassword(const QString& scrambled);

} // namespace store
