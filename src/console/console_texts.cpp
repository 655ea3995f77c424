#include "console_texts.h"

#include "app_error.h"
#include "quillmere_version.h"

namespace consoleText {

std::string help() {
    return "Usage: quillmerec [OPTION]... [FILE|FOLDER]...\r\n"
           "Replace the tabs of text files with spaces. With no FILE, or when FILE is -, read standard\r\n"
           "input and write standard output, byte for byte.\r\n"
           "\r\n"
           "Every input is read whole first; one that is missing, held by another program or not plain\r\n"
           "text is named on standard error and left out, and the rest are converted. A source is never\r\n"
           "changed unless --in-place is given, and a destination is replaced whole or not at all.\r\n"
           "Text keeps its encoding and byte-order mark; in UTF-8 and UTF-16 text the tab stops count the\r\n"
           "columns an editor shows (East Asian wide characters two, combining marks none).\r\n"
           "\r\n"
           "  -t, --tabs=N       tab stops every N columns, not 8\r\n"
           "  -t, --tabs=LIST    tab stops at the listed columns (commas or blanks between them);\r\n"
           "                       after the last one, one space per tab, or every N columns with\r\n"
           "                       a last entry /N, or every N columns from the last stop with +N\r\n"
           "  -i, --initial      only the tabs among a line's leading blanks\r\n"
           "      --spaces=N     every tab becomes N spaces (1 to 16), wherever it stands\r\n"
           "  -o, --output=PATH  write into PATH: a file, or a folder for several inputs, a folder\r\n"
           "                       or a wildcard (the inputs' names kept)\r\n"
           "      --in-place     replace each input with its conversion (flushed, then in one step)\r\n"
           "  -r, --recursive    take the subfolders of a folder too, mirrored under the output\r\n"
           "      --ext=EXT      the files of a folder to take, by extension (repeatable; default txt)\r\n"
           "      --check        change nothing; list the files that a conversion would change and\r\n"
           "                       exit with 1 when there are any\r\n"
           "  -q, --quiet        no progress line\r\n"
           "      --help         show this help and exit\r\n"
           "      --version      show the version and exit\r\n"
           "\r\n"
           "      --user-path-add=DIR     put DIR at the end of your own PATH (as the installer does)\r\n"
           "      --user-path-remove=DIR  take DIR off your own PATH\r\n"
           "\r\n"
           "Wildcards (* and ?) in the last part of a name are expanded by the program; *.* takes every\r\n"
           "file, also one without an extension, as cmd does. Names such as aux.txt or con.txt are files;\r\n"
           "a device given as a file (CON, COM1) is refused, and -o NUL discards the output.\r\n"
           "A file with a Ctrl+Z byte (0x1A) before its end is not plain text: it is named and left as\r\n"
           "it is (expand would convert it).\r\n"
           "\r\n"
           "Where GNU expand has an option, quillmerec converts as expand does, with two differences:\r\n"
           "  - a lone CR ends a line, as it does in Quillmere's window (expand counts it as a column);\r\n"
           "  - a backspace is a column like any other character (expand steps back a column).\r\n"
           "Line ends and every byte other than a tab stay as they are; no line end is added.\r\n"
           "\r\n"
           "Ctrl+C or Ctrl+Break stops a run after the file in hand, which is put in place or left as it\r\n"
           "was; typed input ended by Ctrl+C is not converted.\r\n"
           "\r\n"
           "Exit status: 0 when all is done; 1 when an input failed, --check found tabs or standard "
           "output\r\n"
           "was closed; 2 for a usage error; 130 when stopped by Ctrl+C.\r\n";
}

std::string version() { return "quillmerec (Quillmere) " QM_VERSION_TEXT "\r\n"; }

std::string usageError(const std::string &error) {
    return programName + ": " + error + "\r\nTry 'quillmerec --help' for more information.\r\n";
}

std::string failure(const std::string &name, const std::string &reason) {
    return programName + ": " + name + ": " + reason + "\r\n";
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
