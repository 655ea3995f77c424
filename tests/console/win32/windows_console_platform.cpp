#include "console/handle_input.h"
#include "console/windows_input_names.h"
#include "console_platform.h"

std::unique_ptr<InputNames> platformInputNames() { return std::make_unique<WindowsInputNames>(); }

std::unique_ptr<SpillFiles> platformSpillFiles(const std::string &folder) {
    return std::make_unique<TemporarySpillFiles>(folder.back() == '\\' ? folder : folder + "\\");
}

const char *const messageLineEnd = "\r\n";
const char *const nullDeviceName = "NUL";
