// Whether a folder can take a new file: a probe file is created there with access to delete it and
// goes when it is closed. A file of the probe's name that is already there is never opened, changed or
// removed.
#pragma once

#include <string>

enum class ProbeResult {
    Writable,
    AccessRefused, // the platform refused access to the path (error 75)
    OtherFailure,  // no such folder, a bad name ...
};

ProbeResult probeFolderForWriting(const std::string &folder);
