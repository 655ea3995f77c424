#include "clipboard_text.h"

#include "file_jobs.h"
#include "file_stream.h"
#include "line_rules.h"
#include "whole_text.h"

void storeClipboardText(FileSystem &files, const std::string &temporaryPath,
                        const std::optional<std::string> &clipboard) {
    files.writeWholeFile(temporaryPath, clipboard.value_or("") + "\r\n");
}

std::string tabStopClipboardText(const std::string &temporaryPath, const std::string &secondTemporaryPath,
                                 int16_t width, FileSystem &files) {
    // Stored as UTF-8, the text is converted by display columns once it holds more than ASCII.
    convertFileTabStops(temporaryPath, secondTemporaryPath, width, files, verifyInput(temporaryPath, files));
    return readWholeFile(files, secondTemporaryPath, ShareWrite::Allowed);
}

std::string fixedSpacesClipboardText(FileSystem &files, const std::string &temporaryPath,
                                     const std::optional<std::string> &clipboard,
                                     const std::function<int16_t()> &numberOfSpaces) {
    storeClipboardText(files, temporaryPath, clipboard);
    std::string text = readWholeFile(files, temporaryPath, ShareWrite::Denied);
    wholeReadCheck(text);
    howManySpaces(text, numberOfSpaces());
    return text;
}
