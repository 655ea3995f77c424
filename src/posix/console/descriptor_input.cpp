#include "console/descriptor_input.h"

#include "app_error.h"
#include "posix_error.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The descriptor's `size` bytes from `start`, in blocks, without moving its offset.
void replayFrom(int descriptor, std::uint64_t start, std::uint64_t size,
                const std::function<void(const char *, std::size_t)> &sink) {
    std::vector<char> block(std::min<std::uint64_t>(size, DescriptorInput::pieceBytes));
    for (std::uint64_t done = 0; done < size;) {
        const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - done));
        const ssize_t got = pread(descriptor, block.data(), wanted, static_cast<off_t>(start + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) raiseErrno(errno);
        if (got == 0) raiseError(err::InputPastEnd); // the file is shorter than when it was taken
        sink(block.data(), static_cast<std::size_t>(got));
        done += static_cast<std::uint64_t>(got);
    }
}

class UnlinkedSpillFile : public SpillFile {
public:
    explicit UnlinkedSpillFile(int descriptor) : descriptor_(descriptor) {}
    UnlinkedSpillFile(const UnlinkedSpillFile &) = delete;
    UnlinkedSpillFile &operator=(const UnlinkedSpillFile &) = delete;
    ~UnlinkedSpillFile() override { close(descriptor_); }

    void write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) raiseErrno(written == 0 ? ENOSPC : errno);
            bytes.remove_prefix(static_cast<std::size_t>(written));
            size_ += static_cast<std::uint64_t>(written);
        }
    }

    void replay(const std::function<void(const char *, std::size_t)> &sink) override {
        replayFrom(descriptor_, 0, size_, sink);
    }

private:
    int descriptor_;
    std::uint64_t size_ = 0;
};

class RedirectedFile : public InputFileInPlace {
public:
    RedirectedFile(int descriptor, std::uint64_t start, std::uint64_t size)
        : descriptor_(descriptor), start_(start), size_(size) {}

    std::uint64_t size() const override { return size_; }
    void replay(const std::function<void(const char *, std::size_t)> &sink) override {
        replayFrom(descriptor_, start_, size_, sink);
    }

private:
    int descriptor_;
    std::uint64_t start_;
    std::uint64_t size_;
};

} // namespace

std::unique_ptr<InputFileInPlace> DescriptorInput::fileInPlace(std::uint64_t largerThan) {
    struct stat about {};
    if (fstat(descriptor_, &about) != 0 || !S_ISREG(about.st_mode)) return nullptr;
    const off_t start = lseek(descriptor_, 0, SEEK_CUR);
    if (start < 0 || about.st_size <= start ||
        static_cast<std::uint64_t>(about.st_size - start) <= largerThan)
        return nullptr;
    const off_t end = about.st_size;
    if (lseek(descriptor_, end, SEEK_SET) < 0) return nullptr;
    return std::make_unique<RedirectedFile>(descriptor_, static_cast<std::uint64_t>(start),
                                            static_cast<std::uint64_t>(end - start));
}

std::size_t DescriptorInput::read(char *into, std::size_t size) {
    for (;;) {
        pollfd waits[2] = {{descriptor_, POLLIN, 0}, {stopDescriptor_, POLLIN, 0}};
        if (poll(waits, stopDescriptor_ >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) continue;
            raiseErrno(errno);
        }
        if (stopDescriptor_ >= 0 && waits[1].revents) throw InputInterrupted{};
        // Readable, at its end (POLLHUP) or failed: read(2) tells which.
        const ssize_t got = ::read(descriptor_, into, std::min(size, pieceBytes));
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
        raiseErrno(errno);
    }
}

std::unique_ptr<SpillFile> UnlinkedSpillFiles::create() {
    std::string name = folder_;
    if (name.empty() || name.back() != '/') name += '/';
    name += "quillmerec-input-XXXXXX";
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0)
        raiseError(errno == ENOENT || errno == ENOTDIR ? err::PathNotFound : errorNumberForErrno(errno));
    unlink(name.c_str());
    fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    return std::make_unique<UnlinkedSpillFile>(descriptor);
}

std::string UnlinkedSpillFiles::usualFolder() {
    const char *folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}
