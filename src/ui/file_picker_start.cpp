#include "ui/file_picker_start.h"
#include "errors/show_error.h"
#include "ui/frm_main.h"

void startFilePicker(FrmMain &frm) {
    frm.ProgressBar1.setValue(0);
    frm.lblNumberofiles.setCaption(placeholderText);
    frm.optSingle.setValue(true);
    frm.optSingle_Click();
}

void clearChosenNames(CommonDialog &dialog) noexcept {
    ignoringErrors([&] { dialog.fileName.clear(); });
    ignoringErrors([&] { dialog.fileTitle.clear(); });
}
