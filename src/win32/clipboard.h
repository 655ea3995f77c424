// The system clipboard in text form: whether it holds text, its text, and replacing it.
#pragma once

#include "win.h"

#include <functional>
#include <optional>
#include <string>

// Puts text on the clipboard, which must be open and empty; false when the system refuses.
using ClipboardTextSetter = std::function<bool(const std::string &)>;
bool setClipboardText(const std::string &text);

// How long, in milliseconds, the program waits for another program to let go of the clipboard.
inline constexpr DWORD clipboardPatience = 1000;

// Holds the clipboard open for its lifetime; fails with 521 when another program holds it longer
// than clipboardPatience. Whoever
// empties the clipboard must open it with an owner window: emptied without one, Windows leaves the
// clipboard ownerless and refuses the data put on it.
// How the session waits between two tries: Sleep, unless a test gives a clock of its own.
using ClipboardWait = std::function<void(DWORD milliseconds)>;

class OpenClipboardSession {
public:
    explicit OpenClipboardSession(HWND owner = nullptr, const ClipboardWait &wait = {});
    OpenClipboardSession(const OpenClipboardSession &) = delete;
    OpenClipboardSession &operator=(const OpenClipboardSession &) = delete;
    ~OpenClipboardSession();
};

bool clipboardHasText();

// The clipboard's text in UTF-8 (its Unicode text, else its ANSI text); nullopt when it holds none.
// Text with half a surrogate pair has no UTF-8 form: it fails with 62, as text that is not plain text.
std::optional<std::string> clipboardText(const ClipboardWait &wait = {});

// Clears the clipboard, owned by the given window, and puts the text on it. Should the new text be refused
// after clearing, the former text is put back and the failure raised, so the user's text is never lost.
void replaceClipboardText(HWND owner, const std::string &text,
                          const ClipboardTextSetter &setter = setClipboardText);
