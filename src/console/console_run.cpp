#include "console_run.h"

#include "app_error.h"
#include "command_line.h"
#include "console_texts.h"
#include "converter.h"
#include "file_jobs.h"
#include "file_run.h"
#include "input_list.h"
#include "path_text.h"
#include "spooled_input.h"
#include "stream_jobs.h"

#include <cstdlib>
#include <map>
#include <new>
#include <optional>
#include <set>

namespace {

// Standard output stopped taking bytes (a closed pipe, a full disk): the run cannot go on.
struct OutputFailed {
    int32_t errorNumber;
};

// Ctrl+C between two files of a run that writes files: the files converted until then go in place.
struct StopRequested {};

// Where -o NUL (-o /dev/null on POSIX) sends the output: the run as usual, its output written nowhere.
class DiscardedOutput : public OutputStream {
public:
    bool isTerminal() const override { return false; }
    std::size_t columns() const override { return 0; }
    bool writeText(std::string_view) noexcept override { return true; }
    void writeBytes(std::string_view) override {}
    bool failed() const override { return false; }
    bool readerGone() const override { return false; }
    std::int32_t failure() const override { return 0; }
};

struct WorkItem {
    InputFile input;
    std::string destination;
    TextEncoding encoding = TextEncoding::Ansi;
};

class ConsoleRun {
public:
    ConsoleRun(const ConsoleOptions &options, ConsoleIo &io)
        : options_(options), io_(io),
          progress_(io.errors.isTerminal() && !options.quiet ? &io.errors : nullptr, io.clock,
                    io.progressDelay) {}

    int files() {
        InputList list = collectInputs(options_.inputs, options_.extensions, options_.recursive, io_.names,
                                       leftoversPutRightFirst());
        for (const InputProblem &problem : list.problems)
            report(problem.name, problem.errorNumber == err::FileNotFound
                                     ? consoleText::noMatch
                                     : consoleText::reasonFor(problem.errorNumber));
        std::vector<WorkItem> items = planned(list);
        std::vector<WorkItem> verified = verify(items);
        try {
            convert(verified);
            finishStandardOutput();
        } catch (const OutputFailed &failed) {
            outputFailed(failed.errorNumber);
        }
        progress_.wipe();
        return exitCodeOfRun();
    }

    int standardInput() {
        std::optional<SpooledInput> input;
        TextEncoding encoding = TextEncoding::Ansi;
        try {
            input.emplace(io_.input, SpooledInput::usualMemoryLimit, io_.spillFiles);
            // Input cut short by an interrupt (the program that fed the pipe ended too) is no whole text.
            if (stopNow()) return exitCodeOfRun();
            EncodingDetector detector(input->size());
            input->replay([&](const char *data, std::size_t size) { detector.feed(data, size); });
            encoding = detector.finish();
            // A file read where it is takes no read that a stop ends: one asked meanwhile leaves the
            // output untouched.
            if (stopNow()) return exitCodeOfRun();
        } catch (const InputInterrupted &) {
            stopped_ = true;
            return exitCodeOfRun();
        } catch (const AppError &error) {
            report(consoleText::standardInputName, consoleText::reasonFor(error.number));
            return exitCode::failedOrFound;
        }
        finishStandardInput(*input, *makeConverter(encoding, options_.mode));
        return exitCodeOfRun();
    }

private:
    void finishStandardInput(const SpooledInput &input, StreamConverter &converter) {
        const bool toFile = options_.output == OutputKind::Destination;
        try {
            if (options_.output == OutputKind::Check) {
                ChangeFinder finder;
                input.replay([&](const char *data, std::size_t size) {
                    finder.converted(converter.convert(data, size));
                    finder.original(std::string_view(data, size));
                });
                finder.converted(finished(converter));
                if (finder.differs()) listFound(consoleText::standardInputName);
            } else if (toFile) {
                const std::unique_ptr<Replacement> file =
                    io_.files.replacementOf(options_.destination, DestinationSeen::Unknown, nullptr);
                input.replay(
                    [&](const char *data, std::size_t size) { file->write(converter.convert(data, size)); });
                file->write(finished(converter));
                file->commit();
            } else {
                input.replay([&](const char *data, std::size_t size) {
                    io_.output.writeBytes(converter.convert(data, size));
                });
                io_.output.writeBytes(finished(converter));
            }
        } catch (const OutputFailed &failed) {
            outputFailed(failed.errorNumber);
        } catch (const AppError &error) {
            if (!toFile && io_.output.readerGone())
                outputFailed(error.number);
            else
                report(toFile ? options_.destination : "standard output",
                       consoleText::reasonFor(error.number));
        }
    }

