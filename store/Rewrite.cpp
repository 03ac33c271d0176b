#include "store/Rewrite.h"

#include "store/DataFileOpen.h"
#include "store/FileWrite.h"
#include "store/ReadOnlyStation.h"
#include "store/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace store {

namespace {

// Records are copied in blocks of about this size: few system calls, constant memory.
constexpr qint64 kBlockBytes = 1024 * 1024;

std::function<bool(RemovalStep)>& Hook() {
    static std::function<bool(RemovalStep)> hook;
    return hook;
}

// False when a test wants the removal to stop after `step`, as if the program had died.
bool ContinueAfter(RemovalStep step) {
    const auto& hook = Hook();
    return !hook || hook(step);
}

QString SystemReason(int error) {
    return qt_error_string(error);
}

// Reads up to `wanted` bytes; fewer only at the end of the file.
qint64 ReadFully(QFile& file, char* into, qint64 wanted) {
    qint64 total = 0;
    while (total < wanted) {
        const qint64 got = file.read(into + total, wanted - total);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

// The temporary copy: a file of our own, made fresh, closed and (unless it took the file's
// place) deleted again when a removal ends early.
class TempCopy {
public:
    TempCopy() = default;
    ~TempCopy() { Discard(); }
    TempCopy(const TempCopy&) = delete;
    TempCopy& operator=(const TempCopy&) = delete;

    // Makes `path` anew. It is created exclusively and never through a link, so nothing that
    // stands under the name can redirect the copy or hang it: a stale link, special file or
    // empty file is removed first (a copy that held records was settled before), a folder
    // is refused. The copy takes the mode and, where permitted, the group of the file it
    // replaces.
    StoreResult Create(const QString& path, const struct stat& like) {
        path_ = path;
        const QByteArray name = QFile::encodeName(path);
        for (int attempt = 0; attempt < 2; ++attempt) {
            fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         0600);
            if (fd_ >= 0)
                break;
            if (errno != EEXIST || attempt > 0)
                return StoreResult::Fail(path, SystemReason(errno));
            struct stat there;
            if (::lstat(name.constData(), &there) == 0 && S_ISDIR(there.st_mode))
                return StoreResult::Fail(
                    path, QStringLiteral("A folder of this name stands where removals make "
                                         "their copy; nothing was removed. Move the folder "
                                         "away and try again."));
            if (::unlink(name.constData()) != 0 && errno != ENOENT)
                return StoreResult::Fail(path, SystemReason(errno));
        }
        // The group first: changing it may clear the mode's set-group bit.
        if (::fchown(fd_, static_cast<uid_t>(-1), like.st_gid) != 0 && errno != EPERM)
            return StoreResult::Fail(path, SystemReason(errno));
        if (::fchmod(fd_, like.st_mode & 07777) != 0)
            return StoreResult::Fail(path, SystemReason(errno));
        return StoreResult::Ok();
    }
    int Handle() const { return fd_; }
    const QString& Path() const { return path_; }
    StoreResult Close() {
        const int fd = std::exchange(fd_, -1);
        if (fd >= 0 && ::close(fd) != 0)
            return StoreResult::Fail(path_, SystemReason(errno));
        return StoreResult::Ok();
    }
    // From here on the copy is no longer ours to delete.
    void Release() { path_.clear(); }
    void Discard() {
        (void)Close();
        if (!path_.isEmpty())
            ::unlink(QFile::encodeName(std::exchange(path_, QString())).constData());
    }

private:
    int fd_ = -1;
    QString path_;
};

// A stopped removal leaves its files as a crash would: the copy stays where it is.
StoreResult Stopped(TempCopy& temp) {
    (void)temp.Close();
    temp.Release();
    return StoreResult::Fail(TempFileName, QStringLiteral("The removal was stopped."));
}

// Copies records 1 to count of `source` that the plan keeps into `temp`, block by block.
StoreResult CopyKept(QFile& source, const TempCopy& temp, const rewrite::Plan& plan, qint32 count,
                     qint32& kept) {
    const int length = plan.recordLength;
    const qint64 blockRecords = std::max<qint64>(1, kBlockBytes / length);
    QByteArray block(blockRecords * length, Qt::Uninitialized);
    qint32 number = 0;
    kept = 0;
    while (number < count) {
        const qint64 inBlock = std::min<qint64>(blockRecords, count - number);
        const qint64 wanted = inBlock * length;
        const qint64 got = ReadFully(source, block.data(), wanted);
        if (got < 0)
            return StoreResult::Fail(plan.fileName, source.errorString());
        // A partial last record is copied with zeros for its missing bytes, as it reads.
        std::memset(block.data() + got, 0, wanted - got);

        char* const base = block.data();
        qint64 keptBytes = 0;
        for (qint64 i = 0; i < inBlock; ++i) {
            char* record = base + i * length;
            ++number;
            if (plan.drop(number, record))
                continue;
            char* target = base + keptBytes;
            if (target != record)
                std::memmove(target, record, length);
            if (plan.adjustKept)
                plan.adjustKept(target);
            keptBytes += length;
            ++kept;
        }
        if (keptBytes > 0) {
            if (StoreResult written =
                    io::WriteAt(temp.Handle(), TempFileName,
                                qint64(kept - keptBytes / length) * length, base, keptBytes);
                !written)
                return written;
            if (plan.keptCopied)
                plan.keptCopied(base, keptBytes / length);
        }
    }
    return StoreResult::Ok();
}

// The folder that holds `path`.
QString FolderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

} // namespace

namespace testing {
void SetRemovalHook(std::function<bool(RemovalStep)> hook) {
    Hook() = std::move(hook);
}
} // namespace testing

namespace rewrite {

StoreResult ReplaceFile(const QString& from, const QString& to) {
    // rename(2) swaps the directory entry in one step: there is no moment without `to`.
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return StoreResult::Fail(to, SystemReason(errno));
    return StoreResult::Ok();
}

StoreResult SyncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return StoreResult::Fail(QDir(folder).absolutePath(), SystemReason(errno));
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0)
        return StoreResult::Fail(QDir(folder).absolutePath(), SystemReason(error));
    return StoreResult::Ok();
}

