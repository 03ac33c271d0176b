#include "store/FolderLock.h"

#include "store/Clock.h"
#include "store/FileWrite.h"
#include "store/Formats.h"
#include "store/NewFileMode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

const QByteArray kKind = "Mirtavel data folder lock";
// Whoever takes over or breaks a lock holds this beside it meanwhile, so that two programs
// doing so at once cannot both end up holding the folder.
const QString kBreakSuffix = QStringLiteral(".break");
// A break takes a moment; a guard older than this was left by a program that stopped.
constexpr int kStaleGuardSeconds = 10;
constexpr int kAttempts = 5;

struct HeldLock {
    QString path;
    QByteArray content;
};

HeldLock& Held() {
    static HeldLock held;
    return held;
}

QString UserName() {
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    if (const passwd* entry = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(::geteuid());
}

QByteArray Describe(const LockHolder& holder) {
    // With the offset from UTC, so that a machine in another zone reads the same moment.
    const QDateTime since = holder.since.toOffsetFromUtc(holder.since.offsetFromUtc());
    return kKind + "\nUser=" + holder.user.toUtf8() + "\nMachine=" + holder.machine.toUtf8() +
           "\nPid=" + QByteArray::number(holder.pid) +
           "\nSince=" + since.toString(Qt::ISODate).toUtf8() + '\n';
}

LockHolder Parse(const QByteArray& bytes) {
    LockHolder holder;
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.value(0) != kKind)
        return holder;
    for (const QByteArray& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals);
        const QString value = QString::fromUtf8(line.mid(equals + 1));
        if (key == "User")
            holder.user = value;
        else if (key == "Machine")
            holder.machine = value;
        else if (key == "Pid")
            holder.pid = value.toLongLong();
        else if (key == "Since")
            holder.since = QDateTime::fromString(value, Qt::ISODate).toLocalTime();
    }
    // Complete only when the last line is there: a lock read while it is being written is not.
    if (!holder.since.isValid() || holder.pid <= 0)
        holder.machine.clear();
    return holder;
}

// The lock file's bytes; false when there is none.
bool ReadLock(const QString& path, QByteArray& bytes) {
    bytes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.read(4096);
    return true;
}

// Makes the lock file with `content`, all of it made durable; on failure nothing is left
// and `error` is the system's error number.
bool CreateLock(const QString& path, const QByteArray& content, int& error) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
        return false;
    }
    // Readable by whoever may use the folder, so that they can be told who holds it.
    (void)GiveNewFileMode(fd, path);
    StoreResult written = io::WriteAt(fd, path, 0, content.constData(), content.size());
    if (written)
        written = io::Sync(fd, path);
    ::close(fd);
    if (!written) {
        ::unlink(QFile::encodeName(path).constData());
        error = EIO;
        return false;
    }
    return true;
}

// A program of this machine that is gone cannot be holding anything. (One that belongs to
// another user still answers, with EPERM.)
bool Alive(qint64 pid) {
    if (pid <= 0 || pid == ::getpid())
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Puts a lock holding `content` in the place of the one that read as `seen`, unless it no
// longer does.
bool Replace(const QString& path, const QByteArray& seen, const QByteArray& content) {
    const QByteArray guard = QFile::encodeName(path + kBreakSuffix);
    const int fd =
        ::open(guard.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        const QFileInfo info(QFile::decodeName(guard));
        if (errno == EEXIST &&
            info.lastModified().secsTo(QDateTime::currentDateTime()) > kStaleGuardSeconds)
            ::unlink(guard.constData());
        return false;
    }
    ::close(fd);
    bool replaced = false;
    QByteArray now;
    if (ReadLock(path, now) && now == seen && ::unlink(QFile::encodeName(path).constData()) == 0) {
        int error = 0;
        replaced = CreateLock(path, content, error);
    }
    ::unlink(guard.constData());
    return replaced;
}

QString LockPath() {
    return QDir::current().absoluteFilePath(FolderLockFileName);
}

LockAttempt Holding(LockOutcome outcome, const LockHolder& holder, const QString& path,
                    const QByteArray& content) {
    Held() = {path, content};
    return {outcome, holder, {}};
}

// Reads the lock at `path` until it reads whole, for a lock that is being written the very
// moment it is looked at; false when it is gone.
bool ReadHolder(const QString& path, QByteArray& seen, LockHolder& holder) {
    for (int tries = 0; tries < 3; ++tries) {
        if (tries > 0)
            QThread::msleep(100);
        if (!ReadLock(path, seen))
            return false;
        holder = Parse(seen);
        if (holder.Known())
            return true;
    }
    holder.since = QFileInfo(path).lastModified();
    return true;
}

} // namespace

