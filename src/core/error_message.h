// The texts of the error message every handler shows, of the start routine's shorter form, and of a
// record of the failed-files log. Lines are joined by CR LF, as the message box and the log show them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace closing {
inline constexpr std::string_view standard = "Please inform the author with the error description above.";
inline constexpr std::string_view reinstall = "Re-install the program to fix this.";
inline constexpr std::string_view reinstallOrRuntime =
    "Re-install the program to fix this, or get the latest vbruntimes at Hollowcrest.";
inline constexpr std::string_view noFolderBrowser =
    "You need Internet Explorer 4 or higher installed.\r\n\r\nQuiting now...";
} // namespace closing

// " 53" for a number of zero or more, "-5" for a negative one.
std::string errorNumberText(int32_t number);

// "An Error was generated:", an empty line, "Description:", the error line, the procedure line,
// an empty line and the closing text.
std::string standardErrorText(int32_t number, std::string_view description, std::string_view procedureLine,
                              std::string_view closingText = closing::standard);

// Closing texts of the folder pickers, chosen by the error number.
std::string_view browseDirClosing(int32_t number);
std::string_view browseDir2SaveClosing(int32_t number);

// The start routine's form: no procedure line, its own closing for 339 and 50003.
std::string startupErrorText(int32_t number, std::string_view description);

std::string errorLogRecord(std::string dateTime, const std::vector<std::string> &entries);
