// The console program's own texts: its help, its version line, the hint after a usage error, and
// the reason it gives when an input or a destination fails.
#pragma once

#include <cstdint>
#include <string>

namespace consoleText {

inline const std::string programName = "quillmerec";

std::string help();
std::string version();
// Two lines: the error, then where to read more.
std::string usageError(const std::string &error);
// "quillmerec: NAME: REASON" and a line end.
std::string failure(const std::string &name, const std::string &reason);

// Why an input or a destination failed, in the words of the window's failed-files list.
std::string reasonFor(int32_t errorNumber);

inline const std::string standardInputName = "(standard input)";
inline const std::string sameDestination = "another input has the same destination";
inline const std::string destinationIsSource = "the destination is the file itself (use --in-place)";
inline const std::string noMatch = "no file matches";
inline const std::string stopped = "stopped";

} // namespace consoleText
