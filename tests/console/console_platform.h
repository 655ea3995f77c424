// The platform's own pieces for a console run in a test (Windows' under Wine, POSIX's natively), and
// what a test expects of the platform, written out by hand.
#pragma once

#include "input_names.h"
#include "standard_input.h"

#include <memory>
#include <string>

std::unique_ptr<InputNames> platformInputNames();
// Spill files in a test's folder.
std::unique_ptr<SpillFiles> platformSpillFiles(const std::string &folder);

// The end of the program's own lines, and the name that discards its output.
extern const char *const messageLineEnd;
extern const char *const nullDeviceName;
