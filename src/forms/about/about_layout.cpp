#include "about/about_layout.h"

namespace {

using K = ControlKind;
using namespace layout;

constexpr ControlRow aboutTable[] = {
    // name, kind, caption, left, top, width, height, container, tab, tooltip, flags, max length
    {"lblprogtitle", K::Label, "", 360, 195, 4080, 405, "", -1, nullptr, 0, 0},
    {"lblversion", K::Label, "", 360, 675, 4080, 285, "", -1, nullptr, 0, 0},
    {"lblcopyright", K::Label, "", 360, 1140, 4080, 225, "", -1, nullptr, 0, 0},
    {"lblcopyright2", K::Label, "Written by the Hollowcrest developers", 360, 1395, 4080, 225, "", -1,
     nullptr, 0, 0},
    {"lbltext3", K::Label, "Play and enjoy!", 360, 1800, 4080, 225, "", -1, nullptr, 0, 0},
    {"lbltext4", K::Label, "For updates and other freeware,", 360, 2205, 4080, 225, "", -1, nullptr, 0, 0},
    {"lbltext5", K::Label, "Visit my homepage at", 360, 2430, 4080, 225, "", -1, nullptr, 0, 0},
    {"lblurl", K::Label, "", 360, 2655, 4080, 225, "", -1, nullptr, 0, 0},
    {"cmdok", K::Button, "&Ok", 3120, 3045, 1320, 375, "", 0, nullptr, GroupStart | Cancel, 0},
};

constexpr SeparatorRow separators[] = {
    {"Line1", 240, 615, 4320},  {"Line2", 240, 1035, 4320}, {"Line3", 240, 1695, 4320},
    {"Line4", 240, 2100, 4320}, {"Line5", 240, 2940, 4320},
};

} // namespace

std::span<const ControlRow> aboutLayout() { return aboutTable; }

std::span<const SeparatorRow> aboutSeparators() { return separators; }
