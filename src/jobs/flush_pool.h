// Flushes run on a few threads of their own, so that a folder run converts its next files while the
// disk makes earlier ones durable. Flushes under way together also share the file system's journal
// commits, where one after another each waits for a commit of its own. Sees no system header: a flush
// is any callable.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

// Starts a thread running the work; throws std::system_error where the system will not start one.
using StartThread = std::function<std::thread(std::function<void()> work)>;
std::thread startStandardThread(std::function<void()> work);

class FlushPool {
public:
    // Threads are started as flushes come, up to maxThreads.
    explicit FlushPool(int maxThreads, StartThread startThread = startStandardThread);
    // Runs every flush already started to its end, then ends the threads.
    ~FlushPool();
    FlushPool(const FlushPool &) = delete;
    FlushPool &operator=(const FlushPool &) = delete;

    // Runs the flush on one of the threads, in the order they were started; the future is ready once it
    // has run (with its exception, if it threw). Fails with 7 (out of memory) where no thread at all
    // can be started; more threads that will not start leave the work to those there are.
    std::shared_future<void> start(std::function<void()> flush);

private:
    void work();

    StartThread startThread_;
    std::size_t maxThreads_;
    std::mutex lock_;
    std::condition_variable queued_;
    std::deque<std::packaged_task<void()>> waiting_;
    bool ending_ = false;
    std::vector<std::thread> threads_; // only the owner's thread touches this
};
