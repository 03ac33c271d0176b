#include "store/FileWrite.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <utility>

namespace store::io {

namespace {

testing::WriteHook& Hook() {
    static testing::WriteHook hook;
    return hook;
}

testing::SyncHook& SyncHookSet() {
    static testing::SyncHook hook;
    return hook;
}

// One write(2) at `offset`, shortened or failed as a test asks.
qint64 WriteOnce(int fd, const QString& fileName, qint64 offset, const char* data, qint64 size,
                 bool hooked) {
    if (const auto& hook = Hook(); hook && hooked) {
        int error = 0;
        const qint64 allowed = hook(fileName, size, error);
        if (allowed <= 0 && error != 0) {
            errno = error;
            return -1;
        }
        size = std::clamp<qint64>(allowed, 0, size);
    }
    return ::pwrite(fd, data, static_cast<size_t>(size), static_cast<off_t>(offset));
}

} // namespace

namespace testing {
void SetWriteHook(WriteHook hook) {
    Hook() = std::move(hook);
}
void SetSyncHook(SyncHook hook) {
    SyncHookSet() = std::move(hook);
}
} // namespace testing

static StoreResult WriteLoop(int fd, const QString& fileName, qint64 offset, const char* data,
                             qint64 size, qint64* written, bool hooked) {
    qint64 done = 0;
    StoreResult result;
    while (done < size) {
        const qint64 n = WriteOnce(fd, fileName, offset + done, data + done, size - done, hooked);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result = StoreResult::Fail(fileName, qt_error_string(errno));
            break;
        }
        if (n == 0) {
            // A regular file takes at least a byte or says why not; nothing at all twice
            // would loop for ever.
            result = StoreResult::Fail(fileName, QStringLiteral("Only %1 of %2 bytes could be "
                                                                "written.")
                                                     .arg(done)
                                                     .arg(size));
            break;
        }
        done += n;
    }
    if (written)
        *written = done;
    return result;
}

StoreResult WriteAt(int fd, const QString& fileName, qint64 offset, const char* data, qint64 size,
                    qint64* written) {
    return WriteLoop(fd, fileName, offset, data, size, written, true);
}

StoreResult PutBack(int fd, const QString& fileName, qint64 offset, const char* data, qint64 size) {
    return WriteLoop(fd, fileName, offset, data, size, nullptr, false);
}

StoreResult Sync(int fd, const QString& fileName) {
    if (const auto& hook = SyncHookSet(); hook) {
        if (const int error = hook(fileName); error != 0)
            return StoreResult::Fail(fileName, qt_error_string(error));
    }
    if (::fsync(fd) != 0)
        return StoreResult::Fail(fileName, qt_error_string(errno));
    return StoreResult::Ok();
}

} // namespace store::io
