// The file conversion jobs, apart from any window: verifying inputs, converting one file into its
// destination, and a folder's list of files into a destination folder. Files stream through in
// blocks, so a file of any size converts in a few blocks of memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "converter.h"
#include "file_run.h"
#include "file_stream.h"
#include "text_encoding.h"

// Runs one step of a verification pass: a failure that marks the input goes to onFailed and the
// pass goes on; any other failure ends the pass.
void markingFailedInput(const std::function<void()> &step, const std::function<void()> &onFailed);

// Each input verified in order; a failing one is handed to recordFailed and the pass goes on, any
// other failure ends it. afterEach runs after every input, failed or not.
// recordEncoding, when given, hears the encoding of each input that passed.
void verifyInputs(const std::vector<std::string> &paths, FileSystem &files,
                  const std::function<void(const std::string &)> &recordFailed,
                  const std::function<void()> &afterEach,
                  const std::function<void(const std::string &, TextEncoding)> &recordEncoding = {});

// Line by line under tab stops of the given width (an ordinary read of the source), in the encoding
// the verification found: ANSI bytes, UTF-8 by display columns, UTF-16 by code units.
void convertFileTabStops(const std::string &source, const std::string &destination, int16_t width,
                         FileSystem &files, TextEncoding encoding = TextEncoding::Ansi,
                         const BytesRead &bytesRead = {});

// The whole text with a fixed run of spaces per tab (writing denied to others while it is read). The
// number of spaces is asked for once the source is open, as the whole-text route reads it after the
// source.
void convertFileFixedSpaces(const std::string &source, const std::string &destination,
                            const std::function<int16_t()> &numberOfSpaces, FileSystem &files,
                            TextEncoding encoding = TextEncoding::Ansi, const BytesRead &bytesRead = {});

struct FolderConversion {
    TabRule rule = TabRule::TabStops;
    std::string destinationFolder;
    // Tab stops ask once for the whole pass; a fixed number is asked for again before every file.
    std::function<int16_t()> numberOfSpaces;
    std::function<void()> afterEach;
    // The encoding the verification found for a source; ANSI for all when not given.
    std::function<TextEncoding(const std::string &)> encodingOf;
    // Told of each source whose destination name is another file's 8.3 alias: that file is left as
    // it is and the pass goes on. Without it, such a source ends the pass with 75.
    std::function<void(const std::string &)> recordFailed;
    // After each block read, within a file as between files (a window handles its messages).
    BytesRead bytesRead;
    // While the run waits for its flushes and commits, every 50 ms at most.
    std::function<void()> whileWaiting;
    // The run as it starts, and nullptr once it has ended.
    std::function<void(RunUnderWay *)> underWay;
};

// Each source into the destination folder under its own file name, through the run of file_run.h: an
// existing destination is replaced only once its replacement is flushed; the flushes run on background
// threads while the next files convert, and the files go in place in the order of the sources. The run
// ends with the first failure in that order: the files before it are in place, none after it. When
// afterEach throws (a stop between files), the files converted until then go in place and no other.
void convertFolder(const std::vector<std::string> &sources, const FolderConversion &job, FileSystem &files);

// The entries that are not among the failed ones, in their order.
std::vector<std::string> withoutFailed(const std::vector<std::string> &entries,
                                       const std::vector<std::string> &failed);
