// The console program's own texts: its help, its version line, the hint after a usage error, and
// the reason it gives when an input or a destination fails. Each ends its lines as the system's
// console tools do (CR LF on Windows, LF elsewhere); converted text keeps its own line ends.
#pragma once

#include <cstdint>
#include <string>

namespace consoleText {

inline const std::string programName = "quillmerec";
// The end of every line the program writes of its own.
extern const std::string lineEnd;

std::string help();
std::string version();
// Two lines: the error, then where to read more.
std::string usageError(const std::string &error);
// "quillmerec: NAME: REASON" and a line end.
std::string failure(const std::string &name, const std::string &reason);
// "quillmerec: TEXT" and a line end: what ends the whole run ("stopped", "out of memory").
std::string notice(const std::string &text);
// A name listed on standard output (--check), on a line of its own.
std::string listed(const std::string &name);

// Why an input or a destination failed, in the words of the window's failed-files list.
std::string reasonFor(int32_t errorNumber);

// The usage error for an option that this system has no use for ("--user-path-add").
std::string notOnThisSystem(const std::string &option);

inline const std::string standardInputName = "(standard input)";
inline const std::string sameDestination = "another input has the same destination";
inline const std::string destinationIsSource = "the destination is the file itself (use --in-place)";
inline const std::string noMatch = "no file matches";
inline const std::string stopped = "stopped";

} // namespace consoleText
