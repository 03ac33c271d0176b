#include "store/SyncBehind.h"

#include "store/FileWrite.h"

#include <utility>

namespace store::io {

SyncBehind::SyncBehind(int fd, QString fileName)
    : fd_(fd), fileName_(std::move(fileName)), thread_([this] { Run(); }) {}

SyncBehind::~SyncBehind() {
    (void)Stop();
}

void SyncBehind::Request() {
    {
        const std::lock_guard lock(mutex_);
        wanted_ = true;
    }
    changed_.notify_one();
}

StoreResult SyncBehind::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_one();
    if (thread_.joinable())
        thread_.join();
    return result_;
}

void SyncBehind::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return wanted_ || stopping_; });
        if (stopping_)
            return; // the writer's own last sync follows
        wanted_ = false;
        lock.unlock();
        StoreResult synced = Sync(fd_, fileName_);
        lock.lock();
        if (result_ && !synced)
            result_ = std::move(synced);
    }
}

} // namespace store::io
