// The text forms in which the window's settings are stored, and how a stored text is read back.
// A value the store could not read arrives as "Error", which none of the readers accepts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "True" or "False" in any letter case, or a decimal number (0 no, any other yes).
std::optional<bool> yesNoFromText(std::string_view text);

// "True" or "False", as yes/no values are written.
std::string yesNoText(bool yes);

// A window edge ("Top", "Left") in twips: any number, rounded halves to even, that fits 32 bits.
std::optional<int32_t> positionFromText(std::string_view text);

// "LastExtension": a whole number that is an entry of a list of entryCount entries.
std::optional<int32_t> extensionIndexFromText(std::string_view text, int32_t entryCount);

// The number box holds at most two characters: what it keeps of any text put into it.
std::string cutToTwo(std::string_view text);

// What a registry read makes of its buffer of 255 bytes (filled with spaces, then the value's text
// and its NUL): blanks trimmed at both ends, then the last character, the NUL, dropped. Leading
// spaces of the stored text are lost, trailing ones kept.
std::string trimRegistryBuffer(std::string_view buffer);
