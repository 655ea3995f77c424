// Standard output and standard error as the console program writes them: text in UTF-8 is shown
// through WriteConsoleW on a console, so that any name prints in any script, and goes out as UTF-8
// bytes into a file or a pipe; converted text always goes out as its own bytes.
#pragma once

#include "win.h"

#include <string_view>

class ConsoleStream {
public:
    explicit ConsoleStream(HANDLE handle);

    bool isConsole() const { return console_; }
    // Program text (names, messages), in UTF-8.
    void writeText(std::string_view utf8);
    // Bytes exactly as given. Fails with the program's error when they cannot all be written.
    void writeBytes(std::string_view bytes);

private:
    HANDLE handle_;
    bool console_;
};
