#include "path_text.h"

#include "app_error.h"

namespace {

std::string_view lastComponent(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view extensionOf(std::string_view path) {
    // Taken over the whole path, so a dot in a folder name counts when the file name has none.
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : path.substr(dot + 1);
}

std::string_view folderOf(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash + 1);
}

} // namespace

std::string filePart(std::string_view path, int32_t part) {
    if (part < pathPart::extension || part > pathPart::folder) return {};
    if (part == pathPart::extension) return std::string(extensionOf(path));
    if (path.empty()) raiseError(err::SubscriptOutOfRange);
    switch (part) {
    case pathPart::nameWithoutExt: {
        const std::string_view name = lastComponent(path);
        return std::string(name.substr(0, name.find('.')));
    }
    case pathPart::fileName: return std::string(lastComponent(path));
    default: return std::string(folderOf(path));
    }
}

std::string folderOfPath(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator));
}

std::string nameOfPath(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string addBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '\\') result += '\\';
    return result;
}

std::string trimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}
