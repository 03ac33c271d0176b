#include "platform/Instance.h"

#include <QDir>
#include <QLockFile>
#include <memory>

namespace platform {

namespace {
std::unique_ptr<QLockFile>& Held() {
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

// The runtime folder is per user; where there is none, the temporary folder is shared, so the
// user's name goes into the file name. (Asking QStandardPaths would warn on every call when
// the session has no runtime folder.)
QString LockFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QDir(runtime).exists() ? runtime : QDir::tempPath();
}

QString UserName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return user;
}
} // namespace

QString InstanceLockPath(const QString& name) {
    const QString user = UserName();
    const QString file = user.isEmpty() ? name : name + u'-' + user;
    return QDir(LockFolder()).filePath(file + QStringLiteral(".lock"));
}

bool PreviousInstanceRunning(const QString& name) {
    auto& held = Held();
    if (held && held->isLocked())
        return false;
    auto lock = std::make_unique<QLockFile>(InstanceLockPath(name));
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
