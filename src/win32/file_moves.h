// The calls by which a replacement is checked and put in place, and files told apart. Whatever puts a
// replacement in place is handed these calls, so that tests can fail them, count them, or give the
// answers that only some volumes give (ReplaceFile stopping halfway, a folder that allows creating but
// not deleting, ids that only the 128-bit form tells apart). Each answers as its Windows call does:
// false, or INVALID_FILE_ATTRIBUTES, with the reason in GetLastError.
//
// A folder run calls flush() from several threads at once (it flushes its replacements on threads of
// their own, each reading the reason of a failure from its own GetLastError), and puts its files in
// place from another thread while the run's own thread may remove() a replacement it drops; the other
// calls come from one thread at a time.
#pragma once

#include "file_system.h"
#include "handles.h"

#include <string>

// FILE_ID_INFO, the answer of GetFileInformationByHandleEx(FileIdInfo) from Windows 8 on.
struct FileId128 {
    ULONGLONG volumeSerialNumber = 0;
    BYTE identifier[16] = {};
};

class FileMoves {
public:
    virtual ~FileMoves() = default;

    virtual bool flush(HANDLE file) = 0; // FlushFileBuffers; from any thread
    // ReplaceFileW, the replaced file kept under the backup name (deleted by the caller after success).
    virtual bool replace(const std::string &destination, const std::string &replacement,
                         const std::string &backup) = 0;
    virtual bool move(const std::string &from, const std::string &to) = 0; // MoveFileExW, replacing a file
    // MoveFileExW that never replaces a file: fails with ERROR_ALREADY_EXISTS where one has the name.
    virtual bool moveToFreeName(const std::string &from, const std::string &to) = 0;
    // SetFileInformationByHandle(FileRenameInfo) of a file opened with DELETE access, never replacing a
    // file: a folder that lets the user create files but not delete them still lets the handle that
    // created a file rename it.
    virtual bool renameOpenFile(HANDLE file, const std::string &to) = 0;
    virtual bool remove(const std::string &path) = 0;      // DeleteFileW
    virtual DWORD attributes(const std::string &path) = 0; // GetFileAttributesW
    // SetFileInformationByHandle(FileBasicInfo) of a file opened for writing, its times left as they are.
    virtual bool setAttributes(HANDLE file, DWORD attributes) = 0;
    // The long name of the entry that the path reaches (FindFirstFileW's cFileName), which differs
    // from the path's last part where that part is another file's 8.3 alias.
    virtual bool entryName(const std::string &path, std::wstring &name) = 0;
    // The 64-bit index alone (NtQueryInformationFile(FileInternalInformation)): one file has one index
    // whatever handle asks, and no volume query makes it slow.
    virtual bool fileIndex(HANDLE file, ULONGLONG &index) = 0;
    virtual bool fileId(HANDLE file, FileId128 &id) = 0;                             // FileIdInfo
    virtual bool fileInformation(HANDLE file, BY_HANDLE_FILE_INFORMATION &info) = 0; // volume serial, index
    virtual bool finalPath(HANDLE file, std::wstring &path) = 0; // GetFinalPathNameByHandleW
    virtual void pause(DWORD milliseconds) = 0;                  // Sleep
};

// Windows' own calls.
class SystemFileMoves : public FileMoves {
public:
    bool flush(HANDLE file) override;
    bool replace(const std::string &destination, const std::string &replacement,
                 const std::string &backup) override;
    bool move(const std::string &from, const std::string &to) override;
    bool moveToFreeName(const std::string &from, const std::string &to) override;
    bool renameOpenFile(HANDLE file, const std::string &to) override;
    bool remove(const std::string &path) override;
    DWORD attributes(const std::string &path) override;
    bool setAttributes(HANDLE file, DWORD attributes) override;
    bool entryName(const std::string &path, std::wstring &name) override;
    bool fileIndex(HANDLE file, ULONGLONG &index) override;
    bool fileId(HANDLE file, FileId128 &id) override;
    bool fileInformation(HANDLE file, BY_HANDLE_FILE_INFORMATION &info) override;
    bool finalPath(HANDLE file, std::wstring &path) override;
    void pause(DWORD milliseconds) override;
};

// Whether two open files are one file on disk: different where their 64-bit indexes differ, else by
// the 128-bit id where both can be read, else by the volume serial number and 64-bit index (Windows 7,
// which has no 128-bit id), else by their final paths. An identity that cannot be read never makes two
// files different: Unknown, where neither the ids nor the final paths can be read.
Sameness sameness(HANDLE first, HANDLE second, FileMoves &calls);

// Whether two paths name one file or folder on disk, however each is spelled (8.3 names, trailing
// dots or blanks, case, doubled or forward slashes, "." and ".." segments, another drive mapped to
// the same folder). Different when either cannot be opened: a name that names nothing is no file.
Sameness sameFileOnDisk(const std::string &first, const std::string &second, FileMoves &calls);

// Whether the open file is the one this path names (Different when the path names no file).
Sameness fileAt(const FileHandle &file, const std::string &path, FileMoves &calls);
