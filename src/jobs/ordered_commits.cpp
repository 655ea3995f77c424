#include "ordered_commits.h"

namespace {

// Flushes under way together share the journal's commits, so many at once cost little more than one.
// At most filesWaiting files wait, each with its source and its replacement open.
constexpr int flushThreads = 16;
constexpr std::size_t filesWaiting = 64;

} // namespace

OrderedCommits::OrderedCommits(std::function<void(const std::string &)> recordAlias)
    : recordAlias_(std::move(recordAlias)) {}

OrderedCommits::~OrderedCommits() { abandon(); }

void OrderedCommits::add(const std::string &source, ConvertedFile converted, bool flushFirst) {
    waiting_.push_back(Waiting{source, std::move(converted), {}});
    if (flushFirst) {
        if (!flushes_) flushes_.emplace(flushThreads);
        ReplacementFile *output = waiting_.back().file.output.get();
        waiting_.back().flushed = flushes_->start([output] { output->flushAhead(); });
    }
    while (!waiting_.empty() &&
           (waiting_.size() > filesWaiting || BackgroundFlushes::done(waiting_.front().flushed)))
        commitOldest();
}

void OrderedCommits::commitAll() {
    while (!waiting_.empty()) commitOldest();
}

void OrderedCommits::commitOldest() {
    Waiting oldest = std::move(waiting_.front());
    waiting_.pop_front();
    BackgroundFlushes::wait(oldest.flushed);
    try {
        oldest.file.output->commit(&oldest.file.source);
    } catch (const DestinationIsAlias &) {
        if (!recordAlias_) {
            abandon();
            throw;
        }
        recordAlias_(oldest.source);
    } catch (...) {
        abandon();
        throw;
    }
}

void OrderedCommits::abandon() {
    for (const Waiting &left : waiting_) BackgroundFlushes::wait(left.flushed);
    waiting_.clear();
}
