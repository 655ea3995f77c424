#include "main/main_layout.h"

namespace {

using K = ControlKind;
using namespace layout;

constexpr ControlRow mainTable[] = {
    // name, kind, caption, left, top, width, height, container, tab, tooltip, flags, max length
    {"cmdReplaceTABS", K::Button, "Replace tabs with spaces !", 3165, 7920, 2970, 405, "", 0, nullptr,
     GroupStart, 0},
    {"cmdAbout", K::Button, "About", 225, 7920, 1350, 405, "", 1, nullptr, 0, 0},
    {"cmdExit", K::Button, "Exit", 1635, 7920, 1350, 405, "", 2, nullptr, Cancel, 0},
    {"optClipboard", K::OptionButton, "Clipboard", 480, 150, 1185, 300, "", 3, nullptr, GroupStart | Checked,
     0},
    {"FrameClipboard", K::Frame, "     Clipboard", 195, 180, 5940, 675, "", 4, nullptr, 0, 0},
    {"optSingle", K::OptionButton, "Single file", 480, 915, 1185, 300, "", 7, nullptr, 0, 0},
    {"FrameSingle", K::Frame, "     Single file", 195, 945, 5940, 1830, "", 8, nullptr, 0, 0},
    {"optMultiple", K::OptionButton, "Multiple files", 480, 2850, 1380, 300, "", 16, nullptr, 0, 0},
    {"FrameMultiple", K::Frame, "     Multiple files", 195, 2865, 5940, 3795, "", 17, nullptr, 0, 0},
    {"FrameSettings", K::Frame, "  Settings   ", 210, 6750, 5940, 1050, "", 30, nullptr, GroupStart, 0},
    {"lblHDDENnrOfFiles", K::Label, "lblHDDENnrOfFiles", 915, 8940, 1350, 195, "", 37, nullptr, Hidden, 0},
    {"lblHDDENTextonClipboard", K::Label, "lblHDDENTextonClipboard", 2595, 8940, 1890, 195, "", 38, nullptr,
     Hidden, 0},

    {"picClipboard", K::Panel, "", 210, 210, 5505, 300, "FrameClipboard", 5, nullptr, 0, 0},
    {"Label5", K::Label, "Convert the contents on the clipboard", 360, 90, 2670, 195, "picClipboard", 6,
     nullptr, 0, 0},

    {"picSingle", K::Panel, "", 525, 345, 5190, 1380, "FrameSingle", 9, nullptr, 0, 0},
    {"Label1", K::Label, "Source file name to work on :", 45, 15, 2070, 195, "picSingle", 10,
     " The one with the tabs ... ", 0, 0},
    {"txtSource", K::TextBox, "Waiting ...", 45, 300, 3720, 285, "picSingle", 11, "", ReadOnly, 0},
    {"cmdGetSourceFile", K::Button, "Browse", 3870, 285, 1035, 330, "picSingle", 12, nullptr, 0, 0},
    {"Label2", K::Label, "Destination file name for the new file :", 45, 690, 3720, 195, "picSingle", 13,
     " The new one with the spaces ... ", 0, 0},
    {"txtDest", K::TextBox, "Waiting ...", 45, 945, 3720, 285, "picSingle", 14, "", ReadOnly, 0},
    {"cmdGetSaveFile", K::Button, "Browse", 3870, 915, 1035, 330, "picSingle", 15, nullptr, 0, 0},

    {"picMultiple", K::Panel, "", 510, 300, 5040, 3285, "FrameMultiple", 18, nullptr, 0, 0},
    {"Label3", K::Label, "Source folder with files to work on :", 60, 75, 3720, 195, "picMultiple", 19,
     " The files with the tabs ... ", 0, 0},
    {"txtMultipleFilesPath", K::TextBox, "Waiting ...", 60, 360, 3720, 285, "picMultiple", 20, "", ReadOnly,
     0},
    {"cmdBrowseDir", K::Button, "Browse", 3885, 345, 1035, 330, "picMultiple", 21, nullptr, 0, 0},
    {"Label4", K::Label, "Destination folder to save the new files to :", 60, 750, 3720, 195, "picMultiple",
     22, " The files with the spaces ... ", 0, 0},
    {"txtMultipleFilesDestinationPath", K::TextBox, "Waiting ...", 60, 1005, 3720, 285, "picMultiple", 23, "",
     ReadOnly, 0},
    {"cmdBrowseDir2Save", K::Button, "Browse", 3885, 975, 1035, 330, "picMultiple", 24, nullptr, 0, 0},
    {"List1", K::ListBox, "", 60, 1455, 4845, 1035, "picMultiple", 25, " The List ...", 0, 0},
    {"Combo1", K::DropDownList, "", 60, 2655, 720, 315, "picMultiple", 26, " Extension filter ", 0, 0},
    {"ProgressBar1", K::ProgressBar, "", 900, 2655, 2880, 300, "picMultiple", 27, nullptr, 0, 0},
    {"lblNumberofiles", K::Label, " Waiting ...", 4140, 2640, 765, 195, "picMultiple", 28,
     " Number of files in the list ", AlignRight, 0},
    {"lblVerify", K::Label, "Status: idle ...", 900, 3015, 960, 195, "picMultiple", 29, nullptr, 0, 0},

    {"picSettings", K::Panel, "", 195, 210, 5520, 600, "FrameSettings", 31, nullptr, 0, 0},
    {"optFixedTABS", K::OptionButton, "Fixed Tab Stops Formatting", 345, 90, 2370, 270, "picSettings", 32,
     " Default = ON (Keeps indents and original formatting) ", GroupStart | Checked, 0},
    {"optFixedSpaces", K::OptionButton, "Fixed Number Of Spaces", 345, 345, 2370, 270, "picSettings", 33,
     " Default = OFF (Disregards indents and original formatting) ", 0, 0},
    {"Label6", K::Label, "Number of Spaces: ", 3180, 240, 1590, 390, "picSettings", 34, " Default = 8 ", 0,
     0},
    {"txtSpacesToUse", K::TextBox, "16", 4725, 255, 210, 195, "picSettings", 35, " Number of spaces ",
     ReadOnly | AlignRight | NoTabStop | Borderless, 2},
    {"UpDown1", K::UpDown, "", 4980, 180, 240, 360, "picSettings", 36, " Default = 8 ", 0, 0},
    {"Image1", K::FrameRect, "", 4665, 150, 585, 405, "picSettings", -1, nullptr, 0, 0},
};

} // namespace

std::span<const ControlRow> mainLayout() { return mainTable; }
