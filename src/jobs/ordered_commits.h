// A folder run's converted files, put in place in the order of the run while the run converts the
// next ones.
#pragma once

#include "background_flushes.h"
#include "handles.h"
#include "replacement_file.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A source converted into a replacement of its destination, the source still open so that the
// replacement can refuse a destination that turns out to be that source.
struct ConvertedFile {
    FileHandle source;
    std::unique_ptr<ReplacementFile> output;
};

// The files are put in place one after another, in the order of the run, on a thread of their own,
// while the run converts the next files. Each file that replaces an existing one is flushed first, on
// background threads; a file is put in place once its flush is done and every file before it is in
// place, so a new destination waits only for the files before it. A file whose destination name is
// another file's 8.3 alias is handed to recordAlias (that file stays as it is) on the run's own thread,
// and the rest go on. Any other failure ends the run with that file's error, as if the run had stopped
// there: the files before it are in place, the files after it are not (their replacements removed).
class OrderedCommits {
public:
    // Without recordAlias, a destination name that is another file's alias fails as any other (75).
    explicit OrderedCommits(std::function<void(const std::string &source)> recordAlias);
    OrderedCommits(const OrderedCommits &) = delete;
    OrderedCommits &operator=(const OrderedCommits &) = delete;
    // Whatever is not in place is removed, once its flush is done.
    ~OrderedCommits();

    // The next file of the run; its flush starts now where its destination was there when the run
    // began. Hands over the aliases found since the last call, and raises the failure that ended the
    // run meanwhile, if any. Waits while many files wait.
    void add(const std::string &source, ConvertedFile converted, bool flushFirst);
    // Puts every file still waiting in place, in order; then as add().
    void commitAll();

private:
    struct Waiting {
        std::string source;
        ConvertedFile file;
        BackgroundFlushes::Ticket flushed;
    };

    void work();
    void putInPlace(Waiting &file);
    void commitInPlace(std::unique_lock<std::mutex> &hold, bool all);
    void handOver(std::unique_lock<std::mutex> &hold);

    std::function<void(const std::string &)> recordAlias_;
    std::optional<BackgroundFlushes> flushes_; // started with the first flush: an empty folder needs none
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<Waiting> waiting_;
    bool inHand_ = false; // a file taken from waiting_ and not yet in place or dropped
    bool ending_ = false; // what is left is dropped
    std::exception_ptr failure_;
    std::vector<std::string> aliases_; // found, and not yet handed to recordAlias_
    std::thread committer_; // none where the system would not start one: files go in place in add()
};
