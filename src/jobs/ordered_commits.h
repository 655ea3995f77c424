// A folder run's converted files, put in place in the order of the run while the run converts the
// next ones.
#pragma once

#include "background_flushes.h"
#include "handles.h"
#include "replacement_file.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// A source converted into a replacement of its destination, the source still open so that the
// replacement can refuse a destination that turns out to be that source.
struct ConvertedFile {
    FileHandle source;
    std::unique_ptr<ReplacementFile> output;
};

// Each file that replaces an existing one is flushed first, on background threads, while the run
// converts the next files; a file is put in place once its flush is done and every file before it is
// in place, so a new destination waits only for the flushes of the files before it. A file whose
// destination name is another file's 8.3 alias is handed to recordAlias (that file stays as it is) and
// the rest go on. Any other failure ends the run with that file's error, as if the run had stopped
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
    // began. Puts in place the files at the head of the queue that are ready.
    void add(const std::string &source, ConvertedFile converted, bool flushFirst);
    // Puts every file still waiting in place, in order.
    void commitAll();

private:
    struct Waiting {
        std::string source;
        ConvertedFile file;
        BackgroundFlushes::Ticket flushed;
    };

    void commitOldest();
    void abandon();

    std::function<void(const std::string &)> recordAlias_;
    std::optional<BackgroundFlushes> flushes_; // started with the first flush: an empty folder needs none
    std::deque<Waiting> waiting_;
};
