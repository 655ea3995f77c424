#include "file_jobs.h"

#include "app_error.h"
#include "file_run.h"
#include "path_text.h"

#include <unordered_set>

namespace {

// The window's tab stops read the source as its line reading always has, letting other programs write
// it meanwhile; its fixed number of spaces reads the whole text with writing denied and checks it.
FileReading tabStopsReading(int16_t width) {
    return {ShareWrite::Allowed, [width] { return ConversionMode::windowTabStops(width); }, false};
}

FileReading fixedSpacesReading(const std::function<int16_t()> &numberOfSpaces) {
    return {ShareWrite::Denied,
            [numberOfSpaces] { return ConversionMode::windowFixedSpaces(numberOfSpaces()); }, true};
}

// The window's folder run, heard by its callbacks; it stops at the first file that cannot be put in place.
class FolderEvents : public RunEvents {
public:
    explicit FolderEvents(const FolderConversion &job) : job_(job) {}
    void bytesRead(std::size_t bytes) override {
        if (job_.bytesRead) job_.bytesRead(bytes);
    }
    void fileDone() override { job_.afterEach(); }
    bool refusesAliases() const override { return static_cast<bool>(job_.recordFailed); }
    void aliasRefused(const RunFile &file) override { job_.recordFailed(file.source); }
    void whileWaiting() override {
        if (job_.whileWaiting) job_.whileWaiting();
    }
    void underWay(RunUnderWay *run) override {
        if (job_.underWay) job_.underWay(run);
    }

private:
    const FolderConversion &job_;
};

} // namespace

void markingFailedInput(const std::function<void()> &step, const std::function<void()> &onFailed) {
    try {
        step();
    } catch (const AppError &error) {
        if (!marksFailedInput(error.number)) throw;
        onFailed();
    }
}

void verifyInputs(const std::vector<std::string> &paths, FileSystem &files,
                  const std::function<void(const std::string &)> &recordFailed,
                  const std::function<void()> &afterEach,
                  const std::function<void(const std::string &, TextEncoding)> &recordEncoding) {
    class PassEvents : public RunEvents {
    public:
        PassEvents(const std::vector<std::string> &paths,
                   const std::function<void(const std::string &)> &failed,
                   const std::function<void()> &afterEach,
                   const std::function<void(const std::string &, TextEncoding)> &encoding)
            : paths_(paths), failed_(failed), afterEach_(afterEach), encoding_(encoding) {}
        void inputVerified(std::size_t input, TextEncoding encoding) override {
            if (encoding_) encoding_(paths_[input], encoding);
        }
        void inputFailed(std::size_t input, const AppError &) override { failed_(paths_[input]); }
        void fileDone() override { afterEach_(); }

    private:
        const std::vector<std::string> &paths_;
        const std::function<void(const std::string &)> &failed_;
        const std::function<void()> &afterEach_;
        const std::function<void(const std::string &, TextEncoding)> &encoding_;
    } events(paths, recordFailed, afterEach, recordEncoding);
    verifyFiles(paths, FailurePolicy::StopAtFirst, events, files);
}

void convertFileTabStops(const std::string &source, const std::string &destination, int16_t width,
                         FileSystem &files, TextEncoding encoding, const BytesRead &bytesRead) {
    runOneFile({source, destination, encoding}, tabStopsReading(width), files, bytesRead);
}

void convertFileFixedSpaces(const std::string &source, const std::string &destination,
                            const std::function<int16_t()> &numberOfSpaces, FileSystem &files,
                            TextEncoding encoding, const BytesRead &bytesRead) {
    runOneFile({source, destination, encoding}, fixedSpacesReading(numberOfSpaces), files, bytesRead);
}

void convertFolder(const std::vector<std::string> &sources, const FolderConversion &job, FileSystem &system) {
    const std::string folder = addBackslash(job.destinationFolder);
    std::vector<RunFile> files;
    files.reserve(sources.size());
    for (const std::string &source : sources)
        files.push_back({source, folder + filePart(source, pathPart::fileName),
                         job.encodingOf ? job.encodingOf(source) : TextEncoding::Ansi});
    // Tab stops ask once for the whole pass; a fixed number is asked for again before every file.
    const FileReading reading = job.rule == TabRule::TabStops ? tabStopsReading(job.numberOfSpaces())
                                                              : fixedSpacesReading(job.numberOfSpaces);
    FolderEvents events(job);
    runFiles(files, reading, FileRunOptions{}, events, system);
}

std::vector<std::string> withoutFailed(const std::vector<std::string> &entries,
                                       const std::vector<std::string> &failed) {
    const std::unordered_set<std::string> failedSet(failed.begin(), failed.end());
    std::vector<std::string> kept;
    kept.reserve(entries.size());
    for (const std::string &entry : entries)
        if (!failedSet.count(entry)) kept.push_back(entry);
    return kept;
}
