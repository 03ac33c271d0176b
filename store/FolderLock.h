#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One program at a time changes a data folder. Departments keep the folder on a network
// drive, so a second user or a second machine may start on it while the first is in the
// middle of a change; the start-up repairs of the second would then "finish" work the first
// is still doing. The program holds a lock file in the data folder from before its first
// repair until it ends; it names who holds it (user, machine, process, since when), so that
// anyone else starting on the folder can be told.
namespace store {

// Hidden, so that the folder's listing shows the data files alone.
inline const QString FolderLockFileName = QStringLiteral(".Mirtavel.lock");

// Who holds (or held) a folder. A lock file that cannot be read (being written this very
// moment, or damaged) leaves `machine` empty and `since` at the file's time.
struct LockHolder {
    QString user;
    QString machine;
    qint64 pid = 0;
    QDateTime since;
    bool Known() const { return !machine.isEmpty(); }
};

enum class LockOutcome {
    Taken,             // this program holds the folder now
    TakenOver,         // ... from a program on this machine that stopped without letting go
    HeldOnThisMachine, // a running program on this machine holds it
    HeldElsewhere,     // a program on another machine holds it, or held it when it stopped
    NotLockable,       // the folder takes no new file (a read-only medium): nobody writes it
};

struct LockAttempt {
    LockOutcome outcome = LockOutcome::NotLockable;
    LockHolder holder; // Taken: this program; otherwise the one found
    QByteArray seen;   // the lock file as found, so that only that lock is ever broken
};

// This program as a lock names it, now.
LockHolder ThisStation();

// Takes the lock of the data folder (the current directory). A lock left by a program of
// this machine that no longer runs is taken over; any other lock is left alone and named.
// Taking the lock of another folder lets go of the one held before.
LockAttempt TakeFolderLock();

// Breaks the lock `found` named and takes the folder, the user having chosen so. When the lock
// changed meanwhile (its holder let go, or a third program took it) nothing is broken and the
// folder is tried afresh.
LockAttempt BreakFolderLock(const LockAttempt& found);

// Lets go of the lock this program holds; a lock someone else has put in its place stays.
void ReleaseFolderLock();
bool HoldsFolderLock();

// "alice on pc-12 since 03/15/2024 10:30", or "an unknown program since ..." for a lock that
// cannot be read.
QString DescribeHolder(const LockHolder& holder);
// How long ago `since` was, in words: "less than a minute", "5 minutes", "3 hours", "2 days".
QString AgeInWords(const QDateTime& since, const QDateTime& now);

} // namespace store
