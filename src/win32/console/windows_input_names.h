// The names a user gives quillmerec.exe as Windows reads them: a wildcard in an argument's last part
// expanded by the program itself (the shell leaves it), *.* taking every file as cmd does, a file given
// by its 8.3 short name taken by its long name, System32 reached through Sysnative under WOW64, device
// names (CON, aux.txt) told from files, and folders searched with FindFirstFileW.
#pragma once

#include "input_names.h"
#include "win.h"

#include <string>

// The system's folder search, a call at a time: a test gives its own to return what only Windows
// does (reparse tags of cloud files, a search that fails halfway through a folder).
class FolderSearch {
public:
    virtual ~FolderSearch() = default;
    // FindFirstFileW and FindNextFileW: INVALID_HANDLE_VALUE or false with the last error set.
    virtual HANDLE first(const std::wstring &search, WIN32_FIND_DATAW &found);
    virtual bool next(HANDLE search, WIN32_FIND_DATAW &found);
    virtual void close(HANDLE search);
};

// Hidden and system files and folders are left out of folders and wildcards, as are linked folders
// (junctions and symbolic links, by their reparse tags) when descending; folders with other reparse
// points (cloud files kept online) are ordinary folders. Names made from a folder or a wildcard are
// written in Windows' form (backslashes), also when the argument had forward slashes; a folder's
// entries come in the order of their names, without regard to case.
class WindowsInputNames : public InputNames {
public:
    WindowsInputNames();
    explicit WindowsInputNames(FolderSearch &search) : search_(search) {}
    WindowsInputNames(const WindowsInputNames &) = delete;
    WindowsInputNames &operator=(const WindowsInputNames &) = delete;

    bool hasStrayQuote(const std::string &argument) const override;
    bool isNullDevice(const std::string &name) const override;
    bool isBareDevice(const std::string &name) const override;
    std::string asFileName(const std::string &name) const override;

    bool isSeparator(char c) const override { return c == '\\' || c == '/'; }
    std::string joined(const std::string &folder, const std::string &name) const override;
    bool hasExtension(const std::string &name, const std::string &extension) const override;

    NamedInput named(const std::string &argument) override;
    std::vector<FolderEntry> entries(const std::string &folder) override;

private:
    FolderSearch systemSearch_;
    FolderSearch &search_;
};

// A 32-bit program under WOW64 that opens %windir%\System32 is sent to SysWOW64 without a word: a
// path there is taken through %windir%\Sysnative, the name that reaches the real folder. Other paths,
// and every path when not under WOW64, come back as they are.
std::string nativeSystemPath(const std::string &path, bool underWow64);
