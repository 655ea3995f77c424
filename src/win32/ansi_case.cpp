#include "ansi_case.h"
#include "win.h"

std::string lowerCase(std::string text) {
    if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}
