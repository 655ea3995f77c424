#include "desktop/common_dialog.h"

void CommonDialog::show(bool save) {
    FileDialogRequest request;
    request.owner = owner;
    request.save = save;
    request.filter = filter;
    request.initialDir = initDir;
    request.title = dialogTitle;
    request.flags = flags;
    request.fileName = fileName;
    request.fileTitle = fileTitle;
    if (!desktop().showFileDialog(request)) return;
    fileName = request.fileName;
    fileTitle = request.fileTitle;
}
