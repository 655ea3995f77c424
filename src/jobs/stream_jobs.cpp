#include "stream_jobs.h"

#include "app_error.h"
#include "replacement_file.h"
#include "text_files.h"

#include <algorithm>
#include <cstring>

namespace {

void streamThrough(const FileHandle &source, std::uint64_t length, StreamConverter &converter,
                   ReplacementFile &output, const BytesRead &bytesRead) {
    readBlocks(source, length, [&](const char *data, std::size_t size) {
        output.write(converter.convert(data, size));
        if (bytesRead) bytesRead(size);
    });
    std::string end;
    converter.finish(end);
    output.write(end);
}

} // namespace

void convertFileInto(const std::string &source, const std::string &destination, StreamConverter &converter,
                     FileMoves &calls, const BytesRead &bytesRead) {
    FileHandle file = openForReading(source, ShareWrite::Denied);
    // A destination that cannot be told apart from the source is taken for it.
    if (fileAt(file, destination, calls) != Sameness::Different) raiseError(err::PathFileAccess);
    const std::uint64_t length = fileLength(file);
    ReplacementFile output(destination, calls);
    streamThrough(file, length, converter, output, bytesRead);
    file.close();
    output.commit();
}

void convertFileToSink(const std::string &source, StreamConverter &converter,
                       const std::function<void(std::string_view)> &sink, const BytesRead &bytesRead) {
    const FileHandle file = openForReading(source, ShareWrite::Denied);
    readBlocks(file, fileLength(file), [&](const char *data, std::size_t size) {
        sink(converter.convert(data, size));
        if (bytesRead) bytesRead(size);
    });
}

void convertFileInPlace(const std::string &path, StreamConverter &converter, FileMoves &calls,
                        const BytesRead &bytesRead) {
    FileHandle file = openForReading(path, ShareWrite::Denied);
    const std::uint64_t length = fileLength(file);
    ReplacementFile output(path, calls);
    streamThrough(file, length, converter, output, bytesRead);
    // Replacing needs the file closed; the replacement is flushed before it takes the file's place.
    file.close();
    output.commit();
}

bool conversionChangesFile(const std::string &path, StreamConverter &converter, const BytesRead &bytesRead) {
    const FileHandle file = openForReading(path, ShareWrite::Denied);
    const std::uint64_t length = fileLength(file);
    // The converted bytes run ahead of or behind the file's; what is not yet compared waits in `held`,
    // taken from whichever side is ahead.
    std::string held;
    bool heldIsConverted = false;
    bool differs = false;
    auto compare = [&](std::string_view incoming, bool incomingIsConverted) {
        if (differs) return;
        if (held.empty()) heldIsConverted = incomingIsConverted;
        if (heldIsConverted == incomingIsConverted) {
            held.append(incoming);
            return;
        }
        const std::size_t common = std::min(held.size(), incoming.size());
        if (std::memcmp(held.data(), incoming.data(), common) != 0) {
            differs = true;
            return;
        }
        held.erase(0, common);
        if (held.empty() && incoming.size() > common) {
            held.assign(incoming.substr(common));
            heldIsConverted = incomingIsConverted;
        }
    };
    readBlocks(file, length, [&](const char *data, std::size_t size) {
        compare(converter.convert(data, size), true);
        compare(std::string_view(data, size), false);
        if (bytesRead) bytesRead(size);
    });
    std::string end;
    converter.finish(end);
    compare(end, true);
    return differs || !held.empty();
}
