// The selected operation's caption is blue, the others black.
#include "main/frm_main.h"

void FrmMain::highlightOperation() {
    for (OptionButton *option : {&optClipboard, &optSingle, &optMultiple})
        option->setForeColor(option->value() ? operationSelectedColour : operationOtherColour);
}
