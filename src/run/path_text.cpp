#include "run/path_text.h"
#include "errors/app_error.h"

namespace {

std::string_view lastComponent(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string filePart(std::string_view path, int32_t part) {
    if (part >= 1 && part <= 3 && path.empty()) raiseError(err::SubscriptOutOfRange);
    switch (part) {
    case 0: {
        const size_t dot = path.rfind('.');
        return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
    }
    case 1: {
        const std::string_view name = lastComponent(path);
        return std::string(name.substr(0, name.find('.')));
    }
    case 2: return std::string(lastComponent(path));
    case 3: {
        const size_t slash = path.rfind('\\');
        return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
    }
    default: return {};
    }
}

std::string addBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '\\') result += '\\';
    return result;
}
