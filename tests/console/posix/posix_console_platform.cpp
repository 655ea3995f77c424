#include "console/descriptor_input.h"
#include "console/posix_input_names.h"
#include "console_platform.h"

std::unique_ptr<InputNames> platformInputNames() { return std::make_unique<PosixInputNames>(); }

std::unique_ptr<SpillFiles> platformSpillFiles(const std::string &folder) {
    return std::make_unique<UnlinkedSpillFiles>(folder);
}

const char *const messageLineEnd = "\n";
const char *const nullDeviceName = "/dev/null";
