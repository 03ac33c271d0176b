#include "store/OrderedBlocks.h"

#include <algorithm>
#include <utility>

namespace store {

OrderedBlocks::OrderedBlocks(int threads, int slotCount, Work make, Work take)
    : make_(std::move(make)), take_(std::move(take)),
      made_(std::size_t(std::max(slotCount, 1)), 0) {
    for (int i = 0; i < std::max(threads, 1); ++i)
        threads_.emplace_back([this] { Run(); });
}

OrderedBlocks::~OrderedBlocks() {
    {
        const std::lock_guard lock(mutex_);
        given_ = begun_;
        closing_ = true;
    }
    givenOrClosing_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

int OrderedBlocks::Next() {
    if (given_ - taken_ == static_cast<long long>(made_.size()))
        TakeOldest();
    return int(given_ % static_cast<long long>(made_.size()));
}

void OrderedBlocks::Submit() {
    {
        const std::lock_guard lock(mutex_);
        ++given_;
    }
    givenOrClosing_.notify_one();
}

void OrderedBlocks::Finish() {
    while (taken_ < given_)
        TakeOldest();
}

void OrderedBlocks::Run() {
    for (;;) {
        int slot = 0;
        {
            std::unique_lock lock(mutex_);
            givenOrClosing_.wait(lock, [this] { return begun_ < given_ || closing_; });
            if (begun_ == given_)
                return;
            slot = int(begun_++ % static_cast<long long>(made_.size()));
        }
        make_(slot);
        {
            const std::lock_guard lock(mutex_);
            made_[std::size_t(slot)] = 1;
        }
        madeOne_.notify_one(); // only the caller waits for blocks made
    }
}

void OrderedBlocks::TakeOldest() {
    const auto slot = std::size_t(taken_ % static_cast<long long>(made_.size()));
    {
        std::unique_lock lock(mutex_);
        madeOne_.wait(lock, [&] { return made_[slot] != 0; });
        made_[slot] = 0;
    }
    take_(int(slot));
    ++taken_;
}

} // namespace store
