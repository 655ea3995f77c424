#include "clipboard_text.h"

#include "clipboard.h"
#include "file_jobs.h"
#include "line_rules.h"
#include "text_files.h"
#include "whole_text.h"

void storeClipboardText(const std::string &temporaryPath) {
    writeWholeFile(temporaryPath, clipboardText().value_or("") + "\r\n");
}

std::string tabStopClipboardText(const std::string &temporaryPath, const std::string &secondTemporaryPath,
                                 int16_t width, FileMoves &calls) {
    // Stored as UTF-8, the text is converted by display columns once it holds more than ASCII.
    convertFileTabStops(temporaryPath, secondTemporaryPath, width, calls, verifyInput(temporaryPath));
    return readWholeFile(secondTemporaryPath, ShareWrite::Allowed);
}

std::string fixedSpacesClipboardText(const std::string &temporaryPath,
                                     const std::function<int16_t()> &numberOfSpaces) {
    storeClipboardText(temporaryPath);
    std::string text = readWholeFile(temporaryPath, ShareWrite::Denied);
    wholeReadCheck(text);
    howManySpaces(text, numberOfSpaces());
    return text;
}
