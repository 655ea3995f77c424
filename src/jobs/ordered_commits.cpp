#include "ordered_commits.h"

#include <system_error>
#include <utility>

namespace {

// Flushes under way together share the journal's commits, so many at once cost little more than one.
// At most filesWaiting files wait, each with its source and its replacement open.
constexpr int flushThreads = 16;
constexpr std::size_t filesWaiting = 64;

} // namespace

OrderedCommits::OrderedCommits(std::function<void(const std::string &)> recordAlias)
    : recordAlias_(std::move(recordAlias)) {}

OrderedCommits::~OrderedCommits() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        ending_ = true;
    }
    changed_.notify_all();
    if (committer_.joinable()) committer_.join();
    for (const Waiting &left : waiting_) BackgroundFlushes::wait(left.flushed);
    waiting_.clear();
}

void OrderedCommits::add(const std::string &source, ConvertedFile converted, bool flushFirst) {
    {
        std::unique_lock<std::mutex> hold(lock_);
        if (failure_) handOver(hold); // raises it: the file is not started
    }
    Waiting file{source, std::move(converted), {}};
    if (flushFirst) {
        if (!flushes_) flushes_.emplace(flushThreads);
        ReplacementFile *output = file.file.output.get();
        file.flushed = flushes_->start([output] { output->flushAhead(); });
    }
    std::unique_lock<std::mutex> hold(lock_);
    try {
        waiting_.push_back(std::move(file));
    } catch (...) {
        BackgroundFlushes::wait(file.flushed);
        throw;
    }
    if (!committer_.joinable()) {
        try {
            committer_ = std::thread([this] { work(); });
        } catch (const std::system_error &) {
            commitInPlace(hold, false);
            handOver(hold);
            return;
        }
    }
    changed_.notify_all();
    changed_.wait(hold, [&] { return failure_ || waiting_.size() <= filesWaiting; });
    handOver(hold);
}

void OrderedCommits::commitAll() {
    std::unique_lock<std::mutex> hold(lock_);
    if (committer_.joinable())
        changed_.wait(hold, [&] { return waiting_.empty() && !inHand_; });
    else
        commitInPlace(hold, true);
    handOver(hold);
}

// The committing thread: every file in its turn, until the owner ends.
void OrderedCommits::work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [&] { return ending_ || !waiting_.empty(); });
        if (waiting_.empty()) return;
        {
            Waiting next = std::move(waiting_.front());
            waiting_.pop_front();
            inHand_ = true;
            hold.unlock();
            putInPlace(next);
        } // an uncommitted replacement removes its temporary file here, outside the lock
        hold.lock();
        inHand_ = false;
        changed_.notify_all();
    }
}

// Where no thread could be started: the files at the head of the queue that are ready, or all.
void OrderedCommits::commitInPlace(std::unique_lock<std::mutex> &hold, bool all) {
    while (!waiting_.empty() &&
           (all || waiting_.size() > filesWaiting || BackgroundFlushes::done(waiting_.front().flushed))) {
        Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        hold.unlock();
        putInPlace(next);
        hold.lock();
    }
}

// Puts the file in place once its flush is done, unless the run has failed or ended meanwhile; notes an
// alias or the failure. Called without the lock.
void OrderedCommits::putInPlace(Waiting &file) {
    BackgroundFlushes::wait(file.flushed);
    {
        const std::lock_guard<std::mutex> hold(lock_);
        if (failure_ || ending_) return;
    }
    try {
        file.file.output->commit(&file.file.source);
    } catch (const DestinationIsAlias &) {
        const std::lock_guard<std::mutex> hold(lock_);
        if (recordAlias_)
            aliases_.push_back(file.source);
        else
            failure_ = std::current_exception();
    } catch (...) {
        const std::lock_guard<std::mutex> hold(lock_);
        failure_ = std::current_exception();
    }
}

// On the run's own thread: the aliases found so far to recordAlias, in their order, then the failure.
void OrderedCommits::handOver(std::unique_lock<std::mutex> &hold) {
    std::vector<std::string> aliases = std::exchange(aliases_, {});
    const std::exception_ptr failure = failure_;
    hold.unlock();
    for (const std::string &source : aliases) recordAlias_(source);
    hold.lock();
    if (failure) std::rethrow_exception(failure);
}
