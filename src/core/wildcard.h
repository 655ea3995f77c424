// Matching a name against a wildcard pattern as Windows programs expand their arguments: '*' stands
// for any run of characters (none included), '?' for exactly one. Case is left to the caller, which
// folds both texts the system's way first.
#pragma once

#include <string_view>

bool hasWildcard(std::wstring_view text);

// Linear in practice: after a '*' a mismatch goes back only to that star, never further.
bool matchesWildcard(std::wstring_view pattern, std::wstring_view name);
