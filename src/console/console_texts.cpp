#include "console_texts.h"

#include "app_error.h"
#include "quillmere_version.h"

namespace consoleText {

namespace {

// The one place where the program's texts follow the system it is built for: its line end, and the
// help's words on names, interrupts and the user's PATH. Everything else reads alike on every system.
#ifdef _WIN32
const char *const systemLineEnd = "\r\n";
const char *const outputTargets = "                       or a wildcard (the inputs' names kept)\n";
const char *const userPathOptions =
    "\n"
    "      --user-path-add=DIR     put DIR at the end of your own PATH (as the "
    "installer does)\n"
    "      --user-path-remove=DIR  take DIR off your own PATH\n";
const char *const namesAndDevices =
    "Wildcards (* and ?) in the last part of a name are expanded by the program; *.* takes every\n"
    "file, also one without an extension, as cmd does. Names such as aux.txt or con.txt are files;\n"
    "a device given as a file (CON, COM1) is refused, and -o NUL discards the output.\n";
const char *const interrupts =
    "Ctrl+C or Ctrl+Break stops a run after the file in hand, which is put in place or "
    "left as it\n"
    "was; typed input ended by Ctrl+C is not converted.\n";
const char *const stoppedBy = "130 when stopped by Ctrl+C.\n";
#else
const char *const systemLineEnd = "\n";
const char *const outputTargets = "                       (the inputs' names kept)\n";
const char *const userPathOptions = "";
const char *const namesAndDevices =
    "Every name is a file or a folder, its bytes as they are: the shell expands wildcards, and a\n"
    "name that still holds * or ? is the file of that name. A folder's names that start with a dot\n"
    "are left out, -r follows no symbolic link to a folder, and -o /dev/null discards the output.\n";
const char *const interrupts =
    "Ctrl+C (SIGINT) or SIGTERM stops a run after the file in hand, which is put in "
    "place or left\n"
    "as it was; standard input cut short by them is not converted.\n";
const char *const stoppedBy = "130 when stopped by Ctrl+C or SIGTERM.\n";
#endif

// Texts are written here with "\n" and go out with the system's line end.
std::string withLineEnds(const std::string &text) {
    if (lineEnd == "\n") return text;
    std::string out;
    out.reserve(text.size() + text.size() / 40);
    for (char c : text) {
        if (c == '\n')
            out += lineEnd;
        else
            out += c;
    }
    return out;
}

} // namespace

const std::string lineEnd = systemLineEnd;

std::string help() {
    return withLineEnds(
        std::string(
            "Usage: quillmerec [OPTION]... [FILE|FOLDER]...\n"
            "Replace the tabs of text files with spaces. With no FILE, or when FILE is -, read "
            "standard\n"
            "input and write standard output, byte for byte.\n"
            "\n"
            "Every input is read whole first; one that is missing, held by another program or not "
            "plain\n"
            "text is named on standard error and left out, and the rest are converted. A source is "
            "never\n"
            "changed unless --in-place is given, and a destination is replaced whole or not at all.\n"
            "Text keeps its encoding and byte-order mark; in UTF-8 and UTF-16 text the tab stops "
            "count the\n"
            "columns an editor shows (East Asian wide characters two, combining marks none).\n"
            "\n"
            "  -t, --tabs=N       tab stops every N columns, not 8\n"
            "  -t, --tabs=LIST    tab stops at the listed columns (commas or blanks between them);\n"
            "                       after the last one, one space per tab, or every N columns with\n"
            "                       a last entry /N, or every N columns from the last stop with +N\n"
            "  -i, --initial      only the tabs among a line's leading blanks\n"
            "      --spaces=N     every tab becomes N spaces (1 to 16), wherever it stands\n"
            "  -o, --output=PATH  write into PATH: a file, or a folder for several inputs, a folder\n") +
        outputTargets +
        "      --in-place     replace each input with its conversion (flushed, then in one step)\n"
        "  -r, --recursive    take the subfolders of a folder too, mirrored under the output\n"
        "      --ext=EXT      the files of a folder to take, by extension (repeatable; default txt)\n"
        "      --check        change nothing; list the files that a conversion would change and\n"
        "                       exit with 1 when there are any\n"
        "  -q, --quiet        no progress line\n"
        "      --help         show this help and exit\n"
        "      --version      show the version and exit\n" +
        userPathOptions + "\n" + namesAndDevices +
        "A file with a Ctrl+Z byte (0x1A) before its end is not plain text: it is named and left as\n"
        "it is (expand would convert it).\n"
        "\n"
        "Where GNU expand has an option, quillmerec converts as expand does, with two differences:\n"
        "  - a lone CR ends a line, as it does in Quillmere's window (expand counts it as a column);\n"
        "  - a backspace is a column like any other character (expand steps back a column).\n"
        "Line ends and every byte other than a tab stay as they are; no line end is added.\n"
        "\n" +
        interrupts +
        "\n"
        "Exit status: 0 when all is done; 1 when an input failed, --check found tabs or standard output\n"
        "was closed; 2 for a usage error; " +
        stoppedBy);
}

std::string version() { return "quillmerec (Quillmere) " QM_VERSION_TEXT + lineEnd; }

std::string usageError(const std::string &error) {
    return programName + ": " + error + lineEnd + "Try 'quillmerec --help' for more information." + lineEnd;
}

std::string failure(const std::string &name, const std::string &reason) {
    return programName + ": " + name + ": " + reason + lineEnd;
}

std::string notice(const std::string &text) { return programName + ": " + text + lineEnd; }

std::string listed(const std::string &name) { return name + lineEnd; }

std::string notOnThisSystem(const std::string &option) {
    return usageError("option '" + option + "' is not supported on this system");
}

std::string reasonFor(int32_t errorNumber) {
    switch (errorNumber) {
    case err::BadFileName: return "bad file name";
    case err::FileNotFound: return "not found";
    case err::InputPastEnd: return "not plain text";
    case err::PermissionDenied: return "held by another program";
    case err::PathFileAccess: return "access denied";
    case err::PathNotFound: return "folder not found";
    case err::DiskFull: return "disk full";
    case err::OutOfMemory: return "out of memory";
    default: return standardDescription(errorNumber);
    }
}

} // namespace consoleText
