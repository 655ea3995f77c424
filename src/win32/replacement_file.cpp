#include "replacement_file.h"

#include "messages.h"
#include "own_files.h"
#include "path_text.h"
#include "text_files.h"
#include "wide_text.h"
#include "win_error.h"

namespace {

// The destination's folder, where the temporary file must lie for the move to be one step.
std::string folderOf(const std::string &destination) {
    const std::string folder = folderOfPath(destination);
    return folder.empty() ? "." : folder;
}

// Marks the open file for deletion when its last handle closes, or takes the mark off.
bool markForDeletion(HANDLE file, bool deleteIt) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = deleteIt ? TRUE : FALSE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

// A new file beside the destination, under a name no other file has, marked for deletion so that the
// system removes it if the program dies while writing it. A volume that cannot mark it still gets
// the file (the destructor removes it on every other path).
//
// The mark is a call of its own rather than FILE_FLAG_DELETE_ON_CLOSE at creation: a mark given at
// creation cannot be taken off through FILE_DISPOSITION_INFO (it has no effect on such a handle), and
// the class that can (FileDispositionInfoEx) is missing from older Windows, Windows 7 among them.
FileHandle createTemporaryIn(const std::string &folder, std::string &destinationName, std::string &stem,
                             std::string &name, bool &marked) {
    for (;;) {
        stem = ownFileStem();
        name = folder + "\\" + ownTemporaryName(stem, destinationName);
        FileHandle file(CreateFileW(widePath(name).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid()) {
            marked = markForDeletion(file.get(), true);
            return file;
        }
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) continue;
        // A file system that takes shorter names than NTFS (a share, or Wine's host with 255 bytes of
        // UTF-8) gets the program's names without the destination's.
        if (destinationName.empty()) raiseWin32(code);
        destinationName.clear();
    }
}

// Another program holding the file briefly (a virus scanner, an indexer) looks like this; so does a
// ReplaceFile that stopped before anything moved.
bool worthRetrying(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED ||
           code == ERROR_UNABLE_TO_REMOVE_REPLACED || code == ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
           code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

bool nameTaken(DWORD code) { return code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS; }

std::wstring lastPart(const std::wstring &path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool sameName(const std::wstring &one, const std::wstring &other) {
    return CompareStringOrdinal(one.c_str(), static_cast<int>(one.size()), other.c_str(),
                                static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
}

std::wstring foldedCase(std::wstring name) {
    if (!name.empty()) CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

} // namespace

FolderNames::FolderNames(const std::string &folder) {
    WIN32_FIND_DATAW entry{};
    const bool ended = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
    const FindHandle search(FindFirstFileW(widePath(folder + (ended ? "*" : "\\*")).c_str(), &entry));
    if (!search.valid()) return; // nothing seen: every name is looked at when it is used
    do names_.insert(foldedCase(entry.cFileName));
    while (FindNextFileW(search.get(), &entry));
    complete_ = GetLastError() == ERROR_NO_MORE_FILES;
}

bool FolderNames::has(const std::string &name) const { return names_.count(foldedCase(widePath(name))) != 0; }

ReplacementFile::ReplacementFile(const std::string &destination, FileMoves &calls, DestinationSeen seen,
                                 const FolderNames *listing)
    : destination_(destination), calls_(calls), seen_(seen), listing_(listing) {
    namedAfter_ = nameOfPath(destination);
    file_ = createTemporaryIn(folderOf(destination), namedAfter_, stem_, temporary_, marked_);
}

ReplacementFile::~ReplacementFile() {
    file_.close();
    if (!keepTemporary_) calls_.remove(temporary_);
}

void ReplacementFile::write(std::string_view bytes) { writeAll(file_, bytes); }

void ReplacementFile::flushAhead() {
    flushFailed_ = !calls_.flush(file_.get());
    flushFailure_ = flushFailed_ ? GetLastError() : ERROR_SUCCESS;
    flushedAhead_ = true;
}

// The new bytes made durable before they take an existing file's place, here or ahead of time.
void ReplacementFile::flushBeforeReplacing() {
    if (!flushedAhead_) flushAhead();
    if (flushFailed_) raiseWin32(flushFailure_);
}

void ReplacementFile::commit(const FileHandle *source) {
    if ((seen_ == DestinationSeen::Free || calls_.attributes(destination_) == INVALID_FILE_ATTRIBUTES) &&
        renamedToFreeName()) {
        keepTemporary_ = true;
        return;
    }
    const DWORD attributes = calls_.attributes(destination_);
    if (attributes == INVALID_FILE_ATTRIBUTES) raiseLastError(); // neither free nor a file: a folder gone ...
    replaceExisting(attributes, source);
    keepTemporary_ = true;
}

// The rename of the open replacement to a name that no file has; false, with the replacement still
// open and marked, where a file has the name.
bool ReplacementFile::renamedToFreeName() {
    if (marked_ && !markForDeletion(file_.get(), false)) raiseLastError();
    try {
        for (int attempt = 1;; ++attempt) {
            if (calls_.renameOpenFile(file_.get(), destination_)) {
                file_.close();
                return true;
            }
            const DWORD code = GetLastError();
            if (nameTaken(code)) break;
            if (attempt == moveAttempts || !worthRetrying(code)) raiseWin32(code);
            calls_.pause(moveRetryPause);
        }
    } catch (...) {
        if (marked_) markForDeletion(file_.get(), true);
        throw;
    }
    if (marked_) markForDeletion(file_.get(), true);
    return false;
}

// An 8.3 alias of another file reaches that file, under its own long name.
void ReplacementFile::refuseAlias() {
    std::wstring entry;
    if (!calls_.entryName(destination_, entry)) return; // gone meanwhile: the move tells
    if (!sameName(entry, lastPart(fullPath(destination_)))) throw DestinationIsAlias{AppError::of(75)};
}

void ReplacementFile::replaceExisting(DWORD attributes, const FileHandle *source) {
    refuseAlias();
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) raiseError(err::PathFileAccess);
    if (source && fileAt(*source, destination_, calls_) != Sameness::Different)
        raiseError(err::PathFileAccess);
    flushBeforeReplacing();
    if (marked_ && !markForDeletion(file_.get(), false)) raiseLastError();
    const DWORD carried = attributes & carriedAttributes;
    calls_.setAttributes(file_.get(), carried ? carried : FILE_ATTRIBUTE_NORMAL);
    file_.close();

    const std::string backup = freeBackupName();
    for (int attempt = 1;; ++attempt) {
        const DWORD code = replaceOnce(backup);
        if (code == ERROR_SUCCESS) break;
        if (attempt == moveAttempts || !worthRetrying(code)) raiseWin32(code);
        calls_.pause(moveRetryPause);
    }
    // A virus scanner or an indexer may briefly hold the former file under its new name.
    for (int attempt = 1; !calls_.remove(backup); ++attempt) {
        const DWORD code = GetLastError();
        if (attempt == moveAttempts || !worthRetrying(code)) break;
        calls_.pause(moveRetryPause);
    }
}

// A name beside the replacement that no file has. Every name this program makes carries its process id
// and a number it gives once, so a name that a complete listing of the folder lacks is still free:
// only a program of the same id, which is no other running on this machine, makes such names.
std::string ReplacementFile::freeBackupName() {
    const std::string folder = folderOf(destination_) + "\\";
    const auto taken = [&](const std::string &name) {
        return listing_ && listing_->complete() ? listing_->has(filePart(name, pathPart::fileName))
                                                : calls_.attributes(name) != INVALID_FILE_ATTRIBUTES;
    };
    std::string backup = folder + ownBackupName(stem_, namedAfter_, 0);
    for (int n = 1; taken(backup); ++n) backup = folder + ownBackupName(stem_, namedAfter_, n);
    return backup;
}

// One try at putting the replacement in place of the existing destination: ERROR_SUCCESS, or why not.
DWORD ReplacementFile::replaceOnce(const std::string &backup) {
    if (calls_.replace(destination_, temporary_, backup)) return ERROR_SUCCESS;
    const DWORD code = GetLastError();
    switch (code) {
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: return afterPartialReplace(code, backup);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED: return code;
    case ERROR_FILE_NOT_FOUND: // the destination went meanwhile: its name is taken only if still free
        return calls_.moveToFreeName(temporary_, destination_) ? ERROR_SUCCESS : GetLastError();
    default: // a volume without ReplaceFile (or without what it carries over): a plain move
        return calls_.move(temporary_, destination_) ? ERROR_SUCCESS : GetLastError();
    }
}

// After a ReplaceFile that stopped halfway, the only copies of the text may be the replacement and the
// backup: neither is deleted. The move is finished, or the former file put back.
DWORD ReplacementFile::afterPartialReplace(DWORD code, const std::string &backup) {
    // The former file still has its name: nothing moved, and it is tried again as any refusal.
    if (calls_.attributes(destination_) != INVALID_FILE_ATTRIBUTES) return code;
    if (calls_.moveToFreeName(temporary_, destination_)) return ERROR_SUCCESS;
    const bool backedUp = calls_.attributes(backup) != INVALID_FILE_ATTRIBUTES;
    if (backedUp && calls_.moveToFreeName(backup, destination_)) raiseWin32(code);
    keepTemporary_ = true;
    throw AppError{err::PathFileAccess,
                   strandedReplacementText(destination_, temporary_, backedUp ? backup : "")};
}
