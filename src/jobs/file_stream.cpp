#include "file_stream.h"

void streamFile(SourceFile &source, std::uint64_t length, StreamConverter &converter,
                const ByteSink &converted, const ByteSink &original, const BytesRead &bytesRead) {
    source.readBlocks(length, [&](const char *data, std::size_t size) {
        converted(converter.convert(data, size));
        if (original) original(std::string_view(data, size));
        if (bytesRead) bytesRead(size);
    });
}

std::string readWholeFile(FileSystem &files, const std::string &path, ShareWrite share) {
    const std::unique_ptr<SourceFile> file = files.openForReading(path, share);
    const std::uint64_t length = file->length();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(length));
    file->readBlocks(length, [&](const char *data, std::size_t size) { bytes.append(data, size); });
    return bytes;
}

std::string finished(StreamConverter &converter) {
    std::string end;
    converter.finish(end);
    return end;
}
