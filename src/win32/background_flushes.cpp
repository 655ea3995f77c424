#include "background_flushes.h"

#include <system_error>

class BackgroundFlushes::Flush {
public:
    explicit Flush(std::function<void()> flush) : flush_(std::move(flush)) {}

    void run() {
        flush_();
        const std::lock_guard<std::mutex> hold(lock_);
        done_ = true;
        finished_.notify_all();
    }
    bool done() {
        const std::lock_guard<std::mutex> hold(lock_);
        return done_;
    }
    void wait() {
        std::unique_lock<std::mutex> hold(lock_);
        finished_.wait(hold, [&] { return done_; });
    }

private:
    std::function<void()> flush_;
    std::mutex lock_;
    std::condition_variable finished_;
    bool done_ = false;
};

BackgroundFlushes::BackgroundFlushes(int threads) {
    threads_.reserve(static_cast<std::size_t>(threads));
    try {
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
    } catch (const std::system_error &) {
        // As many as the system would start; with none, each flush runs where it is started.
    }
}

BackgroundFlushes::~BackgroundFlushes() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    queued_.notify_all();
    for (std::thread &thread : threads_) thread.join();
}

BackgroundFlushes::Ticket BackgroundFlushes::start(std::function<void()> flush) {
    auto ticket = std::make_shared<Flush>(std::move(flush));
    if (threads_.empty()) {
        ticket->run();
        return ticket;
    }
    {
        const std::lock_guard<std::mutex> hold(lock_);
        waiting_.push_back(ticket);
    }
    queued_.notify_one();
    return ticket;
}

bool BackgroundFlushes::done(const Ticket &ticket) { return !ticket || ticket->done(); }

void BackgroundFlushes::wait(const Ticket &ticket) {
    if (ticket) ticket->wait();
}

// Every flush started is run, also while the pool ends: a ticket's owner may be waiting for it.
void BackgroundFlushes::work() {
    for (;;) {
        Ticket next;
        {
            std::unique_lock<std::mutex> hold(lock_);
            queued_.wait(hold, [&] { return ending_ || !waiting_.empty(); });
            if (waiting_.empty()) return;
            next = std::move(waiting_.front());
            waiting_.pop_front();
        }
        next->run();
    }
}
