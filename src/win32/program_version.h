// The running program's own version information, so its name and number are written in one place
// only (the resource script).
#pragma once

#include <string>

// "major.minor.revision" from the running module's fixed file version; "" when it has none.
std::string programVersionText();

// The product name of the running module's version information; "" when it has none.
std::string programProductName();