    // A reader that has gone (a pipe into "more", quit early) ends the run quietly, as console tools
    // do; any other failure of standard output is named once.
    void outputFailed(int32_t errorNumber) {
        if (io_.output.readerGone())
            ++failures_;
        else
            report("standard output", consoleText::reasonFor(errorNumber));
    }

    // Asked between files, so that the file in hand is put in place or left untouched, never halfway.
    bool stopNow() {
        if (!stopped_ && io_.stopRequested && io_.stopRequested()) stopped_ = true;
        return stopped_;
    }

    int exitCodeOfRun() {
        if (stopped_) {
            progress_.wipe();
            io_.errors.writeText(consoleText::notice(consoleText::stopped));
            return exitCode::stopped;
        }
        return failures_ || found_ ? exitCode::failedOrFound : exitCode::done;
    }

    void report(const std::string &name, const std::string &reason) {
        progress_.wipe();
        io_.errors.writeText(consoleText::failure(name, reason));
        ++failures_;
    }

    void listFound(const std::string &name) {
        progress_.wipe();
        found_ = true;
        if (!io_.output.writeText(consoleText::listed(name))) throw OutputFailed{io_.output.failure()};
    }

    // A run in place writes into the folders it takes its files from: what a run ended between the two
    // renames of a replace left in one (the former text under its backup name, the file's own name
    // missing) is put right before the folder's files are taken, or that file would be left out and
    // keep its former text. Each folder once; the run puts right its destinations' folders anyway.
    BeforeTakingFrom leftoversPutRightFirst() {
        if (options_.output != OutputKind::InPlace) return {};
        return [this](const std::string &folder) {
            const std::string searched = folder.empty() ? "." : folder;
            if (foldersPutRight_.insert(io_.files.nameKey(searched)).second)
                io_.files.recoverLeftovers(searched);
        };
    }

    // Where each input goes. Two inputs that would write one destination: the second is refused.
    std::vector<WorkItem> planned(const InputList &list) {
        std::vector<WorkItem> items;
        const bool intoFolder =
            options_.output == OutputKind::Destination &&
            (list.many || list.files.size() > 1 || endsInSeparator(options_.destination) ||
             io_.files.folderExists(options_.destination));
        std::set<std::string> destinations;
        std::map<std::string, std::vector<std::string>> replaced;
        for (const InputFile &input : list.files) {
            WorkItem item{input, {}, TextEncoding::Ansi};
            if (options_.output == OutputKind::Destination) {
                item.destination = intoFolder ? io_.names.joined(options_.destination, input.relative)
                                              : options_.destination;
                if (!destinations.insert(io_.files.nameKey(item.destination)).second) {
                    report(input.source, consoleText::sameDestination);
                    continue;
                }
            } else if (options_.output == OutputKind::InPlace && namedBefore(input, replaced)) {
                report(input.source, consoleText::sameDestination);
                continue;
            }
            items.push_back(std::move(item));
        }
        return items;
    }

    // A file given again for --in-place (twice, as a file and in its folder, or spelled otherwise)
    // would be read a second time while its first replacement is on its way: only its first naming is
    // taken. Names are compared on disk only where their last parts are alike, so a large run asks
    // little of the disk. Keys are the last parts, values the sources seen with them.
    bool namedBefore(const InputFile &input, std::map<std::string, std::vector<std::string>> &replaced) {
        std::size_t cut = input.relative.size();
        while (cut != 0 && !io_.names.isSeparator(input.relative[cut - 1])) --cut;
        std::vector<std::string> &alike = replaced[io_.files.nameKey(input.relative.substr(cut))];
        for (const std::string &earlier : alike)
            if (earlier == input.source || io_.files.sameFileOnDisk(earlier, input.source) == Sameness::Same)
                return true;
        alike.push_back(input.source);
        return false;
    }

