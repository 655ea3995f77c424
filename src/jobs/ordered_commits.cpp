#include "ordered_commits.h"

#include "app_error.h"

#include <system_error>
#include <utility>

OrderedCommits::OrderedCommits(Decide decide, Report report, WhileWaiting whileWaiting,
                               StartThread startThread, CommitLimits limits)
    : decide_(std::move(decide)), report_(std::move(report)), whileWaiting_(std::move(whileWaiting)),
      startThread_(std::move(startThread)), limits_(limits) {}

OrderedCommits::~OrderedCommits() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    workToDo_.notify_all();
    if (committer_.joinable()) committer_.join();
    // Left only where the committing thread never started, or the owner ended before commitAll().
    for (Waiting &left : waiting_) dropAfterFlush(left);
}

void OrderedCommits::add(std::size_t file, std::unique_ptr<PendingFile> pending, bool flushFirst) {
    handOver();
    Waiting next{file, std::move(pending), {}};
    if (flushFirst) {
        if (!flushes_) flushes_.emplace(limits_.flushThreads, startThread_);
        PendingFile *flushed = next.pending.get();
        next.flushed = flushes_->start([flushed] { flushed->flush(); });
    }
    if (!committer_.joinable()) {
        try {
            committer_ = startThread_([this] { work(); });
        } catch (const std::system_error &) {
            dropAfterFlush(next);
            raiseError(err::OutOfMemory);
        }
    }
    {
        const std::lock_guard<std::mutex> hold(lock_);
        waiting_.push_back(std::move(next));
    }
    workToDo_.notify_one();
    waitFor(roomInQueue_, [&] { return stoppedBy_ || waiting_.size() < limits_.filesWaiting; });
    handOver();
}

void OrderedCommits::commitAll() {
    if (committer_.joinable()) waitFor(allDone_, [&] { return waiting_.empty() && !inHand_; });
    handOver();
}

void OrderedCommits::waitUntilCommitted() {
    if (!committer_.joinable()) return;
    std::unique_lock<std::mutex> hold(lock_);
    allDone_.wait(hold, [&] { return waiting_.empty() && !inHand_; });
}

// The committing thread: every file in its turn, until the owner ends.
void OrderedCommits::work() {
    for (;;) {
        Waiting next;
        {
            std::unique_lock<std::mutex> hold(lock_);
            workToDo_.wait(hold, [&] { return ending_ || !waiting_.empty(); });
            if (waiting_.empty()) return;
            next = std::move(waiting_.front());
            waiting_.pop_front();
            inHand_ = true;
        }
        roomInQueue_.notify_one();
        putInPlace(next);
        {
            const std::lock_guard<std::mutex> hold(lock_);
            inHand_ = false;
        }
        allDone_.notify_all();
        roomInQueue_.notify_one();
    }
}

// Puts the file in place once its flush is done, unless the run has stopped or ended meanwhile; the
// file is dropped (its replacement removed) outside the lock.
void OrderedCommits::putInPlace(Waiting &next) {
    if (next.flushed.valid()) next.flushed.wait();
    bool skip = false;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        skip = ending_ || stoppedBy_;
    }
    std::exception_ptr failure;
    if (!skip) {
        try {
            next.pending->commit();
        } catch (...) {
            failure = std::current_exception();
        }
    }
    next.pending.reset();
    if (!failure) return;
    // The first failure that stops the run is the one the run ends with; a file after it is never put
    // in place, since the committing thread skips every later file from here on.
    const AfterFailure after = decide_ ? decide_(failure) : AfterFailure::StopRun;
    const std::lock_guard<std::mutex> hold(lock_);
    if (after == AfterFailure::StopRun)
        stoppedBy_ = failure;
    else
        failures_.push_back({next.file, failure});
}

// Waits on the run's thread for the condition, handing the time to whileWaiting every waitSlice.
template <class Ready> void OrderedCommits::waitFor(std::condition_variable &condition, Ready ready) {
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(lock_);
            if (!whileWaiting_) {
                condition.wait(hold, ready);
                return;
            }
            if (condition.wait_for(hold, limits_.waitSlice, ready)) return;
        }
        whileWaiting_();
    }
}

// On the run's thread: the failures that went on, in their order, then the one that stopped the run.
void OrderedCommits::handOver() {
    std::vector<Failed> failures;
    std::exception_ptr stopped;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        failures.swap(failures_);
        if (stoppedBy_ && !stopReported_) {
            stopped = stoppedBy_;
            stopReported_ = true;
        }
    }
    for (const Failed &failed : failures)
        if (report_) report_(failed.file, failed.failure);
    if (stopped) std::rethrow_exception(stopped);
}

void OrderedCommits::dropAfterFlush(Waiting &waiting) {
    if (waiting.flushed.valid()) waiting.flushed.wait();
    waiting.pending.reset();
}
