#include "display_width.h"

#include <algorithm>

unsigned displayWidth(char32_t codePoint) {
    using displaywidth::ranges;
    // Latin, Greek and Cyrillic letters and most punctuation come before the first run.
    if (codePoint < ranges[0].first) return 1;
    const auto *end = ranges + displaywidth::rangeCount;
    const auto *range =
        std::upper_bound(ranges, end, static_cast<std::uint32_t>(codePoint),
                         [](std::uint32_t cp, const displaywidth::WidthRange &r) { return cp < r.first; });
    if (range == ranges) return 1;
    --range;
    return codePoint <= range->last ? range->width : 1;
}

TwoByteWidths::TwoByteWidths() {
    for (char32_t cp = 0x80; cp < 0x800; ++cp)
        if (displayWidth(cp) == 0) zero_[cp / 32] |= std::uint32_t{1} << (cp % 32);
}

const TwoByteWidths &twoByteWidths() {
    static const TwoByteWidths widths;
    return widths;
}
