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

void ChangeFinder::feed(std::string_view incoming, bool incomingIsConverted) {
    if (differs_) return;
    if (held_.empty()) heldIsConverted_ = incomingIsConverted;
    if (heldIsConverted_ == incomingIsConverted) {
        held_.append(incoming);
        return;
    }
    const std::size_t common = std::min(held_.size(), incoming.size());
    if (std::memcmp(held_.data(), incoming.data(), common) != 0) {
        differs_ = true;
        return;
    }
    held_.erase(0, common);
    if (held_.empty() && incoming.size() > common) {
        held_.assign(incoming.substr(common));
        heldIsConverted_ = incomingIsConverted;
    }
}

bool conversionChangesFile(const std::string &path, StreamConverter &converter, const BytesRead &bytesRead) {
    const FileHandle file = openForReading(path, ShareWrite::Denied);
    ChangeFinder finder;
    readBlocks(file, fileLength(file), [&](const char *data, std::size_t size) {
        finder.converted(converter.convert(data, size));
        finder.original(std::string_view(data, size));
        if (bytesRead) bytesRead(size);
    });
    std::string end;
    converter.finish(end);
    finder.converted(end);
    return finder.differs();
}
