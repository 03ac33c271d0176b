#include "platform/Instance.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
std::unique_ptr<QLockFile>& Held() {
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

// The runtime folder is per user. Where there is none, a folder of this user's own in the
// temporary folder: the temporary folder is shared, and a lock file there under a name anyone
// can foresee could be planted beforehand (as a link, or as a lock that never goes away).
// Empty when that folder is not safely ours; then there is no lock. (Asking QStandardPaths
// would warn on every call when the session has no runtime folder.)
QString LockFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    const QString own =
        QDir(QDir::tempPath()).filePath(QStringLiteral("mirtavel-%1").arg(::geteuid()));
    const QByteArray path = QFile::encodeName(own);
    (void)::mkdir(path.constData(), 0700);
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & 077) != 0)
        return QString();
    return own;
}

QString UserName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return user;
}
} // namespace

QString InstanceLockPath(const QString& name) {
    const QString folder = LockFolder();
    if (folder.isEmpty())
        return QString();
    const QString user = UserName();
    const QString file = user.isEmpty() ? name : name + u'-' + user;
    return QDir(folder).filePath(file + QStringLiteral(".lock"));
}

bool PreviousInstanceRunning(const QString& name) {
    auto& held = Held();
    if (held && held->isLocked())
        return false;
    const QString path = InstanceLockPath(name);
    // Without a folder of our own there is no lock to take: the data folder's lock still
    // keeps two programs from changing the same data.
    if (path.isEmpty())
        return false;
    auto lock = std::make_unique<QLockFile>(path);
    // Only a live owner counts: a lock whose process is gone is stale at once.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        held = std::move(lock);
        return false;
    }
    if (lock->error() == QLockFile::LockFailedError && lock->removeStaleLockFile() &&
        lock->tryLock(0)) {
        held = std::move(lock);
        return false;
    }
    return lock->error() == QLockFile::LockFailedError;
}

void ReleaseInstanceLock() {
    Held().reset();
}

} // namespace platform
