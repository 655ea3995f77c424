#include "main/file_picker_start.h"
#include "desktop/show_error.h"
#include "ansi_case.h"
#include "main/frm_main.h"
#include "main/picked_path.h"
#include "main/picker_messages.h"

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

void pickFileInto(FrmMain &frm, const FilePick &pick, TextBox &box, const TextBox &other,
                  const std::string &refusal) {
    startFilePicker(frm);
    const std::string startFolder = fileDialogStartFolder(box.text());
    CommonDialog &dialog = frm.CommonDialog1;
    dialog.owner = frm.hwnd();
    dialog.filter = pick.filter;
    dialog.flags = pick.flags;
    dialog.initDir = startFolder;
    dialog.dialogTitle = pick.title;
    if (pick.save)
        dialog.showSave();
    else
        dialog.showOpen();
    if (dialog.fileName.empty()) return;

    const std::string chosen = lowerCase(dialog.fileName);
    if (sameAsOtherBox(chosen, other.text())) {
        refuseChoice(frm.hwnd(), refusal);
        box.setText(placeholderText);
        return;
    }
    box.setText(chosen);
    clearChosenNames(dialog);
}
