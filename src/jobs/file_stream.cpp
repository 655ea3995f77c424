#include "file_stream.h"

#include "text_files.h"

void streamFile(const FileHandle &source, std::uint64_t length, StreamConverter &converter,
                const ByteSink &converted, const ByteSink &original, const BytesRead &bytesRead) {
    readBlocks(source, length, [&](const char *data, std::size_t size) {
        converted(converter.convert(data, size));
        if (original) original(std::string_view(data, size));
        if (bytesRead) bytesRead(size);
    });
}

std::string finished(StreamConverter &converter) {
    std::string end;
    converter.finish(end);
    return end;
}
