#include "flush_pool.h"

#include "app_error.h"

#include <system_error>

std::thread startStandardThread(std::function<void()> work) { return std::thread(std::move(work)); }

FlushPool::FlushPool(int maxThreads, StartThread startThread)
    : startThread_(std::move(startThread)), maxThreads_(static_cast<std::size_t>(maxThreads)) {}

FlushPool::~FlushPool() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    queued_.notify_all();
    for (std::thread &thread : threads_) thread.join();
}

std::shared_future<void> FlushPool::start(std::function<void()> flush) {
    if (threads_.size() < maxThreads_) {
        try {
            threads_.push_back(startThread_([this] { work(); }));
        } catch (const std::system_error &) {
            if (threads_.empty()) raiseError(err::OutOfMemory);
        }
    }
    std::packaged_task<void()> task(std::move(flush));
    std::shared_future<void> done = task.get_future().share();
    {
        const std::lock_guard<std::mutex> hold(lock_);
        waiting_.push_back(std::move(task));
    }
    queued_.notify_one();
    return done;
}

// Every flush started is run, also while the pool ends: its owner may be waiting for it.
void FlushPool::work() {
    for (;;) {
        std::packaged_task<void()> next;
        {
            std::unique_lock<std::mutex> hold(lock_);
            queued_.wait(hold, [&] { return ending_ || !waiting_.empty(); });
            if (waiting_.empty()) return;
            next = std::move(waiting_.front());
            waiting_.pop_front();
        }
        next();
    }
}
