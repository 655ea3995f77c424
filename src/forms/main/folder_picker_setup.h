// How both folder pickers set up their dialog before showing it.
#pragma once

#include <string>

class BrowseDialog;
class FrmMain;

void prepareFolderDialog(BrowseDialog &dialog, FrmMain &frm, const std::string &startFolder);
