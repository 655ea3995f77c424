// The console program's command line: its options read into plain values, or the usage error that
// the program reports with exit code 2.
#pragma once

#include "converter.h"
#include "input_names.h"

#include <optional>
#include <string>
#include <vector>

enum class OutputKind { StandardOutput, Destination, InPlace, Check };

// For the installer and the uninstaller: a folder put on or taken off the user's PATH (on a system
// that keeps one; user_path_setting.h).
enum class UserPathChange { None, Add, Remove };

struct ConsoleOptions {
    // How every input is converted: tab stops (-t, 8 unless given) or a fixed run (--spaces), all tabs
    // or leading ones (-i), always with line ends kept as they are.
    ConversionMode mode;
    std::string tabStops; // as written after -t, the -t options joined by commas
    int fixedSpaces = 0;  // 1 to 16 with --spaces, else 0
    OutputKind output = OutputKind::StandardOutput;
    std::string destination; // with OutputKind::Destination
    // -o NUL (-o /dev/null on POSIX): converted, checked and reported as usual, written nowhere.
    bool discardOutput = false;
    bool recursive = false;
    std::vector<std::string> extensions; // without dots; "txt" when none is given
    bool quiet = false;
    bool showVersion = false;
    bool showHelp = false;
    std::vector<std::string> inputs; // files, folders and wildcards as given; none: standard input
    UserPathChange userPathChange = UserPathChange::None;
    std::string userPathFolder;
};

struct ParsedCommandLine {
    std::optional<ConsoleOptions> options;
    std::string error; // the reason, when options is empty
};

// The arguments after the program's name, in UTF-8 (on POSIX, a name's bytes as they are), read with
// the platform's rules for names: devices, stray quotes, the name that discards the output.
ParsedCommandLine parseCommandLine(const std::vector<std::string> &arguments, const InputNames &names);
