#include "form_fixture.h"

#include "main/frm_main.h"
#include "window/modal_loop.h"

void FormTest::TearDown() {
    if (main_) {
        main_->setQuitOnUnload(false);
        main_.reset();
    }
    WinTest::TearDown();
}

FrmMain &FormTest::main() {
    if (!main_) {
        main_ = std::make_unique<FrmMain>(desk, registry, systemMoves, taskbar, accessibility);
        main_->setQuitOnUnload(false);
        main_->load();
    }
    return *main_;
}

void pumpAsTheProgramDoes(FrmMain &frm) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (frm.previewKey(message)) continue;
        if (dispatchDialogKeys(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void pressKey(FrmMain &frm, HWND control, WPARAM key) {
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
    pumpAsTheProgramDoes(frm);
}

void listTxtFiles(FrmMain &frm, const std::string &source, const std::string &destination,
                  const std::string &spaces) {
    frm.Combo1.clear();
    frm.Combo1.addItem("txt");
    frm.Combo1.setListIndex(0);
    frm.txtMultipleFilesPath.setText(source);
    frm.txtMultipleFilesDestinationPath.setText(destination);
    frm.txtSpacesToUse.setText(spaces);
    frm.countFILES();
}
