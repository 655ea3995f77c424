// One record of the failed-files log: an empty line, the date and time, one line per failed input.
#pragma once

#include <string>
#include <vector>

// CR LF, dateTime, then CR LF and each entry in order, then a final CR LF.
std::string errorLogRecord(std::string dateTime, const std::vector<std::string> &entries);
