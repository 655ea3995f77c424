// Flushes run on a few threads of their own, so that a folder run converts its next files while the
// disk makes earlier ones durable. Flushes under way together also share the file system's journal
// commits, where one after another each waits for a commit of its own.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class BackgroundFlushes {
public:
    class Flush;
    // A started flush; an empty ticket stands for one that was never needed, and is done.
    using Ticket = std::shared_ptr<Flush>;

    explicit BackgroundFlushes(int threads);
    // Runs the flushes already started to their end; starts no more.
    ~BackgroundFlushes();
    BackgroundFlushes(const BackgroundFlushes &) = delete;
    BackgroundFlushes &operator=(const BackgroundFlushes &) = delete;

    // Runs the flush on one of the threads, in the order they were started. It must not throw, and
    // what it uses must stay as it is until wait() on its ticket has returned.
    Ticket start(std::function<void()> flush);
    static bool done(const Ticket &ticket);
    static void wait(const Ticket &ticket);

private:
    void work();

    std::mutex lock_;
    std::condition_variable queued_;
    std::deque<Ticket> waiting_;
    bool ending_ = false;
    std::vector<std::thread> threads_;
};
