#include "file_jobs.h"

#include "app_error.h"
#include "converter.h"
#include "ordered_commits.h"
#include "path_text.h"
#include "replacement_file.h"
#include "text_files.h"

#include <unordered_set>

namespace {

// No check of the text while it converts (the line-by-line read stops at the end mark).
struct NoCheck {
    void feed(const char *, std::size_t) {}
    void finish() {}
};

// The whole-text read's check of ANSI and UTF-8 text: a 0x1A before the last byte.
struct BytesCheck {
    WholeReadCheck check;
    void feed(const char *data, std::size_t size) { check.feed(data, size); }
    void finish() {}
};

// How a destination is told apart from its source. A single-file job compares the two before anything
// is written. A folder run knows from one listing of the destination folder which names are free: a
// destination moved to a free name cannot be the source, and one that exists is compared with the
// still open source when it is replaced (ReplacementFile).
struct DestinationCheck {
    bool beforeWriting = true;
    DestinationSeen seen = DestinationSeen::Unknown;
    const FolderNames *listing = nullptr;
};

// Streams the open source through the converter into a replacement of the destination, not yet in
// place. A destination that is the source under another spelling is refused: the source is never
// changed.
template <class Converter, class Check>
ConvertedFile streamInto(FileHandle source, std::uint64_t length, const std::string &destination,
                         const DestinationCheck &against, FileMoves &calls, Converter &converter,
                         Check &check, const AfterBlock &afterBlock) {
    if (against.beforeWriting && fileAt(source, destination, calls) != Sameness::Different)
        raiseError(err::PathFileAccess);
    auto output = std::make_unique<ReplacementFile>(destination, calls, against.seen, against.listing);
    readBlocks(source, length, [&](const char *data, std::size_t size) {
        check.feed(data, size);
        output->write(converter.convert(data, size));
        if (afterBlock) afterBlock(size);
    });
    check.finish();
    std::string lastLineEnd;
    converter.finish(lastLineEnd);
    output->write(lastLineEnd);
    return ConvertedFile{std::move(source), std::move(output)};
}

// A single-file job's destination, told apart from its source before it was written.
void putInPlace(ConvertedFile converted) {
    converted.source.close();
    converted.output->commit();
}

ConvertedFile tabStopsInto(const std::string &source, const std::string &destination,
                           const DestinationCheck &against, FileMoves &calls, int16_t width,
                           TextEncoding encoding, const AfterBlock &afterBlock) {
    FileHandle file = openForReading(source, ShareWrite::Allowed);
    const std::uint64_t length = fileLength(file);
    NoCheck none;
    const std::unique_ptr<StreamConverter> converter =
        makeConverter(encoding, ConversionMode::windowTabStops(width));
    return streamInto(std::move(file), length, destination, against, calls, *converter, none, afterBlock);
}

ConvertedFile fixedSpacesInto(const std::string &source, const std::string &destination,
                              const DestinationCheck &against, FileMoves &calls,
                              const std::function<int16_t()> &numberOfSpaces, TextEncoding encoding,
                              const AfterBlock &afterBlock) {
    FileHandle file = openForReading(source, ShareWrite::Denied);
    const std::uint64_t length = fileLength(file);
    const auto converter = [&] {
        return makeConverter(encoding, ConversionMode::windowFixedSpaces(numberOfSpaces()));
    };
    if (isUtf16(encoding)) {
        Utf16TextCheck check(length, encoding == TextEncoding::Utf16Be);
        return streamInto(std::move(file), length, destination, against, calls, *converter(), check,
                          afterBlock);
    }
    // UTF-8 text keeps its bytes under this rule: a tab byte is never part of a longer character.
    BytesCheck check{WholeReadCheck(length)};
    return streamInto(std::move(file), length, destination, against, calls, *converter(), check, afterBlock);
}

} // namespace

TextEncoding verifyInput(const std::string &path, const AfterBlock &afterBlock) {
    const FileHandle file = openForReading(path, ShareWrite::Denied);
    const std::uint64_t length = fileLength(file);
    EncodingDetector detector(length);
    readBlocks(file, length, [&](const char *data, std::size_t size) {
        detector.feed(data, size);
        if (afterBlock) afterBlock(size);
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

void markingFailedInput(const std::function<void()> &step, const std::function<void()> &onFailed) {
    try {
        step();
    } catch (const AppError &error) {
        if (!marksFailedInput(error.number)) throw;
        onFailed();
    }
}

void verifyInputs(const std::vector<std::string> &paths,
                  const std::function<void(const std::string &)> &recordFailed,
                  const std::function<void()> &afterEach,
                  const std::function<void(const std::string &, TextEncoding)> &recordEncoding) {
    for (const std::string &path : paths) {
        markingFailedInput(
            [&] {
                const TextEncoding encoding = verifyInput(path);
                if (recordEncoding) recordEncoding(path, encoding);
            },
            [&] { recordFailed(path); });
        afterEach();
    }
}

void convertFileTabStops(const std::string &source, const std::string &destination, int16_t width,
                         FileMoves &calls, TextEncoding encoding, const AfterBlock &afterBlock) {
    putInPlace(tabStopsInto(source, destination, DestinationCheck{}, calls, width, encoding, afterBlock));
}

void convertFileFixedSpaces(const std::string &source, const std::string &destination,
                            const std::function<int16_t()> &numberOfSpaces, FileMoves &calls,
                            TextEncoding encoding, const AfterBlock &afterBlock) {
    putInPlace(fixedSpacesInto(source, destination, DestinationCheck{}, calls, numberOfSpaces, encoding,
                               afterBlock));
}

void convertFolder(const std::vector<std::string> &sources, const FolderConversion &job, FileMoves &calls) {
    const std::string folder = addBackslash(job.destinationFolder);
    const int16_t passWidth = job.rule == Rule::TabStops ? job.numberOfSpaces() : 0;
    const FolderNames present(folder);
    OrderedCommits commits(job.recordFailed);
    try {
        for (const std::string &source : sources) {
            const std::string name = filePart(source, pathPart::fileName);
            const std::string destination = folder + name;
            const bool existing = present.has(name);
            const DestinationCheck against{false, existing ? DestinationSeen::Unknown : DestinationSeen::Free,
                                           &present};
            const TextEncoding encoding = job.encodingOf ? job.encodingOf(source) : TextEncoding::Ansi;
            commits.add(
                source,
                job.rule == Rule::TabStops
                    ? tabStopsInto(source, destination, against, calls, passWidth, encoding, {})
                    : fixedSpacesInto(source, destination, against, calls, job.numberOfSpaces, encoding, {}),
                existing);
            job.afterEach();
        }
    } catch (...) {
        // The files before the one that failed, or before a stop between files, go in place first; the
        // first failure among them is the one the run ends with.
        commits.commitAll();
        throw;
    }
    commits.commitAll();
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
