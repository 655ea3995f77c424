#include "input_list.h"

#include "app_error.h"
#include "handles.h"
#include "wide_text.h"
#include "wildcard.h"
#include "win_error.h"

#include <algorithm>

namespace {

std::wstring folded(std::wstring text) {
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool isHiddenOrSystem(const WIN32_FIND_DATAW &entry) {
    return entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

bool isFolder(const WIN32_FIND_DATAW &entry) { return entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY; }

struct Entry {
    std::wstring name;
    bool folder;
    bool linked;
};

// The visible entries of a search ("folder\*", "folder\*.c"), in the order of their names; fails
// as the search does. A search that finds nothing gives no entries.
std::vector<Entry> listEntries(const std::string &search) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found{};
    const FindHandle handle(FindFirstFileW(widePath(search).c_str(), &found));
    if (!handle.valid()) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) return entries;
        raiseWin32(code);
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L".." || isHiddenOrSystem(found)) continue;
        entries.push_back(
            {found.cFileName, isFolder(found), (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } while (FindNextFileW(handle.get(), &found));
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return CompareStringOrdinal(a.name.c_str(), -1, b.name.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return entries;
}

std::string joined(const std::string &folder, const std::string &name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '\\' || last == '/' || (folder.size() == 2 && last == ':') ? folder + name
                                                                              : folder + "\\" + name;
}

class Collector {
public:
    Collector(const std::vector<std::string> &extensions, bool recursive) : recursive_(recursive) {
        for (const std::string &extension : extensions)
            extensions_.push_back(folded(L"." + toWide(extension)));
    }

    InputList take(const std::vector<std::string> &arguments) {
        for (const std::string &argument : arguments) add(argument);
        return std::move(list_);
    }

private:
    void add(const std::string &argument) {
        const std::size_t cut = argument.find_last_of("\\/:");
        const std::string folder = cut == std::string::npos ? "" : argument.substr(0, cut + 1);
        const std::string last = argument.substr(folder.size());
        if (hasWildcard(toWide(last))) {
            list_.many = true;
            expandWildcard(argument, folder, last);
            return;
        }
        const DWORD attributes = GetFileAttributesW(widePath(argument).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            list_.many = true;
            guarded(argument, [&] { addFolder(argument, ""); });
            return;
        }
        list_.files.push_back({argument, last});
    }

    // The system's search also matches 8.3 short names ("*.htm" finds "page.html"): only names whose
    // own long form matches are taken.
    void expandWildcard(const std::string &argument, const std::string &folder, const std::string &pattern) {
        const std::wstring wanted = folded(toWide(pattern));
        const std::size_t before = list_.files.size();
        guarded(argument, [&] {
            for (const Entry &entry : listEntries(argument)) {
                if (entry.folder || !matchesWildcard(wanted, folded(entry.name))) continue;
                const std::string name = toUtf8(entry.name);
                list_.files.push_back({folder + name, name});
            }
        });
        if (list_.files.size() == before &&
            (list_.problems.empty() || list_.problems.back().name != argument))
            list_.problems.push_back({argument, err::FileNotFound});
    }

    void addFolder(const std::string &folder, const std::string &relative) {
        for (const Entry &entry : listEntries(joined(folder, "*"))) {
            const std::string name = toUtf8(entry.name);
            if (entry.folder) {
                if (recursive_ && !entry.linked) {
                    const std::string inner = joined(folder, name);
                    guarded(inner, [&] { addFolder(inner, relative + name + "\\"); });
                }
            } else if (hasChosenExtension(entry.name)) {
                list_.files.push_back({joined(folder, name), relative + name});
            }
        }
    }

    bool hasChosenExtension(const std::wstring &name) const {
        const std::wstring upper = folded(name);
        return std::any_of(extensions_.begin(), extensions_.end(), [&](const std::wstring &extension) {
            return upper.size() > extension.size() && upper.ends_with(extension);
        });
    }

    template <class Step> void guarded(const std::string &name, Step step) {
        try {
            step();
        } catch (const AppError &error) {
            list_.problems.push_back({name, error.number});
        }
    }

    std::vector<std::wstring> extensions_;
    bool recursive_;
    InputList list_;
};

} // namespace

InputList collectInputs(const std::vector<std::string> &arguments, const std::vector<std::string> &extensions,
                        bool recursive) {
    return Collector(extensions, recursive).take(arguments);
}
