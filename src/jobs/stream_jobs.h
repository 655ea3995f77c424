// Conversions for a caller that picks its own converter for each file (the console program) and writes
// no file: a file onto a sink (standard output), and whether a conversion would change a file. Files
// that are written go through the run of file_run.h.
#pragma once

#include "converter.h"
#include "file_stream.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The source through the converter, each converted block handed to the sink (standard output). The
// converter is not finished: the next file may go on through it.
void convertFileToSink(const std::string &source, FileSystem &files, StreamConverter &converter,
                       const ByteSink &sink, const BytesRead &bytesRead);

// Whether a conversion differs from the bytes it was made from, each side fed as it comes. The
// converted bytes run ahead of or behind the original ones; what is not yet compared waits, taken from
// whichever side is ahead.
class ChangeFinder {
public:
    void original(std::string_view bytes) { feed(bytes, false); }
    void converted(std::string_view bytes) { feed(bytes, true); }
    // Once both sides are fed to their ends.
    bool differs() const { return differs_ || !held_.empty(); }

private:
    void feed(std::string_view incoming, bool incomingIsConverted);

    std::string held_;
    bool heldIsConverted_ = false;
    bool differs_ = false;
};

// Whether the conversion of the file differs from the file's own bytes.
bool conversionChangesFile(const std::string &path, FileSystem &files, StreamConverter &converter,
                           const BytesRead &bytesRead);
