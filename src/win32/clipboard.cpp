#include "clipboard.h"

#include "app_error.h"
#include "win.h"
#include "handles.h"

#include <cstring>

namespace {

constexpr int32_t cannotOpenClipboard = 521;

[[noreturn]] void raiseClipboard(int32_t number, const char *description) {
    throw AppError{number, description, "", 0};
}

// Another program may hold the clipboard for a moment; a few short waits ride that out.
bool openWithRetries(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(10);
    }
    return false;
}

std::optional<std::string> textOfOpenClipboard() {
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data)
        return std::nullopt;
    const GlobalLocked locked(data);
    const char *text = static_cast<const char *>(locked.get());
    if (!text)
        return std::nullopt;
    return std::string(text, strnlen(text, GlobalSize(data)));
}

} // namespace

OpenClipboardSession::OpenClipboardSession(HWND owner) {
    if (!openWithRetries(owner))
        raiseClipboard(cannotOpenClipboard, "Can't open Clipboard");
}

OpenClipboardSession::~OpenClipboardSession() { CloseClipboard(); }

bool setClipboardText(const std::string &text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory)
        return false;
    {
        const GlobalLocked locked(memory);
        if (!locked.get()) {
            GlobalFree(memory);
            return false;
        }
        std::memcpy(locked.get(), text.c_str(), text.size() + 1);
    }
    if (SetClipboardData(CF_TEXT, memory))
        return true; // the system owns it now
    GlobalFree(memory);
    return false;
}

bool clipboardHasText() { return IsClipboardFormatAvailable(CF_TEXT) != 0; }

std::optional<std::string> clipboardText() {
    if (!clipboardHasText())
        return std::nullopt;
    OpenClipboardSession session;
    return textOfOpenClipboard();
}

void replaceClipboardText(HWND owner, const std::string &text, const ClipboardTextSetter &setter) {
    OpenClipboardSession session(owner);
    const std::optional<std::string> former = textOfOpenClipboard();
    if (!EmptyClipboard())
        raiseClipboard(cannotOpenClipboard, "Can't open Clipboard");
    if (setter(text))
        return;
    if (former)
        setClipboardText(*former);
    raiseError(err::OutOfMemory);
}
