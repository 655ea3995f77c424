#include "error_message.h"

#include "app_error.h"

std::string errorNumberText(int32_t number) {
    const std::string digits = std::to_string(number);
    return number < 0 ? digits : " " + digits;
}

std::string standardErrorText(int32_t number, std::string_view description, std::string_view procedureLine,
                              std::string_view closingText) {
    std::string text = "An Error was generated:\r\n\r\nDescription:\r\nError";
    text += errorNumberText(number);
    text += " - ";
    text += description;
    text += "\r\n";
    text += procedureLine;
    text += "\r\n\r\n";
    text += closingText;
    return text;
}

std::string_view browseDirClosing(int32_t number) {
    switch (number) {
    case err::CannotCreateObject: return closing::reinstall;
    case err::FileNotFound: return closing::noFolderBrowser;
    default: return closing::standard;
    }
}

std::string_view browseDir2SaveClosing(int32_t number) {
    return number == err::CannotCreateObject ? closing::reinstall : closing::standard;
}

std::string startupErrorText(int32_t number, std::string_view description) {
    std::string text = "An Error was generated:\r\nDescription: Error";
    text += errorNumberText(number);
    text += " - ";
    text += description;
    text += "\r\n\r\n";
    switch (number) {
    case err::ComponentNotLoaded: text += closing::reinstall; break;
    case err::Unexpected: text += closing::reinstallOrRuntime; break;
    default: text += closing::standard; break;
    }
    return text;
}

std::string errorLogRecord(std::string dateTime, const std::vector<std::string> &entries) {
    std::string record = "\r\n" + std::move(dateTime);
    for (const std::string &entry : entries) {
        record += "\r\n";
        record += entry;
    }
    record += "\r\n";
    return record;
}
