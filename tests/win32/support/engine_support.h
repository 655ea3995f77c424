// Small aids of the conversion tests: holding a file open as another program would, the clipboard,
// and what a folder holds.
#pragma once

#include "handles.h"
#include "test_state.h"
#include "win.h"

#include <string>
#include <vector>

// Opens the file for writing as an editor would, letting others read it.
inline FileHandle holdOpenForWriting(const std::string &path) {
    return FileHandle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Opens the file so that nobody else may open, move or delete it.
inline FileHandle holdExclusively(const std::string &path) {
    return FileHandle(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

inline void putTextOnClipboard(const std::string &text) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

// Unicode text, as today's programs put it there; the system offers it as ANSI text as well.
inline void putUnicodeOnClipboard(const std::wstring &text) {
    OpenClipboard(nullptr);
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// The clipboard's Unicode text as it is, unconverted by the program.
inline std::wstring unicodeOnClipboard() {
    std::wstring text = L"<no text>";
    OpenClipboard(nullptr);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t *>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

inline void emptyClipboard() {
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
}

// The names in a folder (ending in a backslash), without "." and "..".
inline std::vector<std::string> namesIn(const std::string &folder) { return namesMatching(folder + "*"); }

inline std::string errorText(int number, const std::string &description, const std::string &procedureLine) {
    return "An Error was generated:\r\n\r\nDescription:\r\nError " + std::to_string(number) + " - " +
           description + "\r\n" + procedureLine +
           "\r\n\r\nPlease inform the author with the error description above.";
}
