#include "clipboard.h"

#include "app_error.h"
#include "handles.h"
#include "wide_text.h"
#include "win.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t cannotOpenClipboard = 521;

[[noreturn]] void raiseClipboard(int32_t number, const char *description) {
    throw AppError{number, description};
}

// Another program may hold the clipboard for moments at a time (Remote Desktop's clipboard, clipboard
// managers): waits that double from 10 ms ride that out for about a second in all.
bool openWithRetries(HWND owner, const ClipboardWait &pause) {
    DWORD waited = 0;
    for (DWORD wait = 10;; wait *= 2) {
        if (OpenClipboard(owner)) return true;
        if (waited >= clipboardPatience) return false;
        const DWORD step = std::min(wait, clipboardPatience - waited);
        if (pause)
            pause(step);
        else
            Sleep(step);
        waited += step;
    }
}

std::optional<std::wstring> unicodeOfOpenClipboard() {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    const GlobalLocked locked(data);
    const wchar_t *text = static_cast<const wchar_t *>(locked.get());
    if (!text) return std::nullopt;
    return std::wstring(text, wcsnlen(text, GlobalSize(data) / sizeof(wchar_t)));
}

std::optional<std::string> ansiOfOpenClipboard() {
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return std::nullopt;
    const GlobalLocked locked(data);
    const char *text = static_cast<const char *>(locked.get());
    if (!text) return std::nullopt;
    return std::string(text, strnlen(text, GlobalSize(data)));
}

// The Unicode text when the clipboard has it (the system offers it for ANSI text too), else the ANSI
// text read in the code page.
std::optional<std::wstring> textOfOpenClipboard() {
    if (std::optional<std::wstring> unicode = unicodeOfOpenClipboard()) return unicode;
    if (std::optional<std::string> ansi = ansiOfOpenClipboard()) return toWide(ansiToUtf8(*ansi));
    return std::nullopt;
}

bool setClipboardUnicode(const std::wstring &text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    {
        const GlobalLocked locked(memory);
        if (!locked.get()) {
            GlobalFree(memory);
            return false;
        }
        std::memcpy(locked.get(), text.c_str(), bytes);
    }
    if (SetClipboardData(CF_UNICODETEXT, memory)) return true; // the system owns it now
    GlobalFree(memory);
    return false;
}

} // namespace

OpenClipboardSession::OpenClipboardSession(HWND owner, const ClipboardWait &wait) {
    if (!openWithRetries(owner, wait)) raiseClipboard(cannotOpenClipboard, "Can't open Clipboard");
}

OpenClipboardSession::~OpenClipboardSession() { CloseClipboard(); }

// As Unicode text: the system makes the ANSI text from it for programs that ask for that.
bool setClipboardText(const std::string &text) { return setClipboardUnicode(toWide(text)); }

bool clipboardHasText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0 || IsClipboardFormatAvailable(CF_TEXT) != 0;
}

std::optional<std::string> clipboardText(const ClipboardWait &wait) {
    if (!clipboardHasText()) return std::nullopt;
    OpenClipboardSession session(nullptr, wait);
    const std::optional<std::wstring> text = textOfOpenClipboard();
    if (!text) return std::nullopt;
    // UTF-8 has no form for half a surrogate pair: such text would lose a character on its way through.
    if (hasUnpairedSurrogate(*text)) raiseError(err::InputPastEnd);
    return toUtf8(*text);
}

void replaceClipboardText(HWND owner, const std::string &text, const ClipboardTextSetter &setter) {
    OpenClipboardSession session(owner);
    // Kept as the system gives it, so that putting it back loses nothing, a broken surrogate included.
    const std::optional<std::wstring> former = textOfOpenClipboard();
    if (!EmptyClipboard()) raiseClipboard(cannotOpenClipboard, "Can't open Clipboard");
    if (setter(text)) return;
    if (former) setClipboardUnicode(*former);
    raiseError(err::OutOfMemory);
}
