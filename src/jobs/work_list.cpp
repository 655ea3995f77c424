#include "work_list.h"

#include "folders.h"
#include "locale_text.h"
#include "text_files.h"
#include "whole_text.h"
#include "wide_text.h"

namespace {

bool ownExtensionIs(const std::string &name, const std::string &extension) {
    if (extension.find_first_of("*?") != std::string::npos) return true;
    const std::size_t dot = name.find_last_of('.');
    const std::string own = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    return lowerCase(own) == lowerCase(extension);
}

bool blankAfterTrim(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

bool canBeExtension(std::string_view line) {
    return line.size() <= 255 && line.find_first_of("\\/:*?") == std::string_view::npos;
}

} // namespace

void forEachFileOfExtension(const std::string &folder, const std::string &extension,
                            const std::function<void(const std::string &)> &found) {
    forEachOrdinaryFile(folder + "*." + extension, [&](const std::string &name) {
        if (ownExtensionIs(name, extension)) found(folder + name);
    });
}

std::vector<std::string> extensionsFromFile(const std::string &path) {
    std::vector<std::string> extensions;
    // Saved by earlier versions in the ANSI code page, or by today's editors in UTF-8.
    const std::string text = utf8OrAnsiToUtf8(readWholeFile(path, ShareWrite::Allowed));
    for (std::string_view line : splitLines(text))
        if (!blankAfterTrim(line) && canBeExtension(line)) extensions.emplace_back(line);
    return extensions;
}
