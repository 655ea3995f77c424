#include "stream_jobs.h"

#include <algorithm>
#include <cstring>

void convertFileToSink(const std::string &source, FileSystem &files, StreamConverter &converter,
                       const ByteSink &sink, const BytesRead &bytesRead) {
    const std::unique_ptr<SourceFile> file = files.openForReading(source, ShareWrite::Denied);
    streamFile(*file, file->length(), converter, sink, {}, bytesRead);
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

bool conversionChangesFile(const std::string &path, FileSystem &files, StreamConverter &converter,
                           const BytesRead &bytesRead) {
    const std::unique_ptr<SourceFile> file = files.openForReading(path, ShareWrite::Denied);
    ChangeFinder finder;
    streamFile(
        *file, file->length(), converter, [&](std::string_view bytes) { finder.converted(bytes); },
        [&](std::string_view bytes) { finder.original(bytes); }, bytesRead);
    finder.converted(finished(converter));
    return finder.differs();
}
