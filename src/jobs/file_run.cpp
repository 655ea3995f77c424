#include "file_run.h"

#include "ordered_commits.h"
#include "path_text.h"

#include <map>
#include <new>
#include <optional>
#include <variant>

namespace {

// The whole-text check of a source while it converts, where the reading asks for one.
class TextCheck {
public:
    TextCheck(bool wanted, TextEncoding encoding, std::uint64_t length) {
        if (!wanted) return;
        if (isUtf16(encoding))
            check_.emplace<Utf16TextCheck>(length, encoding == TextEncoding::Utf16Be);
        else
            check_.emplace<WholeReadCheck>(length);
    }
    ByteSink sink() {
        if (std::holds_alternative<std::monostate>(check_)) return {};
        return [this](std::string_view bytes) {
            std::visit(
                [&](auto &check) {
                    if constexpr (!std::is_same_v<std::decay_t<decltype(check)>, std::monostate>)
                        check.feed(bytes.data(), bytes.size());
                },
                check_);
        };
    }
    void finish() {
        if (auto *utf16 = std::get_if<Utf16TextCheck>(&check_)) utf16->finish();
    }

private:
    std::variant<std::monostate, WholeReadCheck, Utf16TextCheck> check_;
};

// A source converted into a replacement of its destination, not yet in place. The source stays open
// so that the replacement can refuse a destination that turns out to be that source; in place, it is
// closed just before its replacement takes its place.
class ConvertedFile : public PendingFile {
public:
    ConvertedFile(std::unique_ptr<SourceFile> source, std::unique_ptr<Replacement> output, bool inPlace)
        : source_(std::move(source)), output_(std::move(output)), inPlace_(inPlace) {}

    void flush() override { output_->flushAhead(); }
    void commit() override {
        if (inPlace_) {
            source_->close();
            output_->commit();
        } else {
            output_->commit(source_.get());
        }
    }
    // A single-file job's destination, told apart from its source before it was written.
    void commitApart() {
        source_->close();
        output_->commit();
    }

private:
    std::unique_ptr<SourceFile> source_;
    std::unique_ptr<Replacement> output_;
    bool inPlace_;
};

struct Destination {
    DestinationSeen seen = DestinationSeen::Unknown;
    const FolderListing *listing = nullptr;
    bool inPlace = false;
};

std::unique_ptr<ConvertedFile> convertedFile(const RunFile &file, const FileReading &reading,
                                             const Destination &destination, FileSystem &files,
                                             const BytesRead &bytesRead, bool apartFirst) {
    std::unique_ptr<SourceFile> source = files.openForReading(file.source, reading.share);
    const std::uint64_t length = source->length();
    const std::unique_ptr<StreamConverter> converter = makeConverter(file.encoding, reading.mode());
    TextCheck check(reading.checkText, file.encoding, length);
    if (apartFirst && source->isAt(file.destination) != Sameness::Different) raiseError(err::PathFileAccess);
    std::unique_ptr<Replacement> output =
        files.replacementOf(file.destination, destination.seen, destination.listing);
    Replacement &out = *output;
    streamFile(
        *source, length, *converter, [&](std::string_view bytes) { out.write(bytes); }, check.sink(),
        bytesRead);
    check.finish();
    out.write(finished(*converter));
    return std::make_unique<ConvertedFile>(std::move(source), std::move(output), destination.inPlace);
}

// What the run knows of each destination folder: its listing when first met, made where asked for,
// and put right after an earlier run that was ended in the middle of a replace.
class DestinationFolders {
public:
    DestinationFolders(bool makeFolders, FileSystem &files) : makeFolders_(makeFolders), files_(files) {}

    const FolderListing &of(const std::string &destination) {
        const std::string folder = folderOfPath(destination);
        std::unique_ptr<FolderListing> &names = folders_[files_.nameKey(folder)];
        if (!names) {
            if (makeFolders_) files_.createFolderPath(folder);
            const std::string searched = folder.empty() ? "." : folder;
            files_.recoverLeftovers(searched);
            names = files_.listing(searched);
        }
        return *names;
    }

private:
    bool makeFolders_;
    FileSystem &files_;
    std::map<std::string, std::unique_ptr<FolderListing>> folders_;
};

bool isAlias(const std::exception_ptr &failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const DestinationIsAlias &) {
        return true;
    } catch (...) {
        return false;
    }
}