    bool endsInSeparator(const std::string &path) const {
        return !path.empty() && io_.names.isSeparator(path.back());
    }

    // Every input read whole through the verification pass both programs share, each failure named.
    std::vector<WorkItem> verify(std::vector<WorkItem> &items) {
        progress_.startStep("Verifying", items.size());
        std::vector<std::string> paths;
        paths.reserve(items.size());
        for (const WorkItem &item : items) paths.push_back(item.input.source);
        std::vector<bool> passed(items.size(), false);
        class PassEvents : public Events {
        public:
            PassEvents(ConsoleRun &run, std::vector<WorkItem> &items, std::vector<bool> &passed)
                : Events(run), items_(items), passed_(passed) {}
            void inputVerified(std::size_t input, TextEncoding encoding) override {
                items_[input].encoding = encoding;
                passed_[input] = true;
            }
            void inputFailed(std::size_t input, const AppError &error) override {
                run_.report(items_[input].input.source, consoleText::reasonFor(error.number));
            }

        private:
            std::vector<WorkItem> &items_;
            std::vector<bool> &passed_;
        } events(*this, items, passed);
        try {
            verifyFiles(paths, FailurePolicy::GoOnWithRest, events, io_.files);
        } catch (const StopRequested &) {
        }
        std::vector<WorkItem> verified;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (passed[i]) verified.push_back(items[i]);
        return verified;
    }

    void convert(const std::vector<WorkItem> &items) {
        progress_.startStep(options_.output == OutputKind::Check ? "Checking" : "Converting", items.size());
        if (options_.output == OutputKind::InPlace || options_.output == OutputKind::Destination) {
            writeFiles(items);
            return;
        }
        for (const WorkItem &item : items) {
            if (stopNow()) break;
            try {
                convertOne(item);
            } catch (const AppError &error) {
                report(item.input.source, consoleText::reasonFor(error.number));
            }
            progress_.fileDone();
        }
    }

    // Files written through the run both programs share: the next files convert while earlier ones are
    // flushed and put in place, and a file that fails is named while the rest go on.
    void writeFiles(const std::vector<WorkItem> &items) {
        const bool inPlace = options_.output == OutputKind::InPlace;
        std::vector<RunFile> files;
        files.reserve(items.size());
        for (const WorkItem &item : items) {
            if (!inPlace &&
                io_.files.sameFileOnDisk(item.input.source, item.destination) != Sameness::Different) {
                report(item.input.source, consoleText::destinationIsSource);
                progress_.fileDone();
                continue;
            }
            files.push_back(
                {item.input.source, inPlace ? item.input.source : item.destination, item.encoding});
        }
        const ConversionMode mode = options_.mode;
        const FileReading reading{ShareWrite::Denied, [mode] { return mode; }, false};
        Events events(*this);
        if (stopNow()) return;
        try {
            runFiles(files, reading, {FailurePolicy::GoOnWithRest, inPlace, !inPlace}, events, io_.files);
        } catch (const StopRequested &) {
        }
    }

    // The shared run heard on the console: progress, failures named, Ctrl+C between files.
    class Events : public RunEvents {
    public:
        explicit Events(ConsoleRun &run) : run_(run) {}
        void bytesRead(std::size_t bytes) override { run_.progress_.bytesDone(bytes); }
        void fileDone() override {
            run_.progress_.fileDone();
            if (run_.stopNow()) throw StopRequested{};
        }
        void fileFailed(const RunFile &file, const AppError &error) override {
            run_.report(file.destination, consoleText::reasonFor(error.number));
        }

    protected:
        ConsoleRun &run_;
    };

    void convertOne(const WorkItem &item) {
        const BytesRead counted = [&](std::size_t bytes) { progress_.bytesDone(bytes); };
        if (options_.output == OutputKind::StandardOutput) {
            toStandardOutput(item, counted);
            return;
        }
        const auto converter = makeConverter(item.encoding, options_.mode);
        if (conversionChangesFile(item.input.source, io_.files, *converter, counted))
            listFound(item.input.source);
    }

