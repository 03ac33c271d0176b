#pragma once

#include "store/StoreResult.h"

#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

// A long file made durable behind its writer: each Request has the bytes written by then
// synced on a thread of its own while the writer goes on. A sync waits until the disk, its
// own cache included, holds every byte, which takes as long as the bytes are many; done along
// the way, the writer's last sync before the file takes its name finds little left. These
// syncs only save that one time: the file counts as durable after the last sync, as before.
namespace store::io {

class SyncBehind {
public:
    // `fd` stays open until Stop or the destructor is done.
    SyncBehind(int fd, QString fileName);
    ~SyncBehind(); // as Stop, the outcome unheard
    SyncBehind(const SyncBehind&) = delete;
    SyncBehind& operator=(const SyncBehind&) = delete;

    // Returns at once; requests made while a sync is under way make one more after it.
    void Request();
    // Waits for a sync under way and ends the thread. The first failure of a sync: the system
    // tells a failed write to a file's next sync only, which may have been one of these.
    StoreResult Stop();

private:
    void Run();

    int fd_;
    QString fileName_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool wanted_ = false;   // guarded by mutex_
    bool stopping_ = false; // guarded by mutex_
    StoreResult result_;    // guarded by mutex_
    std::thread thread_;
};

} // namespace store::io
