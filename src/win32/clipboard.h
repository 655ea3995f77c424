// The system clipboard in text form: whether it holds text, its text, and replacing it.
#pragma once

#include <functional>
#include <optional>
#include <string>

// Puts text on the clipboard, which must be open and empty; false when the system refuses.
using ClipboardTextSetter = std::function<bool(const std::string &)>;
bool setClipboardText(const std::string &text);

// Holds the clipboard open for its lifetime; fails with 521 when another program holds it.
class OpenClipboardSession {
public:
    OpenClipboardSession();
    OpenClipboardSession(const OpenClipboardSession &) = delete;
    OpenClipboardSession &operator=(const OpenClipboardSession &) = delete;
    ~OpenClipboardSession();
};

bool clipboardHasText();

// The clipboard's text in the ANSI code page; nullopt when it holds none.
std::optional<std::string> clipboardText();

// Clears the clipboard and puts the text on it. Should the new text be refused after clearing, the
// former text is put back and the failure raised, so the user's text is never lost.
void replaceClipboardText(const std::string &text, const ClipboardTextSetter &setter = setClipboardText);
