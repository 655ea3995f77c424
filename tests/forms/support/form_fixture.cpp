#include "form_fixture.h"

#include "main/frm_main.h"

void FormTest::TearDown() {
    if (main_) {
        main_->setQuitOnUnload(false);
        main_.reset();
    }
    WinTest::TearDown();
}

FrmMain &FormTest::main() {
    if (!main_) {
        main_ = std::make_unique<FrmMain>();
        main_->setQuitOnUnload(false);
        main_->load();
    }
    return *main_;
}
