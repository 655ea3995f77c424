#include "console_stream.h"

#include "wide_text.h"
#include "win_error.h"

#include <algorithm>

ConsoleStream::ConsoleStream(HANDLE handle) : handle_(handle) {
    DWORD mode = 0;
    console_ = handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

void ConsoleStream::writeText(std::string_view utf8) {
    if (!console_) {
        writeBytes(utf8);
        return;
    }
    const std::wstring wide = toWide(utf8);
    // WriteConsoleW takes at most a few kilobytes at a time on older systems.
    constexpr std::size_t piece = 8192;
    for (std::size_t done = 0; done < wide.size();) {
        const DWORD size = static_cast<DWORD>(std::min(piece, wide.size() - done));
        DWORD written = 0;
        if (!WriteConsoleW(handle_, wide.data() + done, size, &written, nullptr) || written == 0) return;
        done += written;
    }
}

void ConsoleStream::writeBytes(std::string_view bytes) {
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) return;
    while (!bytes.empty()) {
        const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(handle_, bytes.data(), size, &written, nullptr)) raiseLastError();
        if (written == 0) raiseError(err::DiskFull);
        bytes.remove_prefix(written);
    }
}
