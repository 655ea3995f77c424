#include "console/descriptor_stream.h"

#include "app_error.h"
#include "posix_error.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A descriptor shared with another program may have been left non-blocking: wait until it takes bytes.
void waitUntilWritable(int descriptor) {
    pollfd writable{descriptor, POLLOUT, 0};
    while (poll(&writable, 1, -1) < 0 && errno == EINTR) {
    }
}

} // namespace

DescriptorStream::DescriptorStream(int descriptor) : DescriptorStream(descriptor, isatty(descriptor) == 1) {}

std::size_t DescriptorStream::columns() const {
    if (!terminal_) return 0;
    winsize size{};
    if (ioctl(descriptor_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    const char *columns = std::getenv("COLUMNS");
    if (!columns) return 0;
    char *end = nullptr;
    const unsigned long number = std::strtoul(columns, &end, 10);
    return end != columns && *end == '\0' && number < 100000 ? number : 0;
}

ssize_t DescriptorStream::writePiece(const char *data, std::size_t size) {
    return write(descriptor_, data, size);
}

bool DescriptorStream::writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = writePiece(bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        const int error = written == 0 ? ENOSPC : errno;
        if (error == EINTR) continue;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            waitUntilWritable(descriptor_);
            continue;
        }
        failed_ = true;
        error_ = error;
        readerGone_ = error == EPIPE;
        return false;
    }
    return true;
}

bool DescriptorStream::writeText(std::string_view text) noexcept { return !failed_ && writeAll(text); }

void DescriptorStream::writeBytes(std::string_view bytes) {
    if (failed_ || !writeAll(bytes)) raiseErrno(error_);
}

std::int32_t DescriptorStream::failure() const { return failed_ ? errorNumberForErrno(error_) : 0; }

void keepStandardDescriptorsOpen() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
        const int opened = open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != descriptor) {
            dup2(opened, descriptor);
            close(opened);
        }
    }
}
