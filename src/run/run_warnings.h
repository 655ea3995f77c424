// How a run answers an input it cannot use: a warning with one OK button, and for a path that is
// gone, the placeholder in its box so that the next run asks for it again.
#pragma once

#include "ui/frm_main.h"

#include <string>

void warnAttention(const FrmMain &frm, const std::string &text);
void informNoFiles(const FrmMain &frm);
// Warns, then puts the placeholder into the box of the vanished path.
void warnPathGone(const FrmMain &frm, TextBox &box, const std::string &text);
// Both the placeholder and an empty box mean that nothing is chosen.
bool nothingChosen(const TextBox &box);