StoreResult DeleteTempFile() {
    if (::unlink(QFile::encodeName(TempFileName).constData()) != 0)
        return StoreResult::Fail(TempFileName, SystemReason(errno));
    return SyncFolder();
}

StoreResult Run(const Plan& plan) {
    if (IsReadOnlyStation())
        return StoreResult::Fail(plan.fileName, ReadOnlyStationReason());
    // A data file that is a link is rewritten where the link points: the link stays, and
    // whoever else reaches the file through it sees the new records. The copy is made in
    // the target's folder, for a rename never crosses folders' file systems.
    const QFileInfo named(plan.fileName);
    const bool linked = named.isSymLink();
    const QString target = linked ? named.canonicalFilePath() : plan.fileName;
    if (linked && target.isEmpty())
        return StoreResult::Fail(plan.fileName, SystemReason(ENOENT));
    const QString tempPath = linked ? QDir(FolderOf(target)).filePath(TempFileName) : TempFileName;

    // Through a link only while it stays inside the data folder: a copy made beside a file
    // elsewhere would be written with the rights of whoever signed in.
    bool leadsOutside = false;
    const int fd = OpenDataFile(plan.fileName, O_RDONLY | O_CLOEXEC, false, leadsOutside);
    if (fd < 0)
        return StoreResult::Fail(plan.fileName,
                                 leadsOutside ? LeadsOutsideReason() : SystemReason(errno));
    QFile source;
    if (!source.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                     QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return StoreResult::Fail(plan.fileName, source.errorString());
    }
    struct stat original;
    if (::fstat(source.handle(), &original) != 0)
        return StoreResult::Fail(plan.fileName, SystemReason(errno));
    const qint32 count = RecordCountForLength(source.size(), plan.recordLength);
    if (plan.requiredRecord > count)
        return StoreResult::Fail(plan.fileName, QStringLiteral("There is no record %1; the file "
                                                               "holds %2.")
                                                    .arg(plan.requiredRecord)
                                                    .arg(count));

    // Fresh: whatever an earlier run left there must not lend its tail to the copy.
    TempCopy temp;
    if (StoreResult created = temp.Create(tempPath, original); !created)
        return created;
    if (!ContinueAfter(RemovalStep::TempOpened))
        return Stopped(temp);

    qint32 kept = 0;
    if (StoreResult copied = CopyKept(source, temp, plan, count, kept); !copied)
        return copied;
    if (!ContinueAfter(RemovalStep::RecordsCopied))
        return Stopped(temp);

    // The copy must be on the disk before its name replaces the file's.
    if (StoreResult synced = io::Sync(temp.Handle(), TempFileName); !synced)
        return synced;
    if (StoreResult closed = temp.Close(); !closed)
        return closed;
    source.close();
    if (!ContinueAfter(RemovalStep::TempFlushed))
        return Stopped(temp);

    if (kept == 0 && !linked) {
        // Nothing left: the file goes. Until it is deleted the old file is still whole.
        temp.Discard();
        QFile data(plan.fileName);
        if (!data.remove())
            return StoreResult::Fail(plan.fileName, data.errorString());
    } else {
        // A linked file left without records stays, empty, so that the link keeps its target.
        if (StoreResult replaced = ReplaceFile(tempPath, target); !replaced)
            return replaced;
        temp.Release();
    }
    if (plan.replaced)
        plan.replaced(plan.fileName);
    if (!ContinueAfter(RemovalStep::Renamed))
        return Stopped(temp);

    if (StoreResult synced = SyncFolder(FolderOf(target)); !synced)
        return synced;
    if (!ContinueAfter(RemovalStep::FolderFlushed))
        return Stopped(temp);
    return StoreResult::Ok();
}

} // namespace rewrite

} // namespace store
