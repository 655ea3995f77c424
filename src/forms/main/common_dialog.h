// The main window's file dialog control: a file dialog request that it keeps between showings. The
// next showing starts with the name the last one left, and a cancelled showing leaves the name as it
// was.
#pragma once

#include "desktop/desktop.h"

class CommonDialog : public FileDialogRequest {
public:
    explicit CommonDialog(Desktop &desktop) : desktop_(desktop) {}

    void showOpen() { show(false); }
    void showSave() { show(true); }

private:
    void show(bool saving);

    Desktop &desktop_;
};
