// The texts of the program's error messages.
#pragma once

#include <cstdint>
#include <string>

inline const std::string standardClosingLine = "Please inform the author with the error description above.";

std::string standardErrorText(int32_t number, const std::string &description, const std::string &procedureLine,
                              const std::string &closingText = standardClosingLine);
std::string startupErrorText(int32_t number, const std::string &description);
