#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Work on a long stream of blocks spread over several threads, its results handed on in the
// order the blocks came: a long export is made on every core and still written front to back.
//
// The caller keeps a block of its own in each slot (0 to slotCount - 1), fills the slot that
// Next gives and hands it on with Submit. A thread makes it (`make(slot)`); `take(slot)` then
// has its result, on the caller's thread, block after block in order, while Next waits for a
// free slot or Finish for the last blocks. No more than slotCount blocks are ever in hand, so
// memory stays that of a few blocks however long the stream.
namespace store {

class OrderedBlocks {
public:
    using Work = std::function<void(int slot)>;

    // At least one thread and one slot. More slots than threads keep the threads busy while
    // the caller fills and takes blocks.
    OrderedBlocks(int threads, int slotCount, Work make, Work take);
    // Waits for the blocks the threads have begun; blocks not yet begun or taken are dropped.
    ~OrderedBlocks();
    OrderedBlocks(const OrderedBlocks&) = delete;
    OrderedBlocks& operator=(const OrderedBlocks&) = delete;

    // The slot for the next block, its earlier block taken.
    int Next();
    // The slot Next gave is filled: a thread may make it.
    void Submit();
    // Takes every block submitted and not yet taken.
    void Finish();

private:
    void Run();
    void TakeOldest();

    Work make_;
    Work take_;
    // Guarded by mutex_ (given_ changed by the caller alone). Blocks are numbered from 0 as
    // submitted; block n lies in slot n % slotCount.
    std::vector<char> made_; // per slot (char, not bool: a vector<bool>'s bits share bytes)
    long long given_ = 0;    // blocks submitted
    long long begun_ = 0;    // blocks a thread has begun
    bool closing_ = false;
    long long taken_ = 0; // the caller's alone
    std::mutex mutex_;
    std::condition_variable givenOrClosing_;
    std::condition_variable madeOne_;
    std::vector<std::thread> threads_;
};

} // namespace store
