#include "engine/file_jobs.h"

#include "engine/text_stream.h"
#include "errors/app_error.h"
#include "platform/text_files.h"
#include "run/path_text.h"

#include <unordered_set>

namespace {

// Streams the open source through the converter into the destination's replacement, and closes
// the source before the replacement moves into place (the source may be the destination).
template <class Converter>
void streamInto(FileHandle source, const std::string &destination, Converter &converter,
                WholeReadCheck *check, const AfterBlock &afterBlock) {
    ReplacementFile output(destination);
    readBlocks(source, [&](const char *data, std::size_t size) {
        if (check)
            check->feed(data, size);
        output.write(converter.convert(data, size));
        if (afterBlock)
            afterBlock();
    });
    std::string lastLineEnd;
    converter.finish(lastLineEnd);
    output.write(lastLineEnd);
    source.close();
    output.commit();
}

} // namespace

void verifyInput(const std::string &path, const AfterBlock &afterBlock) {
    const FileHandle file = openForReading(path, ShareWrite::Denied);
    WholeReadCheck check(fileLength(file));
    readBlocks(file, [&](const char *data, std::size_t size) {
        check.feed(data, size);
        if (afterBlock)
            afterBlock();
    });
}

bool marksFailedInput(int32_t errorNumber) {
    return errorNumber == err::BadFileName || errorNumber == err::InputPastEnd ||
           errorNumber == err::PermissionDenied;
}

void markingFailedInput(const std::function<void()> &step, const std::function<void()> &onFailed) {
    try {
        step();
    } catch (const AppError &error) {
        if (!marksFailedInput(error.number))
            throw;
        onFailed();
    }
}

void verifyInputs(const std::vector<std::string> &paths,
                  const std::function<void(const std::string &)> &recordFailed,
                  const std::function<void()> &afterEach) {
    for (const std::string &path : paths) {
        markingFailedInput([&] { verifyInput(path); }, [&] { recordFailed(path); });
        afterEach();
    }
}

void convertFileTabStops(const std::string &source, const std::string &destination, int16_t width,
                         const AfterBlock &afterBlock) {
    TabStopConverter converter(width);
    streamInto(openForReading(source, ShareWrite::Allowed), destination, converter, nullptr, afterBlock);
}

void convertFileFixedSpaces(const std::string &source, const std::string &destination,
                            const std::function<int16_t()> &numberOfSpaces, const AfterBlock &afterBlock) {
    FileHandle file = openForReading(source, ShareWrite::Denied);
    WholeReadCheck check(fileLength(file));
    FixedSpacesConverter converter(numberOfSpaces());
    streamInto(std::move(file), destination, converter, &check, afterBlock);
}

void convertFolder(const std::vector<std::string> &sources, const FolderConversion &job) {
    const std::string folder = addBackslash(job.destinationFolder);
    const int16_t passWidth = job.rule == Rule::TabStops ? job.numberOfSpaces() : 0;
    for (const std::string &source : sources) {
        const std::string destination = folder + filePart(source, pathPart::fileName);
        if (job.rule == Rule::TabStops)
            convertFileTabStops(source, destination, passWidth);
        else
            convertFileFixedSpaces(source, destination, job.numberOfSpaces);
        job.afterEach();
    }
}

std::vector<std::string> withoutFailed(const std::vector<std::string> &entries,
                                       const std::vector<std::string> &failed) {
    const std::unordered_set<std::string> failedSet(failed.begin(), failed.end());
    std::vector<std::string> kept;
    kept.reserve(entries.size());
    for (const std::string &entry : entries)
        if (!failedSet.count(entry))
            kept.push_back(entry);
    return kept;
}
