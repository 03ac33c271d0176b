#include "store/FileCopy.h"

#include "store/FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store::filecopy {

namespace {

constexpr qint64 kBlockBytes = 1024 * 1024;

QString CanonicalOrCleaned(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(path).absolutePath()) : canonical;
}

// A descriptor closed when it goes out of scope.
class Handle {
public:
    explicit Handle(int fd) : fd_(fd) {}
    ~Handle() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int fd() const { return fd_; }
    bool open() const { return fd_ >= 0; }

private:
    int fd_;
};

int OpenFile(const QString& path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Reads up to `size` bytes; -1 with errno set on failure.
qint64 ReadSome(int fd, char* data, qint64 size) {
    ssize_t got;
    do {
        got = ::read(fd, data, static_cast<size_t>(size));
    } while (got < 0 && errno == EINTR);
    return got;
}

// Reads until `size` bytes are in or the file ends.
qint64 ReadFull(int fd, char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 got = ReadSome(fd, data + done, size - done);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

StoreResult Copy(int source, int target, const QString& name) {
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    qint64 offset = 0;
    for (;;) {
        const qint64 got = ReadSome(source, block.data(), kBlockBytes);
        if (got < 0)
            return StoreResult::Fail(name, qt_error_string(errno));
        if (got == 0)
            return StoreResult::Ok();
        if (StoreResult written = io::WriteAt(target, name, offset, block.constData(), got);
            !written)
            return written;
        offset += got;
    }
}

} // namespace

StoreResult CopyDurably(const QString& from, const QString& to, FileIdentity* written) {
    // Every failure is told under the name of the file being copied: the user knows
    // "User.List", not the name its copy has while it is written.
    const QString name = QFileInfo(from).fileName();
    const Handle source(OpenFile(from, O_RDONLY));
    struct stat sourceInfo {};
    if (!source.open() || ::fstat(source.fd(), &sourceInfo) != 0)
        return StoreResult::Fail(name, qt_error_string(errno));
    const mode_t mode = sourceInfo.st_mode & 07777;
    const Handle target(OpenFile(to, O_WRONLY | O_CREAT | O_TRUNC, mode));
    if (!target.open())
        return StoreResult::Fail(name, qt_error_string(errno));
    StoreResult result = Copy(source.fd(), target.fd(), name);
    // A new file got the mode less the process's mask, a truncated one kept its own: either
    // way the copy takes the source's, so a private User.List stays private.
    if (result && ::fchmod(target.fd(), mode) != 0)
        result = StoreResult::Fail(name, qt_error_string(errno));
    // The copy must be on the disk before anything relies on it.
    if (result)
        result = io::Sync(target.fd(), name);
    struct stat targetInfo {};
    if (result && ::fstat(target.fd(), &targetInfo) != 0)
        result = StoreResult::Fail(name, qt_error_string(errno));
    if (!result) {
        QFile::remove(to);
        return result;
    }
    if (written)
        *written = {static_cast<quint64>(targetInfo.st_dev),
                    static_cast<quint64>(targetInfo.st_ino)};
    return StoreResult::Ok();
}

StoreResult SyncDir(const QString& folder) {
    const Handle handle(OpenFile(folder, O_RDONLY | O_DIRECTORY));
    if (!handle.open())
        return StoreResult::Fail(folder, qt_error_string(errno));
    if (::fsync(handle.fd()) != 0)
        return StoreResult::Fail(folder, qt_error_string(errno));
    return StoreResult::Ok();
}

StoreResult Rename(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return StoreResult::Fail(QFileInfo(to).fileName(), qt_error_string(errno));
    return StoreResult::Ok();
}

StoreResult RenameWritten(const QString& from, const QString& to, const FileIdentity& written) {
    struct stat now {};
    if (::lstat(QFile::encodeName(from).constData(), &now) != 0)
        return StoreResult::Fail(QFileInfo(to).fileName(), qt_error_string(errno));
    if (FileIdentity{static_cast<quint64>(now.st_dev), static_cast<quint64>(now.st_ino)} != written)
        return StoreResult::Fail(QFileInfo(to).fileName(),
                                 QStringLiteral("Its copy was replaced by another file while it "
                                                "was made; nothing was renamed."));
    return Rename(from, to);
}

StoreResult CompareFiles(const QString& source, const QString& copy) {
    const QString name = QFileInfo(source).fileName();
    const Handle a(OpenFile(source, O_RDONLY));
    if (!a.open())
        return StoreResult::Fail(name, qt_error_string(errno));
    const Handle b(OpenFile(copy, O_RDONLY));
    if (!b.open())
        return StoreResult::Fail(name, qt_error_string(errno));
    QByteArray blockA(kBlockBytes, Qt::Uninitialized);
    QByteArray blockB(kBlockBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 gotA = ReadFull(a.fd(), blockA.data(), kBlockBytes);
        const qint64 gotB = gotA < 0 ? 0 : ReadFull(b.fd(), blockB.data(), kBlockBytes);
        if (gotA < 0 || gotB < 0)
            return StoreResult::Fail(name, qt_error_string(errno));
        if (gotA != gotB ||
            std::memcmp(blockA.constData(), blockB.constData(), static_cast<size_t>(gotA)) != 0)
            return StoreResult::Fail(name, QStringLiteral("Its copy, read back, differs from it."));
        if (gotA == 0)
            return StoreResult::Ok();
    }
}

bool SameFolder(const QString& a, const QString& b) {
    return CanonicalOrCleaned(a) == CanonicalOrCleaned(b);
}

} // namespace store::filecopy
