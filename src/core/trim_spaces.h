// Removing the spaces around a text, as the program trims paths and stored texts (spaces only:
// a tab is part of the text).
#pragma once

#include <string>
#include <string_view>

std::string trimSpaces(std::string_view text);
