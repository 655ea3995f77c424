#include "errors/error_message.h"

namespace {
std::string numberText(int32_t number) {
    std::string text = std::to_string(number);
    if (number >= 0) text.insert(text.begin(), ' ');
    return text;
}
} // namespace

std::string standardErrorText(int32_t number, const std::string &description, const std::string &procedureLine,
                              const std::string &closingText) {
    return "An Error was generated:\r\n\r\nDescription:\r\nError" + numberText(number) + " - " + description +
           "\r\n" + procedureLine + "\r\n\r\n" + closingText;
}

std::string startupErrorText(int32_t number, const std::string &description) {
    const std::string closing = number == 339     ? "Re-install the program to fix this."
                                : number == 50003 ? "Re-install the program to fix this, or get the latest "
                                                    "vbruntimes at Hollowcrest."
                                                  : standardClosingLine;
    return "An Error was generated:\r\nDescription: Error" + numberText(number) + " - " + description +
           "\r\n\r\n" + closing;
}
