#include "main/common_dialog.h"

void CommonDialog::show(bool saving) {
    FileDialogRequest request = *this;
    request.save = saving;
    if (!desktop_.showFileDialog(request)) return;
    fileName = request.fileName;
    fileTitle = request.fileTitle;
}
