#include "write_probe.h"

#include "handles.h"
#include "own_files.h"
#include "path_text.h"
#include "wide_text.h"

namespace {

ProbeResult resultOf(DWORD code) {
    // Only a refusal says the folder is unusable; a missing folder is judged by other checks.
    return code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT ? ProbeResult::AccessRefused
                                                                      : ProbeResult::OtherFailure;
}

bool alreadyThere(DWORD code) { return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS; }

// CREATE_NEW never touches an existing file. The file made here goes when its handle closes, through
// that handle: a folder that lets the user create files but not delete them still lets the handle
// that created one delete it, so the probe neither stays behind there nor fails to go.
DWORD createAndRemove(const std::string &path) {
    const FileHandle file(CreateFileW(widePath(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid() ? ERROR_SUCCESS : GetLastError();
}

// The folder already holds a "test.txt": probe under a name of the program's own instead, a new one
// at each try.
DWORD probeUnderOwnName(const std::string &folder) {
    for (;;) {
        const DWORD code = createAndRemove(folder + ownTemporaryName(ownFileStem(), ""));
        if (!alreadyThere(code)) return code;
    }
}

} // namespace

ProbeResult probeFolderForWriting(const std::string &folder) {
    const std::string withBackslash = addBackslash(folder);
    DWORD code = createAndRemove(withBackslash + "test.txt");
    if (alreadyThere(code)) code = probeUnderOwnName(withBackslash);
    return code == ERROR_SUCCESS ? ProbeResult::Writable : resultOf(code);
}
