#pragma once

#include <QString>

// What the sign-in tells a user whose password or code is refused.
namespace signin {

inline const QString TooManyPasswords =
    QStringLiteral("Too many incorrect passwords for this name.");
inline const QString TooManyAccessCodes = QStringLiteral("Too many incorrect access codes.");

// A try held off by its brake: `tooMany` says why, then how many seconds are left.
void TellPleaseWait(const QString& tooMany, int seconds);

void TellIncorrectPassword();

} // namespace signin
