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
    controls(frm).extensionBox.clear();
    controls(frm).extensionBox.addItem("txt");
    controls(frm).extensionBox.setListIndex(0);
    controls(frm).sourceFolderBox.setText(source);
    controls(frm).destinationFolderBox.setText(destination);
    controls(frm).spacesBox.setText(spaces);
    frm.listWorkFiles();
}
