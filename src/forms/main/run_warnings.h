// How a run answers an input it cannot use: a warning with one OK button, and for a path that is
// gone, the placeholder in its box so that the next run asks for it again.
#pragma once

#include "main/frm_main.h"

#include <string>

// Each shows its message and answers false, so that a failed check ends with it.
bool refused(const FrmMain &frm, const std::string &text);
bool refusedNoFiles(const FrmMain &frm);
// Also puts the placeholder into the box of the vanished path.
bool refusedPathGone(const FrmMain &frm, TextBox &box, const std::string &text);
// Both the placeholder and an empty box mean that nothing is chosen.
bool nothingChosen(const TextBox &box);
