// The first steps of both file pickers, and what an accepted choice leaves in the dialog.
#pragma once

class FrmMain;
class CommonDialog;

// Progress bar at 0, "Waiting ..." as the file count, the Single file operation selected.
void startFilePicker(FrmMain &frm);

// An accepted choice leaves no name behind for the next showing; failures here are ignored.
void clearChosenNames(CommonDialog &dialog) noexcept;
