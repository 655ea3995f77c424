// Letter case of text in the system's ANSI code page, as the chosen paths are stored.
#pragma once

#include <string>

std::string lowerCase(std::string text);