LockHolder ThisStation() {
    LockHolder me;
    me.user = UserName();
    me.machine = QSysInfo::machineHostName();
    me.pid = ::getpid();
    me.since = CurrentDateTime();
    return me;
}

LockAttempt TakeFolderLock() {
    const QString path = LockPath();
    HeldLock& held = Held();
    QByteArray current;
    if (held.path == path && ReadLock(path, current) && current == held.content)
        return {LockOutcome::Taken, Parse(held.content), {}};
    ReleaseFolderLock();

    LockAttempt found;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            QThread::msleep(50);
        const LockHolder me = ThisStation();
        const QByteArray content = Describe(me);
        int error = 0;
        if (CreateLock(path, content, error))
            return Holding(LockOutcome::Taken, me, path, content);
        QByteArray seen;
        LockHolder holder;
        const bool lockThere = ReadHolder(path, seen, holder);
        if (error != EEXIST) {
            // The folder takes no new file. Whoever holds it still is named, but nothing here
            // could write to it anyway.
            if (!lockThere || (holder.machine == me.machine && !Alive(holder.pid)))
                return {LockOutcome::NotLockable, {}, {}};
        } else if (!lockThere) {
            continue; // let go of meanwhile
        }
        if (holder.Known() && holder.machine == me.machine) {
            if (Alive(holder.pid))
                return {LockOutcome::HeldOnThisMachine, holder, seen};
            if (error == EEXIST && Replace(path, seen, content))
                return Holding(LockOutcome::TakenOver, holder, path, content);
            found = {LockOutcome::HeldOnThisMachine, holder, seen};
            continue;
        }
        return {LockOutcome::HeldElsewhere, holder, seen};
    }
    return found;
}

LockAttempt BreakFolderLock(const LockAttempt& found) {
    const QString path = LockPath();
    const LockHolder me = ThisStation();
    const QByteArray content = Describe(me);
    if (!found.seen.isEmpty() && Replace(path, found.seen, content))
        return Holding(LockOutcome::Taken, me, path, content);
    return TakeFolderLock();
}

void ReleaseFolderLock() {
    HeldLock& held = Held();
    QByteArray current;
    if (!held.path.isEmpty() && ReadLock(held.path, current) && current == held.content)
        ::unlink(QFile::encodeName(held.path).constData());
    held = {};
}

bool HoldsFolderLock() {
    return !Held().path.isEmpty();
}

QString DescribeHolder(const LockHolder& holder) {
    const QString who = holder.Known() ? holder.user + QStringLiteral(" on ") + holder.machine
                                       : QStringLiteral("an unknown program");
    const double since = formats::DateValue(holder.since);
    return who + QStringLiteral(" since ") + formats::MmDdYyyy(since) + u' ' +
           formats::HhNnSs(since).left(5);
}

QString AgeInWords(const QDateTime& since, const QDateTime& now) {
    const qint64 minutes = std::max<qint64>(0, since.secsTo(now)) / 60;
    const auto count = [](qint64 n, const char* unit) {
        return QString::number(n) + u' ' + QString::fromLatin1(unit) +
               (n == 1 ? QString() : QStringLiteral("s"));
    };
    if (minutes < 1)
        return QStringLiteral("less than a minute");
    if (minutes < 60)
        return count(minutes, "minute");
    if (minutes < 48 * 60)
        return count(minutes / 60, "hour");
    return count(minutes / (24 * 60), "day");
}

} // namespace store
