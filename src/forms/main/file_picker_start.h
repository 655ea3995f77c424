// The steps both file pickers share: the window's state before the dialog, the dialog itself, and
// what is done with the choice.
#pragma once

#include <string>

class FrmMain;
class CommonDialog;
class TextBox;

// Progress bar at 0, "Waiting ..." as the file count, the Single file operation selected.
void startFilePicker(FrmMain &frm);

// An accepted choice leaves no name behind for the next showing; failures here are ignored.
void clearChosenNames(CommonDialog &dialog) noexcept;

// What one file picker's dialog shows.
struct FilePick {
    std::string filter;
    unsigned long flags; // OFN_ options
    std::string title;
    bool save;
};

// Starts the picker, shows the dialog from the folder of `box`'s file and puts the lower-cased
// choice in `box`; a choice naming the file in `other` is refused with `refusal` and leaves "Waiting
// ..." in `box` (the dialog keeps the refused name for its next showing). A cancelled dialog
// changes no box.
void pickFileInto(FrmMain &frm, const FilePick &pick, TextBox &box, const TextBox &other,
                  const std::string &refusal);
