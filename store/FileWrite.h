#pragma once

#include "store/StoreResult.h"

#include <QString>
#include <functional>

// The one way the record store puts bytes into a file. The system may take fewer bytes than
// asked (a disk filling up); the rest is offered again until all is in or the system says
// why it refuses, so that a failure names its cause ("No space left on device") rather than
// a byte count.
namespace store::io {

// Writes `size` bytes at `offset` of the open descriptor `fd` (the file `fileName`).
// `written` tells how many got in, also on failure.
StoreResult WriteAt(int fd, const QString& fileName, qint64 offset, const char* data, qint64 size,
                    qint64* written = nullptr);

// Writes bytes back over what a failed write changed. It never lengthens the file, so it
// needs no room that a full disk lacks, and a test's write hook does not apply to it.
StoreResult PutBack(int fd, const QString& fileName, qint64 offset, const char* data, qint64 size);

// Makes what was written to `fd` durable.
StoreResult Sync(int fd, const QString& fileName);

namespace testing {
// While set, every write asks the hook how many of the `wanted` bytes the system takes: all
// of them (or more) write normally, fewer make a short write, 0 with `error` set makes the
// write fail with that error. A hook may also end the process, as a power cut would.
using WriteHook = std::function<qint64(const QString& fileName, qint64 wanted, int& error)>;
void SetWriteHook(WriteHook hook);
// While set, every Sync asks the hook first: an error other than 0 makes the sync fail with
// it, as when the disk could not take what was written.
using SyncHook = std::function<int(const QString& fileName)>;
void SetSyncHook(SyncHook hook);
} // namespace testing

} // namespace store::io