class FileRun : public RunUnderWay {
public:
    FileRun(const std::vector<RunFile> &files, const FileReading &reading, const FileRunOptions &options,
            RunEvents &events, FileSystem &system)
        : files_(files), reading_(reading), options_(options), events_(events), system_(system),
          folders_(options.makeFolders, system),
          commits_([this](const std::exception_ptr &failure) { return afterFailure(failure); },
                   [this](std::size_t file, const std::exception_ptr &failure) { report(file, failure); },
                   [this] { events_.whileWaiting(); }) {}

    void run() {
        struct Told { // the front end hears the run's end on every path
            RunEvents &events;
            ~Told() { events.underWay(nullptr); }
        } told{events_};
        events_.underWay(this);
        try {
            for (std::size_t index = 0; index < files_.size(); ++index) {
                convertOne(index);
                events_.fileDone();
            }
        } catch (...) {
            // The files before the one that failed, or before a stop, go in place first; the first
            // failure among them is the one the run ends with.
            commits_.commitAll();
            throw;
        }
        commits_.commitAll();
    }

    void putConvertedInPlace() override { commits_.waitUntilCommitted(); }

private:
    void convertOne(std::size_t index) {
        const RunFile &file = files_[index];
        try {
            const FolderListing &present = folders_.of(file.destination);
            const bool existing = options_.inPlace || present.has(nameOfPath(file.destination));
            const Destination destination{existing ? DestinationSeen::Unknown : DestinationSeen::Free,
                                          &present, options_.inPlace};
            auto bytesRead = [this](std::size_t bytes) { events_.bytesRead(bytes); };
            commits_.add(index, convertedFile(file, reading_, destination, system_, bytesRead, false),
                         existing);
        } catch (const AppError &error) {
            if (options_.onFailure == FailurePolicy::StopAtFirst) throw;
            events_.fileFailed(file, error);
        }
    }

    // On the committing thread.
    AfterFailure afterFailure(const std::exception_ptr &failure) const {
        if (events_.refusesAliases() && isAlias(failure)) return AfterFailure::GoOn;
        return options_.onFailure == FailurePolicy::GoOnWithRest ? AfterFailure::GoOn : AfterFailure::StopRun;
    }

    void report(std::size_t index, const std::exception_ptr &failure) {
        if (events_.refusesAliases() && isAlias(failure))
            events_.aliasRefused(files_[index]);
        else
            events_.fileFailed(files_[index], caughtError(failure));
    }

    const std::vector<RunFile> &files_;
    const FileReading &reading_;
    const FileRunOptions &options_;
    RunEvents &events_;
    FileSystem &system_;
    DestinationFolders folders_;
    OrderedCommits commits_; // last: it ends first, while what it reports to is still there
};

} // namespace

TextEncoding verifyInput(const std::string &path, FileSystem &files, const BytesRead &bytesRead) {
    const std::unique_ptr<SourceFile> file = files.openForReading(path, ShareWrite::Denied);
    const std::uint64_t length = file->length();
    EncodingDetector detector(length);
    file->readBlocks(length, [&](const char *data, std::size_t size) {
        detector.feed(data, size);
        if (bytesRead) bytesRead(size);
    });
    return detector.finish();
}

bool marksFailedInput(int32_t errorNumber) {
    switch (errorNumber) {
    case err::BadFileName:
    case err::FileNotFound:
    case err::InputPastEnd:
    case err::PermissionDenied:
    case err::PathFileAccess:
    case err::PathNotFound: return true;
    default: return false;
    }
}

void verifyFiles(const std::vector<std::string> &paths, FailurePolicy policy, RunEvents &events,
                 FileSystem &files) {
    const auto bytesRead = [&events](std::size_t bytes) { events.bytesRead(bytes); };
    for (std::size_t input = 0; input < paths.size(); ++input) {
        try {
            events.inputVerified(input, verifyInput(paths[input], files, bytesRead));
        } catch (const AppError &error) {
            if (policy == FailurePolicy::StopAtFirst && !marksFailedInput(error.number)) throw;
            events.inputFailed(input, error);
        }
        events.fileDone();
    }
}

void runFiles(const std::vector<RunFile> &files, const FileReading &reading, const FileRunOptions &options,
              RunEvents &events, FileSystem &system) {
    FileRun(files, reading, options, events, system).run();
}

void runOneFile(const RunFile &file, const FileReading &reading, FileSystem &files,
                const BytesRead &bytesRead) {
    const std::string folder = folderOfPath(file.destination);
    files.recoverLeftovers(folder.empty() ? "." : folder);
    convertedFile(file, reading, Destination{}, files, bytesRead, true)->commitApart();
}
