// Destinations replaced whole or not at all, and what a folder run knows of its destination folder.
#pragma once

#include "app_error.h"
#include "file_moves.h"
#include "handles.h"
#include "own_files.h"

#include <string>
#include <string_view>
#include <unordered_set>

// How often, and how far apart, a move that another program stands in the way of is tried.
inline constexpr int moveAttempts = 10;
inline constexpr DWORD moveRetryPause = 100;

// The attributes that a replacement takes over from the file it replaces. Not OFFLINE (applications
// should not change it arbitrarily), nor PINNED, UNPINNED or TEMPORARY, nor READONLY (a read-only
// destination is refused).
inline constexpr DWORD carriedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                           FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The names in a folder as they were when it was listed, told apart without regard to case (hidden
// and system files and subfolders included). Only a hint of what is there by the time a name is used.
class FolderNames : public FolderListing {
public:
    explicit FolderNames(const std::string &folder);
    bool has(const std::string &name) const override;
    // Whether the listing went to its end: a failed one holds only the names seen until then.
    bool complete() const { return complete_; }

private:
    std::unordered_set<std::wstring> names_;
    bool complete_ = false;
};

// A new content for a destination: written to a temporary file in the destination's own folder and
// put in place in one step by commit(). Left uncommitted, the temporary file is removed and the
// former destination stays as it was.
//
// The temporary file never outlives the program: it is marked for deletion while it is written, so
// the system removes it when the program ends in any way; the mark is taken off just before it is put
// in place, and set again through the same handle should that fail.
//
// A new destination is the temporary file renamed through its own handle, never replacing a file: in
// a folder where the user may create files but not delete or rename them, the handle that created a
// file may still rename it. It needs no flush: a power cut leaves no file or an incomplete new one,
// while the source is intact and a later run makes it again.
//
// An existing destination is replaced by ReplaceFile, with a backup name in the same folder that is
// deleted after success, only once the new bytes are flushed (FlushFileBuffers, the only call that
// makes them durable). The replacement keeps the destination's HIDDEN, SYSTEM, ARCHIVE and
// NOT_CONTENT_INDEXED attributes. Where ReplaceFile fails otherwise than by another program standing in
// the way (a volume that does not support it), a plain move replaces the file. Where it stops halfway
// (the replaced file moved away, the replacement not in its place), the move is finished or the
// former file put back; where neither can be done, both files stay and the error says where the text
// is. A read-only destination is refused (75) and left as it is. A move that a virus scanner or an
// indexer briefly stands in the way of is tried again, moveAttempts times in all; so is deleting the
// backup.
//
// A name that reaches an existing file under another long name (its 8.3 alias) does not name that
// file: commit() raises DestinationIsAlias and the file stays as it is. commit() given the open source
// refuses (75) an existing destination that is that source, or cannot be told apart from it, however
// it is reached (another spelling of its path, a hard link, a symbolic link): the source stays as it
// is.
class ReplacementFile {
public:
    // A folder run hands in its listing of the destination's folder, from which the backup name is
    // chosen without asking the folder again.
    ReplacementFile(const std::string &destination, FileMoves &calls,
                    DestinationSeen seen = DestinationSeen::Unknown, const FolderNames *listing = nullptr);
    ReplacementFile(const ReplacementFile &) = delete;
    ReplacementFile &operator=(const ReplacementFile &) = delete;
    ~ReplacementFile();

    void write(std::string_view bytes);
    // Flushes what is written ahead of commit(), which then flushes no more. It may run on another
    // thread while nothing else uses the replacement; a failure is kept for commit() to raise where
    // the replacement is to replace an existing file.
    void flushAhead();
    void commit(const FileHandle *source = nullptr);
    const std::string &temporaryPath() const { return temporary_; }

private:
    bool renamedToFreeName();
    void replaceExisting(DWORD attributes, const FileHandle *source);
    void refuseAlias();
    DWORD replaceOnce(const std::string &backup);
    DWORD afterPartialReplace(DWORD code, const std::string &backup);
    void flushBeforeReplacing();
    std::string freeBackupName();

    std::string destination_;
    FileMoves &calls_;
    std::string stem_;       // of the program's own names (own_files.h)
    std::string namedAfter_; // the destination's name in them, or "" where it would not fit
    std::string temporary_;
    FileHandle file_;
    DestinationSeen seen_;
    const FolderNames *listing_;
    bool keepTemporary_ = false; // committed, or the only copy of the new text
    bool marked_ = false;        // for deletion, while it is written
    bool flushedAhead_ = false, flushFailed_ = false;
    DWORD flushFailure_ = ERROR_SUCCESS;
};
