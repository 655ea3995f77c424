// The common ground of the window tests: what every Windows test starts from, and the main window,
// loaded (hidden) on first use and destroyed after the test.
#pragma once

#include "win_fixture.h"

#include <memory>

class FrmMain;

class FormTest : public WinTest {
protected:
    void TearDown() override;

    FrmMain &main();

private:
    std::unique_ptr<FrmMain> main_;
};
