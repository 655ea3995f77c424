#include "program_version.h"
#include "wide_text.h"
#include "win.h"

#include <cstdio>
#include <vector>

namespace {

std::vector<char> ownVersionBlock() {
    wchar_t module[MAX_PATH * 4] = {};
    if (!GetModuleFileNameW(nullptr, module, MAX_PATH * 4)) return {};
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(module, &ignored);
    if (size == 0) return {};
    std::vector<char> block(size);
    if (!GetFileVersionInfoW(module, 0, size, block.data())) return {};
    return block;
}

} // namespace

std::string programVersionText() {
    std::vector<char> block = ownVersionBlock();
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    if (block.empty() || !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void **>(&fixed), &length) ||
        !fixed)
        return {};
    // The third field of the file version is the revision.
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS));
}

std::string programProductName() {
    std::vector<char> block = ownVersionBlock();
    struct Translation {
        WORD language, codePage;
    } *translation = nullptr;
    UINT length = 0;
    if (block.empty() ||
        !VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation),
                        &length) ||
        length < sizeof *translation)
        return {};
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\ProductName", translation->language,
                  translation->codePage);
    wchar_t *name = nullptr;
    if (!VerQueryValueW(block.data(), toWide(query).c_str(), reinterpret_cast<void **>(&name), &length) ||
        !name)
        return {};
    return toUtf8(name);
}
