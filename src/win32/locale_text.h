// Text as the user's locale writes it: letter case as the system folds it (as the chosen paths are
// stored), today's date and the time of day (as the failed-files log records them).
#pragma once

#include <string>

std::string lowerCase(std::string text);

std::string userShortDate();
std::string userTimeOfDay();