    // Files on standard output make one text, as expand reads them: a line that one file leaves open
    // goes on in the next. A file in another encoding starts afresh, since its columns count otherwise.
    void toStandardOutput(const WorkItem &item, const BytesRead &counted) {
        if (!outputConverter_ || outputEncoding_ != item.encoding) {
            finishStandardOutput();
            outputConverter_ = makeConverter(item.encoding, options_.mode);
            outputEncoding_ = item.encoding;
        }
        convertFileToSink(
            item.input.source, io_.files, *outputConverter_, [&](std::string_view bytes) { toOutput(bytes); },
            counted);
    }

    void finishStandardOutput() {
        if (!outputConverter_) return;
        const std::string end = finished(*outputConverter_);
        outputConverter_.reset();
        toOutput(end);
    }

    void toOutput(std::string_view bytes) {
        try {
            io_.output.writeBytes(bytes);
        } catch (const AppError &error) {
            throw OutputFailed{error.number};
        }
    }

    const ConsoleOptions &options_;
    ConsoleIo &io_;
    ProgressLine progress_;
    std::unique_ptr<StreamConverter> outputConverter_;
    TextEncoding outputEncoding_ = TextEncoding::Ansi;
    int failures_ = 0;
    bool found_ = false;
    bool stopped_ = false;
    std::set<std::string> foldersPutRight_;
};

// The installer's step on the user's PATH, where the system keeps one.
int changeUserPath(const ConsoleOptions &options, ConsoleIo &io) {
    const bool add = options.userPathChange == UserPathChange::Add;
    if (!io.userPath) {
        io.errors.writeText(consoleText::notOnThisSystem(add ? "--user-path-add" : "--user-path-remove"));
        return exitCode::usage;
    }
    try {
        if (add)
            io.userPath->add(options.userPathFolder);
        else
            io.userPath->remove(options.userPathFolder);
    } catch (const AppError &error) {
        io.errors.writeText(consoleText::failure("the user's PATH", consoleText::reasonFor(error.number)));
        return exitCode::failedOrFound;
    }
    return exitCode::done;
}

bool readsStandardInput(const ConsoleOptions &options) {
    return options.inputs.empty() || (options.inputs.size() == 1 && options.inputs.front() == "-");
}

} // namespace

int runConsole(const std::vector<std::string> &arguments, ConsoleIo &io) {
    const ParsedCommandLine parsed = parseCommandLine(arguments, io.names);
    if (!parsed.options) {
        io.errors.writeText(consoleText::usageError(parsed.error));
        return exitCode::usage;
    }
    const ConsoleOptions &options = *parsed.options;
    if (options.showHelp) {
        io.output.writeText(consoleText::help());
        return exitCode::done;
    }
    if (options.showVersion) {
        io.output.writeText(consoleText::version());
        return exitCode::done;
    }
    if (options.userPathChange != UserPathChange::None) return changeUserPath(options, io);
    // -o NUL: the run as usual, its output written nowhere.
    DiscardedOutput discarded;
    ConsoleIo discarding{io.input, io.spillFiles, discarded, io.errors,        io.names,
                         io.files, io.userPath,   io.clock,  io.progressDelay, io.stopRequested};
    ConsoleRun run(options, options.discardOutput ? discarding : io);
    return readsStandardInput(options) ? run.standardInput() : run.files();
}

int runConsoleProgram(const std::vector<std::string> &arguments, ConsoleIo &io) {
    try {
        return runConsole(arguments, io);
    } catch (const AppError &error) {
        io.errors.writeText(consoleText::notice(error.description));
    } catch (const std::bad_alloc &) {
        io.errors.writeText(consoleText::notice(standardDescription(err::OutOfMemory)));
    }
    return exitCode::failedOrFound;
}

std::uint64_t progressDelayFrom(const char *text) {
    if (!text || !*text || std::char_traits<char>::length(text) >= 16) return ProgressLine::usualDelay;
    return std::strtoull(text, nullptr, 10);
}
