// Conversions for a caller that picks its own converter for each file (the console program): a file
// into a destination, a file replaced by its conversion, and whether a conversion would change a
// file. Each streams in blocks and reports the bytes it has read, so any size goes through in a few
// blocks of memory.
#pragma once

#include "converter.h"
#include "file_moves.h"
#include "text_encoding.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Called after each block read with the number of bytes of that block.
using BytesRead = std::function<void(std::size_t)>;

// The source through the converter into the destination, which is replaced whole or not at all. A
// destination that is the source under any spelling is refused (75) before anything is written.
void convertFileInto(const std::string &source, const std::string &destination, StreamConverter &converter,
                     FileMoves &calls, const BytesRead &bytesRead);

// The source through the converter, each converted block handed to the sink (standard output). The
// converter is not finished: the next file may go on through it.
void convertFileToSink(const std::string &source, StreamConverter &converter,
                       const std::function<void(std::string_view)> &sink, const BytesRead &bytesRead);

// The file replaced by its conversion in one step: written beside it, flushed, then put in its place
// keeping its attributes. Writing is denied to others while it is read; until the last step the
// file is as it was, also when the program is ended meanwhile.
void convertFileInPlace(const std::string &path, StreamConverter &converter, FileMoves &calls,
                        const BytesRead &bytesRead);

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
bool conversionChangesFile(const std::string &path, StreamConverter &converter, const BytesRead &bytesRead);
