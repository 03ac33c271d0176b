#pragma once

#include "ui/Session.h"

#include <QString>

// Where and when the last backup was made, kept in the user's settings: the folder picker
// starts there, and the Lobby reminds a user with full access when it is getting old.
namespace backup {

// The folder the last backup went into (the one the user chose, not its dated folder), or
// the user's Documents folder before the first backup or when that folder is gone.
QString BackupStartFolder();

// Records a backup made now into `folder`.
void RememberBackup(const QString& folder);

// Once per run of the program, on entering the Lobby: a user with full access whose last
// backup is more than seven days old is told when and where it was made.
void RemindOfOldBackup(const Session& session);

namespace testing {
// Lets the next RemindOfOldBackup remind again, as in a new run of the program.
void ForgetReminder();
} // namespace testing

} // namespace backup
