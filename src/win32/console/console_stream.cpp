#include "console/console_stream.h"

#include "app_error.h"
#include "wide_text.h"
#include "win_error.h"

#include <algorithm>

namespace {

bool usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

bool isConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return usable(handle) && GetConsoleMode(handle, &mode) != 0;
}

// What WriteFile says when the reading end of a pipe is closed: ERROR_NO_DATA while the pipe is
// being closed, ERROR_BROKEN_PIPE once it is.
bool meansReaderGone(DWORD error) {
    return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED;
}

} // namespace

ConsoleStream::ConsoleStream(HANDLE handle) : ConsoleStream(handle, isConsoleHandle(handle)) {}

ConsoleStream::ConsoleStream(HANDLE handle, bool console) : handle_(handle), console_(console) {}

bool ConsoleStream::writeBytePiece(const char *data, DWORD size, DWORD &written, DWORD &error) {
    if (WriteFile(handle_, data, size, &written, nullptr)) return true;
    error = GetLastError();
    return false;
}

bool ConsoleStream::writeConsolePiece(const wchar_t *data, DWORD size, DWORD &written, DWORD &error) {
    if (WriteConsoleW(handle_, data, size, &written, nullptr)) return true;
    error = GetLastError();
    return false;
}

std::size_t ConsoleStream::columns() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!console_ || !GetConsoleScreenBufferInfo(handle_, &info) || info.dwSize.X <= 0) return 0;
    return static_cast<std::size_t>(info.dwSize.X);
}

std::int32_t ConsoleStream::failure() const { return failed_ ? errorNumberForWin32(lastError_) : 0; }

void ConsoleStream::noteFailure(DWORD error) {
    failed_ = true;
    lastError_ = error;
    readerGone_ = meansReaderGone(error);
}

bool ConsoleStream::writeAllBytes(std::string_view bytes) {
    const std::size_t piece = console_ ? consolePieceBytes : filePieceBytes;
    while (!bytes.empty()) {
        DWORD written = 0, error = 0;
        const DWORD size = static_cast<DWORD>(std::min(bytes.size(), piece));
        if (!writeBytePiece(bytes.data(), size, written, error)) {
            noteFailure(error);
            return false;
        }
        if (written == 0) {
            noteFailure(ERROR_DISK_FULL);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool ConsoleStream::writeAllWide(std::wstring_view wide) {
    const std::size_t piece = consolePieceBytes / sizeof(wchar_t);
    while (!wide.empty()) {
        DWORD written = 0, error = 0;
        const DWORD size = static_cast<DWORD>(std::min(wide.size(), piece));
        if (!writeConsolePiece(wide.data(), size, written, error) || written == 0) {
            noteFailure(written == 0 && error == 0 ? ERROR_WRITE_FAULT : error);
            return false;
        }
        wide.remove_prefix(written);
    }
    return true;
}

bool ConsoleStream::writeText(std::string_view utf8) noexcept {
    if (!usable(handle_) || failed_) return false;
    try {
        return console_ ? writeAllWide(toWide(utf8)) : writeAllBytes(utf8);
    } catch (...) { // no memory for the wide text: the message is lost, the run goes on
        return false;
    }
}

void ConsoleStream::writeBytes(std::string_view bytes) {
    if (!usable(handle_)) return;
    if (failed_ || !writeAllBytes(bytes)) raiseWin32(lastError_);
}
