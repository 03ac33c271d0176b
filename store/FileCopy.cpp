#include "store/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace store::filecopy {

namespace {

constexpr qint64 kBlockBytes = 1024 * 1024;

StoreResult Failed(QFile& target, const QString& name, const QString& reason) {
    target.close();
    QFile::remove(target.fileName());
    return StoreResult::Fail(name, reason);
}

QString CanonicalOrCleaned(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(path).absolutePath()) : canonical;
}

} // namespace

StoreResult CopyDurably(const QString& from, const QString& to) {
    const QString name = QFileInfo(from).fileName();
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return StoreResult::Fail(name, source.errorString());
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return StoreResult::Fail(QFileInfo(to).fileName(), target.errorString());
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(block.data(), kBlockBytes);
        if (got < 0)
            return Failed(target, name, source.errorString());
        if (got == 0)
            break;
        if (target.write(block.constData(), got) != got)
            return Failed(target, name, target.errorString());
    }
    // The copy must be on the disk before anything relies on it.
    if (!target.flush())
        return Failed(target, name, target.errorString());
    if (::fsync(target.handle()) != 0)
        return Failed(target, name, qt_error_string(errno));
    return StoreResult::Ok();
}

StoreResult SyncDir(const QString& folder) {
    const int handle =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return StoreResult::Fail(folder, qt_error_string(errno));
    const int synced = ::fsync(handle);
    const int error = errno;
    ::close(handle);
    if (synced != 0)
        return StoreResult::Fail(folder, qt_error_string(error));
    return StoreResult::Ok();
}

StoreResult Rename(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return StoreResult::Fail(QFileInfo(to).fileName(), qt_error_string(errno));
    return StoreResult::Ok();
}

bool SameFolder(const QString& a, const QString& b) {
    return CanonicalOrCleaned(a) == CanonicalOrCleaned(b);
}

} // namespace store::filecopy
