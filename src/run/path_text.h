// Taking paths apart as text: extension, name, file name and folder; the trailing backslash.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Part 0 the extension, 1 the name without extension, 2 the file name, 3 the folder with its
// backslash; "" for any other part. Parts 1 to 3 of an empty path fail with error 9.
std::string filePart(std::string_view path, int32_t part);

std::string addBackslash(std::string_view path);
