// A run's converted files, put in place in the order of the run on a thread of their own while the run
// converts the next ones. Sees no system header: a file's flush and its commit come in as a PendingFile.
#pragma once

#include "flush_pool.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// A converted file waiting to go in place. Destroyed without commit(), it removes what it wrote.
class PendingFile {
public:
    virtual ~PendingFile() = default;
    // Makes the written bytes durable; runs on a flush thread while nothing else uses the file. It
    // must not throw: a failure is kept for commit() to raise.
    virtual void flush() = 0;
    // Puts the file in place, or throws why it could not.
    virtual void commit() = 0;
};

// What a failure to put a file in place means for the files after it.
enum class AfterFailure {
    StopRun, // the run ends with this failure: the files after it are not put in place
    GoOn,    // the failure is reported and the next files go in place
};

struct CommitLimits {
    int flushThreads = 16;         // flushes together share the journal's commits
    std::size_t filesWaiting = 64; // each with its source and its replacement open
    std::chrono::milliseconds waitSlice{50};
};

// The files go in place one after another, in the order they were added, on a committing thread. A file
// added with flushFirst is flushed first on the flush pool, while later files convert; a file goes in
// place once its own flush is done and every file before it is in place or failed. Failures reach the
// run's thread in add() and commitAll(): those that go on as reports, in order; the one that stops the
// run, once, as the exception it was.
class OrderedCommits {
public:
    // Decides, on the committing thread, what a failure means; the default stops the run.
    using Decide = std::function<AfterFailure(const std::exception_ptr &failure)>;
    // Hears, on the run's thread, a failure that went on, with the number add() gave its file.
    using Report = std::function<void(std::size_t file, const std::exception_ptr &failure)>;
    // Runs on the run's thread while it waits, every waitSlice at most (a window handles its messages).
    using WhileWaiting = std::function<void()>;

    OrderedCommits(Decide decide, Report report, WhileWaiting whileWaiting = {},
                   StartThread startThread = startStandardThread, CommitLimits limits = CommitLimits{});
    OrderedCommits(const OrderedCommits &) = delete;
    OrderedCommits &operator=(const OrderedCommits &) = delete;
    // Whatever is not in place by now is removed, once its flush is done.
    ~OrderedCommits();

    // The next file of the run. Hands over the failures met since the last call; waits while
    // filesWaiting files wait. Fails with 7 where the committing thread cannot be started.
    void add(std::size_t file, std::unique_ptr<PendingFile> pending, bool flushFirst);
    // Waits until every file added is in place or failed; then hands over as add() does.
    void commitAll();
    // Waits as commitAll() does, but hands nothing over and gives whileWaiting no time: for a caller
    // inside whileWaiting itself (a window told that the session ends).
    void waitUntilCommitted();

private:
    struct Waiting {
        std::size_t file = 0;
        std::unique_ptr<PendingFile> pending;
        std::shared_future<void> flushed; // not valid: no flush asked for
    };
    struct Failed {
        std::size_t file;
        std::exception_ptr failure;
    };

    void work();
    void putInPlace(Waiting &next);
    template <class Ready> void waitFor(std::condition_variable &condition, Ready ready);
    void handOver();
    static void dropAfterFlush(Waiting &waiting);

    Decide decide_;
    Report report_;
    WhileWaiting whileWaiting_;
    StartThread startThread_;
    CommitLimits limits_;
    std::optional<FlushPool> flushes_; // started with the first flush: a run of new files needs none

    std::mutex lock_;
    std::condition_variable roomInQueue_; // the run's thread, while filesWaiting files wait
    std::condition_variable workToDo_;    // the committing thread, while nothing waits
    std::condition_variable allDone_;     // the run's thread, in commitAll()
    std::deque<Waiting> waiting_;
    bool inHand_ = false;          // a file taken from waiting_ and not yet in place or dropped
    bool ending_ = false;          // the owner ends: what is left is dropped
    std::exception_ptr stoppedBy_; // set once, by the committing thread
    bool stopReported_ = false;
    std::vector<Failed> failures_; // went on, not yet reported
    std::thread committer_;        // only the owner's thread starts and joins it
};
