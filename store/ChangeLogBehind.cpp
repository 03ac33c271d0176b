// The log's sync behind the write: once a unit of work's data is durable and its journal is
// renamed done, the work stands (its lines are durable in the journal), so the log's own sync
// and the journal's removal need not hold the user up. A thread does them; a failure there
// leaves the done journal, whose lines are completed before the next lines are prepared, or
// at the next start.

#include "store/ChangeLog.h"

#include "store/FileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

namespace store::changelog {

namespace {

struct Behind {
    std::mutex mutex;
    std::condition_variable idle;
    int running = 0;
    // Journals (absolute names, with their kind) of which a done one may still be waiting.
    QList<std::pair<QString, QString>> failed;
    std::atomic<bool> anyFailed{false};
    void WaitIdle() {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return running == 0; });
    }
    // At exit: no thread outlives what it uses.
    ~Behind() { WaitIdle(); }
};

Behind& State() {
    static Behind behind;
    return behind;
}

void SyncBehind(int fd, const QString& done, const QString& journalName, const QString& kind) {
    const StoreResult synced = io::Sync(fd, ChangeLogFileName);
    ::close(fd);
    // Its removal need not be durable: a done journal found again completes nothing twice.
    if (synced)
        ::unlink(QFile::encodeName(done).constData());
    Behind& behind = State();
    std::lock_guard lock(behind.mutex);
    if (!synced && !behind.failed.contains(std::pair(journalName, kind))) {
        behind.failed.append({journalName, kind});
        behind.anyFailed = true;
    }
    --behind.running;
    behind.idle.notify_all();
}

} // namespace

StoreResult Staged::FinishBehind(const QString& journalName, const QString& kind, bool& handed) {
    handed = false;
    // A new log's name must be durable too; that is rare enough to wait for.
    if (fd_ < 0 || created_)
        return Finish();
    QString done;
    if (StoreResult marked = journal::MarkDone(journalName, done); !marked) {
        if (done.isEmpty())
            return Finish(); // not renamed: finished here, the journal is removed as before
        // Renamed, perhaps not durably: back under its own name, so that the caller undoes
        // the work with it.
        (void)::rename(QFile::encodeName(done).constData(),
                       QFile::encodeName(journalName).constData());
        return marked;
    }
    const int fd = std::exchange(fd_, -1);
    const QString doneName = QFileInfo(done).absoluteFilePath();
    const QString journalPath = QFileInfo(journalName).absoluteFilePath();
    Behind& behind = State();
    {
        std::lock_guard lock(behind.mutex);
        ++behind.running;
    }
    handed = true;
    try {
        std::thread(SyncBehind, fd, doneName, journalPath, kind).detach();
    } catch (const std::system_error&) {
        SyncBehind(fd, doneName, journalPath, kind); // no thread to be had: here, then
    }
    return StoreResult::Ok();
}

void Settle() {
    State().WaitIdle();
}

StoreResult CompleteDone(const QString& journalName, const QString& kind) {
    Settle();
    struct Done {
        QString name;
        Pending pending;
    };
    QList<Done> found;
    for (const QString& name : journal::DoneOf(journalName)) {
        journal::Fields fields;
        bool whole = false;
        if (StoreResult read = journal::Read(name, kind, fields, whole); !read)
            return read;
        Done done{name, {}};
        if (whole && FromJournal(fields, done.pending))
            found.append(done);
        else if (StoreResult removed = journal::Remove(name); !removed)
            return removed; // a done journal without lines has nothing left to do
    }
    // In the order their lines were chained, which the numbers of their names need not be.
    std::stable_sort(found.begin(), found.end(), [](const Done& a, const Done& b) {
        return a.pending.lengthBefore < b.pending.lengthBefore;
    });
    for (const Done& done : found) {
        if (StoreResult completed = Complete(done.pending); !completed)
            return completed;
        if (StoreResult removed = journal::Remove(done.name); !removed)
            return removed;
    }
    return StoreResult::Ok();
}

StoreResult CompleteFailedBehind() {
    Behind& behind = State();
    if (!behind.anyFailed)
        return StoreResult::Ok();
    Settle();
    QList<std::pair<QString, QString>> failed;
    {
        std::lock_guard lock(behind.mutex);
        failed.swap(behind.failed);
        behind.anyFailed = false;
    }
    // Only this folder's: the lines go to the log here. Another folder's done journals are
    // completed when it is opened again.
    const QString here = QDir::currentPath();
    for (qsizetype i = 0; i < failed.size(); ++i) {
        if (QFileInfo(failed[i].first).absolutePath() != here)
            continue;
        if (StoreResult completed = CompleteDone(failed[i].first, failed[i].second); !completed) {
            std::lock_guard lock(behind.mutex);
            behind.failed.append(failed.mid(i));
            behind.anyFailed = true;
            return completed;
        }
    }
    return StoreResult::Ok();
}

} // namespace store::changelog
