#include "failed/frm_error_layout.h"

namespace {

using K = ControlKind;

constexpr ControlRow frmErrorTable[] = {
    // name, kind, caption, left, top, width, height, container, tab, tooltip, flags, max length
    {"Command1", K::Button, "&Proceed", 3375, 3150, 2295, 405, "", 0, nullptr, layout::GroupStart, 0},
    {"List2", K::ListBox, "", 825, 495, 4845, 1425, "", 1, nullptr, 0, 0},
    {"cmdSave", K::Button, "&Save this info", 825, 3150, 2295, 405, "", 2, nullptr, 0, 0},
    {"Label1", K::Label, "These files could not be handled :", 825, 210, 2400, 195, "", -1, nullptr, 0, 0},
    {"Image1", K::Picture, "", 195, 870, 480, 480, "", -1, nullptr, 0, 0},
    {"Label2", K::Label,
     "Quillmere does not handle files in use (by the system or by another program) and files that are not "
     "saved as plain text. Try to isolate these files (copy them to another location), save them as plain "
     ".TXT in the ANSI Character Set, and try again. ",
     825, 2130, 4830, 945, "", -1, nullptr, 0, 0},
};

constexpr ControlRow frmErrorClipboardTable[] = {
    {"Command1", K::Button, "&Proceed", 1845, 1200, 2295, 405, "", 0, nullptr, layout::GroupStart, 0},
    {"Label1", K::Label, "The data on the Clipboard could not be handled.", 825, 390, 4830, 255, "", -1,
     nullptr, 0, 0},
    {"Image1", K::Picture, "", 195, 450, 480, 480, "", -1, nullptr, 0, 0},
    {"Label2", K::Label,
     "Save the Clipboard text as .TXT file in the ANSI Character Set, and try to convert it again.", 840, 600,
     4530, 540, "", -1, nullptr, 0, 0},
};

} // namespace

std::span<const ControlRow> frmErrorLayout() { return frmErrorTable; }
std::span<const ControlRow> frmErrorClipboardLayout() { return frmErrorClipboardTable; }
