#include "locale_text.h"
#include "wide_text.h"
#include "win.h"

std::string lowerCase(std::string text) {
    if (text.empty()) return text;
    std::wstring wide = toWide(text);
    CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return toUtf8(wide);
}

std::string userShortDate() {
    wchar_t text[128] = {};
    const int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128);
    return length > 0 ? toUtf8(std::wstring_view(text, static_cast<std::size_t>(length - 1))) : std::string();
}

std::string userTimeOfDay() {
    wchar_t text[128] = {};
    const int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 128);
    return length > 0 ? toUtf8(std::wstring_view(text, static_cast<std::size_t>(length - 1))) : std::string();
}
