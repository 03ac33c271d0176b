#include "store/FileCopy.h"

#include "store/FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
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

// What stands at a name instead of a regular file, for the message that refuses it.
QString KindOf(mode_t mode) {
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("no regular file");
}

FileIdentity IdentityOf(const struct stat& info) {
    return {static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
}

// Removes the copy at `path` that `fd` wrote, and nothing that was put in its place since.
void RemoveOwn(const QString& path, int fd) {
    struct stat own {};
    struct stat now {};
    if (::fstat(fd, &own) == 0 && ::lstat(QFile::encodeName(path).constData(), &now) == 0 &&
        IdentityOf(own) == IdentityOf(now))
        ::unlink(QFile::encodeName(path).constData());
}

// Copies the first `size` bytes of `source`, and refuses a source whose length is no longer
// `size`: the size was checked when it was opened, and a file still being written is no copy.
StoreResult Copy(int source, qint64 size, int target, const QString& name) {
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    qint64 offset = 0;
    while (offset < size) {
        ssize_t got;
        do {
            got = ::pread(source, block.data(),
                          static_cast<size_t>(std::min(kBlockBytes, size - offset)), offset);
        } while (got < 0 && errno == EINTR);
        if (got < 0)
            return StoreResult::Fail(name, qt_error_string(errno));
        if (got == 0)
            return StoreResult::Fail(name, QStringLiteral("It became shorter while it was "
                                                          "copied."));
        if (StoreResult written = io::WriteAt(target, name, offset, block.constData(), got);
            !written)
            return written;
        offset += got;
    }
    char more;
    ssize_t got;
    do {
        got = ::pread(source, &more, 1, size);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return StoreResult::Fail(name, qt_error_string(errno));
    if (got > 0)
        return StoreResult::Fail(name, QStringLiteral("It grew while it was copied."));
    return StoreResult::Ok();
}

} // namespace

SourceFile::~SourceFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

StoreResult SourceFile::Open(const QString& path, Links links) {
    name_ = QFileInfo(path).fileName();
    // Non-blocking, so that opening a named pipe returns at once and is refused below.
    int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY;
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    fd_ = OpenFile(path, flags);
    if (fd_ < 0) {
        const int error = errno;
        struct stat entry {};
        if (error == ELOOP && links == Links::Refuse &&
            ::lstat(QFile::encodeName(path).constData(), &entry) == 0 && S_ISLNK(entry.st_mode))
            return StoreResult::Fail(name_, QStringLiteral("It is a symbolic link, which is not "
                                                           "followed here; it was not read."));
        return StoreResult::Fail(name_, qt_error_string(error));
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        return StoreResult::Fail(name_, qt_error_string(errno));
    if (!S_ISREG(info.st_mode))
        return StoreResult::Fail(
            name_,
            QStringLiteral("It is %1, not a file; it was not read.").arg(KindOf(info.st_mode)));
    size_ = static_cast<qint64>(info.st_size);
    mode_ = info.st_mode & 07777;
    modified_ = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(info.st_mtim.tv_sec) * 1000 +
                                               info.st_mtim.tv_nsec / 1000000);
    return StoreResult::Ok();
}

StoreResult AbsentOrRegular(const QString& path, const QString& fileName) {
    struct stat entry {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0)
        return errno == ENOENT ? StoreResult::Ok()
                               : StoreResult::Fail(fileName, qt_error_string(errno));
    if (S_ISREG(entry.st_mode))
        return StoreResult::Ok();
    return StoreResult::Fail(fileName,
                             QStringLiteral("\"%1\" is %2, not a file: nothing is written "
                                            "through it or put in its place. Remove it, or "
                                            "choose another folder.")
                                 .arg(QDir::toNativeSeparators(path), KindOf(entry.st_mode)));
}

StoreResult CopyDurably(const SourceFile& source, const QString& to, FileIdentity* written) {
    // Every failure is told under the name of the file being copied: the user knows
    // "User.List", not the name its copy has while it is written.
    const QString& name = source.Name();
    if (source.Fd() < 0)
        return StoreResult::Fail(name, qt_error_string(EBADF));
    // A regular file under the copy's name is what an interrupted copy left; it goes, and the
    // copy is made anew, so that nothing another account put there is ever written to.
    if (StoreResult regular = AbsentOrRegular(to, name); !regular)
        return regular;
    if (::unlink(QFile::encodeName(to).constData()) != 0 && errno != ENOENT)
        return StoreResult::Fail(name, qt_error_string(errno));
    const Handle target(OpenFile(to, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600));
    if (!target.open()) {
        const int error = errno;
        if (error == EEXIST) {
            if (StoreResult regular = AbsentOrRegular(to, name); !regular)
                return regular;
        }
        return StoreResult::Fail(name, qt_error_string(error));
    }
    StoreResult result = Copy(source.Fd(), source.Size(), target.fd(), name);
    // Only the whole copy takes the source's mode, so a private User.List stays private.
    if (result && ::fchmod(target.fd(), source.Mode()) != 0)
        result = StoreResult::Fail(name, qt_error_string(errno));
    // The copy must be on the disk before anything relies on it.
    if (result)
        result = io::Sync(target.fd(), name);
    struct stat targetInfo {};
    if (result && ::fstat(target.fd(), &targetInfo) != 0)
        result = StoreResult::Fail(name, qt_error_string(errno));
    if (!result) {
        RemoveOwn(to, target.fd());
        return result;
    }
    if (written)
        *written = IdentityOf(targetInfo);
    return StoreResult::Ok();
}

StoreResult CopyDurably(const QString& from, const QString& to, FileIdentity* written) {
    SourceFile source;
    if (StoreResult opened = source.Open(from, SourceFile::Links::Follow); !opened)
        return opened;
    return CopyDurably(source, to, written);
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
    if (IdentityOf(now) != written)
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
    const Handle b(OpenFile(copy, O_RDONLY | O_NOFOLLOW | O_NONBLOCK));
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
