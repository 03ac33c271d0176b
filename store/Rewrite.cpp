#include "store/Rewrite.h"

#include "store/RecordFile.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

StoreResult Stopped() {
    return StoreResult::Fail(TempFileName, QStringLiteral("The removal was stopped."));
}

QString SystemReason(int error) {
    return qt_error_string(error);
}

StoreResult WriteFailure(const QFile& file, qint64 written, qint64 wanted) {
    if (file.error() != QFileDevice::NoError)
        return StoreResult::Fail(file.fileName(), file.errorString());
    return StoreResult::Fail(
        file.fileName(),
        QStringLiteral("Only %1 of %2 bytes could be written.").arg(written).arg(wanted));
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

// Copies records 1 to count of `source` that the plan keeps into `temp`, block by block.
StoreResult CopyKept(QFile& source, QFile& temp, const rewrite::Plan& plan, qint32 count,
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
            const qint64 written = temp.write(base, keptBytes);
            if (written != keptBytes)
                return WriteFailure(temp, written, keptBytes);
        }
    }
    return StoreResult::Ok();
}

StoreResult SyncFile(QFile& file) {
    if (!file.flush())
        return StoreResult::Fail(file.fileName(), file.errorString());
    if (::fsync(file.handle()) != 0)
        return StoreResult::Fail(file.fileName(), SystemReason(errno));
    return StoreResult::Ok();
}

// Leaves no partial copy behind after a failure; the data file was never touched.
void DiscardTemp(QFile& temp) {
    temp.close();
    QFile::remove(TempFileName);
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

StoreResult SyncFolder() {
    const int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return StoreResult::Fail(QDir::currentPath(), SystemReason(errno));
    const int synced = ::fsync(folder);
    const int error = errno;
    ::close(folder);
    if (synced != 0)
        return StoreResult::Fail(QDir::currentPath(), SystemReason(error));
    return StoreResult::Ok();
}

StoreResult DeleteTempFile() {
    QFile temp(TempFileName);
    if (!temp.remove())
        return StoreResult::Fail(TempFileName, temp.errorString());
    return SyncFolder();
}

StoreResult Run(const Plan& plan) {
    QFile source(plan.fileName);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return StoreResult::Fail(plan.fileName, source.errorString());
    const qint32 count = RecordCountForLength(source.size(), plan.recordLength);
    if (plan.requiredRecord > count)
        return StoreResult::Fail(plan.fileName, QStringLiteral("There is no record %1; the file "
                                                               "holds %2.")
                                                    .arg(plan.requiredRecord)
                                                    .arg(count));

    // Truncated: whatever an earlier run left there must not lend its tail to the copy.
    QFile temp(TempFileName);
    if (!temp.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return StoreResult::Fail(TempFileName, temp.errorString());
    if (!ContinueAfter(RemovalStep::TempOpened))
        return Stopped();

    qint32 kept = 0;
    if (StoreResult copied = CopyKept(source, temp, plan, count, kept); !copied) {
        DiscardTemp(temp);
        return copied;
    }
    if (!ContinueAfter(RemovalStep::RecordsCopied))
        return Stopped();

    // The copy must be on the disk before its name replaces the file's.
    if (StoreResult synced = SyncFile(temp); !synced) {
        DiscardTemp(temp);
        return synced;
    }
    temp.close();
    source.close();
    if (!ContinueAfter(RemovalStep::TempFlushed))
        return Stopped();

    if (kept == 0) {
        // Nothing left: the file goes. Until it is deleted the old file is still whole.
        QFile emptyCopy(TempFileName);
        if (!emptyCopy.remove())
            return StoreResult::Fail(TempFileName, emptyCopy.errorString());
        QFile data(plan.fileName);
        if (!data.remove())
            return StoreResult::Fail(plan.fileName, data.errorString());
    } else if (StoreResult replaced = ReplaceFile(TempFileName, plan.fileName); !replaced) {
        QFile::remove(TempFileName);
        return replaced;
    }
    if (!ContinueAfter(RemovalStep::Renamed))
        return Stopped();

    if (StoreResult synced = SyncFolder(); !synced)
        return synced;
    if (!ContinueAfter(RemovalStep::FolderFlushed))
        return Stopped();
    return StoreResult::Ok();
}

} // namespace rewrite

} // namespace store
