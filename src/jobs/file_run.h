// One run of files into their destinations, the same for the window's folder run and the console
// program: each source converted into a replacement of its destination while earlier replacements are
// flushed, and the files put in place in the order of the run. Each front end hears the run through
// its own RunEvents and chooses what a failure means for the files after it.
#pragma once

#include "app_error.h"
#include "converter.h"
#include "file_stream.h"
#include "file_system.h"
#include "text_encoding.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct RunFile {
    std::string source;
    std::string destination; // the source itself for a run in place
    TextEncoding encoding = TextEncoding::Ansi;
};

// How the run reads each source and converts it.
struct FileReading {
    ShareWrite share = ShareWrite::Denied;
    // The conversion of a source, asked for once the source is open.
    std::function<ConversionMode()> mode;
    // The whole-text check while converting: a 0x1A before the last byte, or broken UTF-16, fails with
    // 62 (text_encoding.h).
    bool checkText = false;
};

enum class FailurePolicy {
    StopAtFirst,  // the first file that cannot be converted or put in place ends the run with its error
    GoOnWithRest, // each such file is reported and the run goes on
};

struct FileRunOptions {
    FailurePolicy onFailure = FailurePolicy::StopAtFirst;
    bool inPlace = false;     // each source replaced by its conversion
    bool makeFolders = false; // a destination's missing folders are made
};

// What a front end may ask of a run under way, from within the run's callbacks.
class RunUnderWay {
public:
    // Waits until every file converted so far is in place or has failed, without handing time to
    // whileWaiting: the session is ending, and only what is converted is to be kept.
    virtual void putConvertedInPlace() = 0;

protected:
    ~RunUnderWay() = default;
};

// What a front end hears of a run, all on the run's own thread.
class RunEvents {
public:
    virtual ~RunEvents() = default;
    virtual void bytesRead(std::size_t) {}
    // After each file is converted (or, where the run goes on past failures, has failed), before it is
    // in place. A front end stops the run by throwing here: the files converted until then go in place,
    // and no other.
    virtual void fileDone() {}
    // A file that could not be converted or put in place, the run going on with the rest.
    virtual void fileFailed(const RunFile &, const AppError &) {}
    // Whether a destination name that is another file's 8.3 alias is left as it is (aliasRefused), the
    // run going on; otherwise it is a failure (75) as any other.
    virtual bool refusesAliases() const { return false; }
    virtual void aliasRefused(const RunFile &) {}
    // While the run waits for its flushes or commits, every 50 ms at most.
    virtual void whileWaiting() {}
    // The run as it starts, and nullptr once it has ended.
    virtual void underWay(RunUnderWay *) {}
    // In a verification pass, each input (its place in the list) read whole, or failed.
    virtual void inputVerified(std::size_t, TextEncoding) {}
    virtual void inputFailed(std::size_t, const AppError &) {}
};

// The whole-text read of an input with writing denied to others: fails with 70 when another program
// holds it open for writing, with 62 when its text ends early at a 0x1A before its last byte or is
// broken UTF-16 (text_encoding.h). Returns the encoding its bytes name.
TextEncoding verifyInput(const std::string &path, FileSystem &files, const BytesRead &bytesRead = {});

// The failures that mark an input as one the program cannot handle, for a reason of its own (52 bad
// name, 53 gone, 62 not plain text, 70 held by another program, 75 not accessible, 76 its folder
// gone), as opposed to failures that end a pass.
bool marksFailedInput(int32_t errorNumber);

// The verification pass of a run, before anything is converted: each input read whole in its order,
// heard by inputVerified or inputFailed, then fileDone (where a front end stops the pass by throwing).
// Under StopAtFirst a failure that marks an input goes on and any other ends the pass; under
// GoOnWithRest every failure goes on.
void verifyFiles(const std::vector<std::string> &paths, FailurePolicy policy, RunEvents &events,
                 FileSystem &files);

// Runs the files in their order. Under StopAtFirst the run ends with the first failure in that order:
// the files before it are in place, none after it. A destination folder's leftovers of a program that
// was ended in the middle of a replace are put right (recoverLeftovers) before its first file.
void runFiles(const std::vector<RunFile> &files, const FileReading &reading, const FileRunOptions &options,
              RunEvents &events, FileSystem &system);

// One file converted and put in place at once, told apart from its source before anything is written
// (75 where it cannot be): a single-file job.
void runOneFile(const RunFile &file, const FileReading &reading, FileSystem &files,
                const BytesRead &bytesRead = {});
