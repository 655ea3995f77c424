// Standard output and standard error over POSIX descriptors: program text and converted text both go
// out as their bytes (a terminal shows UTF-8), a write cut short by a signal goes on where it stopped,
// and a pipe whose reader has gone (EPIPE, with SIGPIPE ignored) is told from other failures. A
// message never stops the run: a stream that fails once is left alone from then on.
#pragma once

#include "output_stream.h"

#include <sys/types.h>

class DescriptorStream : public OutputStream {
public:
    explicit DescriptorStream(int descriptor);
    DescriptorStream(const DescriptorStream &) = delete;
    DescriptorStream &operator=(const DescriptorStream &) = delete;

    bool isTerminal() const override { return terminal_; }
    // The terminal's width (TIOCGWINSZ), else the COLUMNS of the environment; 0 when neither says.
    std::size_t columns() const override;
    bool writeText(std::string_view text) noexcept override;
    void writeBytes(std::string_view bytes) override;

    bool failed() const override { return failed_; }
    bool readerGone() const override { return readerGone_; }
    std::int32_t failure() const override;

protected:
    // Over a descriptor that the caller says is or is not a terminal (tests).
    DescriptorStream(int descriptor, bool terminal) : descriptor_(descriptor), terminal_(terminal) {}
    // One write(2): the bytes written, or -1 with errno set.
    virtual ssize_t writePiece(const char *data, std::size_t size);

private:
    bool writeAll(std::string_view bytes);

    int descriptor_;
    bool terminal_;
    bool failed_ = false;
    bool readerGone_ = false;
    int error_ = 0;
};

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, so that no file the program opens
// later takes its number and receives what was meant for a standard stream.
void keepStandardDescriptorsOpen();
