// Destinations replaced whole or not at all on POSIX.
//
// The new text is written to a file made beside the destination under one of the program's own names
// ("~qm<pid>-<n>.<name>.tmp", own_file_names.h), created with O_CREAT | O_EXCL so that it is never a file
// that was there, and put in place by rename(2), which replaces the destination in one step: there is
// no moment without a file of either text under its name, and no backup is made. Left uncommitted, the
// temporary file is removed; a program killed meanwhile leaves it for the next run's recoverLeftovers,
// which removes it once no process of its id runs.
//
// An existing destination is replaced only once the new bytes are durable (fsync, here or ahead), and
// its folder is flushed after the rename. The replacement takes over the destination's permission bits
// and, where the system allows it, its owner and group (not its ACLs or extended attributes); until
// then only its owner may read it, so the text of a private file is never open to others. A new
// destination gets the bits that any new file gets (0666 less the umask).
// A failure of the folder's flush is passed over: the text is durable in the file, and a power cut could
// only bring back the former file whole, never a mix of the two.
//
// A new destination is renamed to its name only where no file has it (renameat2's RENAME_NOREPLACE; a
// file system without it is looked at first). It is not flushed: a power cut leaves no file or an
// incomplete new one, while the source is intact and a later run makes it again.
//
// A destination with other hard links is replaced under its own name alone: the others keep the former
// text.
//
// A destination that is a symbolic link is converted where the link leads: the replacement is made in
// the target's folder and renamed onto the target, and the link stays as it was. A destination that is
// no regular file (a folder, a device, a pipe), or that its user may not write (that this user may not
// write, or whose permission bits let no one write), is refused (75) and left as it is. commit() given
// the open source refuses (75) an existing destination that is that source, however it is reached
// (another spelling of its path, a hard link, a symbolic link: one device and inode), or cannot be told
// apart from it; the source stays as it is.
#pragma once

#include "file_descriptor.h"
#include "file_system.h"
#include "posix_calls.h"

#include <string>
#include <string_view>

class PosixReplacement : public Replacement {
public:
    PosixReplacement(const std::string &destination, PosixCalls &calls,
                     DestinationSeen seen = DestinationSeen::Unknown);
    PosixReplacement(const PosixReplacement &) = delete;
    PosixReplacement &operator=(const PosixReplacement &) = delete;
    ~PosixReplacement() override;

    void write(std::string_view bytes) override;
    void flushAhead() override;
    void commit(SourceFile *source = nullptr) override;

    const std::string &temporaryPath() const { return temporary_; }
    // Where the new text goes: the destination, or the file that its symbolic links lead to.
    const std::string &target() const { return target_; }

private:
    bool renamedToFreeName();
    void replaceExisting(SourceFile *source);
    void flushBeforeReplacing();
    void takeOverOwnerAndMode(const struct stat &existing);
    void closeFile();
    void flushFolder();

    std::string target_;
    PosixCalls &calls_;
    DestinationSeen seen_;
    std::string temporary_;
    FileDescriptor file_;
    bool committed_ = false;
    bool flushedAhead_ = false;
    int flushFailure_ = 0; // errno of the flush ahead; 0 where it succeeded
};
