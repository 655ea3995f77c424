#include "work_list.h"

#include "whole_text.h"

namespace {

bool ownExtensionIs(FileSystem &files, const std::string &name, const std::string &extension) {
    if (extension.find_first_of("*?") != std::string::npos) return true;
    const std::size_t dot = name.find_last_of('.');
    const std::string own = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    return files.nameKey(own) == files.nameKey(extension);
}

bool blankAfterTrim(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

bool canBeExtension(std::string_view line) {
    return line.size() <= 255 && line.find_first_of("\\/:*?") == std::string_view::npos;
}

} // namespace

void forEachFileOfExtension(FileSystem &files, const std::string &folder, const std::string &extension,
                            const std::function<void(const std::string &)> &found) {
    files.forEachOrdinaryFile(folder, "*." + extension, [&](const std::string &name) {
        if (ownExtensionIs(files, name, extension)) found(folder + name);
    });
}

std::vector<std::string> extensionsFromText(const std::string &text) {
    std::vector<std::string> extensions;
    for (std::string_view line : splitLines(text))
        if (!blankAfterTrim(line) && canBeExtension(line)) extensions.emplace_back(line);
    return extensions;
}
