// Today's date and the time of day as the user's regional settings write them.
#pragma once

#include <string>

std::string userShortDate();
std::string userTimeOfDay();
