// Saving the main window's settings at close, and a restart that finds everything as it was left.
#include "form_fixture.h"
#include "raw_registry.h"

#include "main/frm_main.h"
#include "window/layout.h"
#include "window/window_place.h"

#include <cmath>
#include <memory>

namespace {

const std::string key = settingsKeyPath;

class SettingsSave : public FormTest {
protected:
    std::unique_ptr<FrmMain> openAnother() {
        auto frm = std::make_unique<FrmMain>(desk, registry, systemMoves, taskbar, accessibility);
        frm->setQuitOnUnload(false);
        frm->load();
        return frm;
    }
    static void moveTo(FrmMain &frm, int x, int y) {
        SetWindowPos(frm.hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    static std::string twipsText(int pixels) {
        return std::to_string(std::lround(pixels * 1440.0 / screenDpi()));
    }
    std::string value(const std::string &name) { return rawGetString(key, name).value_or("<missing>"); }
};

TEST_F(SettingsSave, CloseWritesAllFourteenValuesAsTheWindowHoldsThem) {
    FrmMain &frm = main();
    moveTo(frm, 40, 30);
    controls(frm).multipleFilesOption.click();
    controls(frm).fixedSpacesOption.click();
    controls(frm).spacesBox.setText("12");
    controls(frm).sourceFileBox.setText("c:\\a\\source file.txt");
    controls(frm).destinationFileBox.setText("Waiting ...");
    controls(frm).sourceFolderBox.setText("c:\\folder");
    controls(frm).destinationFolderBox.setText("");
    const int32_t extension = controls(frm).extensionBox.listIndex();
    frm.close();
    EXPECT_FALSE(frm.isLoaded());

    EXPECT_EQ(value("Startup"), "True");
    EXPECT_EQ(value("Top"), twipsText(30));
    EXPECT_EQ(value("Left"), twipsText(40));
    EXPECT_EQ(value("OperationClip"), "False");
    EXPECT_EQ(value("OperationSingle"), "False");
    EXPECT_EQ(value("OperationMultiple"), "True");
    EXPECT_EQ(value("FixedTABS"), "False");
    EXPECT_EQ(value("FixedSpaces"), "True");
    EXPECT_EQ(value("SpacesToUse"), "12");
    EXPECT_EQ(value("SourceS"), "c:\\a\\source file.txt");
    EXPECT_EQ(value("DestinationS"), "Waiting ...");
    EXPECT_EQ(value("SourceM"), "c:\\folder");
    EXPECT_EQ(value("DestinationM"), "");
    EXPECT_EQ(value("LastExtension"), std::to_string(extension));
    EXPECT_EQ(rawGet(key, "SourceS")->type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsSave, PositionIsTheOuterFrameInTwips) {
    FrmMain &frm = main();
    moveTo(frm, 123, 77);
    frm.close();
    const auto stored = [&](const char *name) { return std::stod(value(name)); };
    EXPECT_DOUBLE_EQ(stored("Left"), std::lround(123 * 1440.0 / screenDpi()));
    EXPECT_DOUBLE_EQ(stored("Top"), std::lround(77 * 1440.0 / screenDpi()));
}

TEST_F(SettingsSave, MinimizedCloseKeepsTheStoredPositionAndWritesTheRest) {
    rawSetString(key, "Top", "1500");
    rawSetString(key, "Left", "3000");
    FrmMain &frm = main();
    controls(frm).singleFileOption.click();
    ShowWindow(frm.hwnd(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(frm.hwnd()));
    frm.close();
    EXPECT_EQ(value("Top"), "1500");
    EXPECT_EQ(value("Left"), "3000");
    EXPECT_EQ(value("OperationSingle"), "True");
    EXPECT_EQ(value("Startup"), "True");
}

TEST_F(SettingsSave, EveryWayOfClosingSavesTheSame) {
    // Exit button, Esc (the cancel command), the close box and the system ending the session.
    const std::vector<std::function<void(FrmMain &)>> ways = {
        [](FrmMain &frm) { controls(frm).exitButton.click(); },
        [](FrmMain &frm) { SendMessageA(frm.hwnd(), WM_COMMAND, IDCANCEL, 0); },
        [](FrmMain &frm) { SendMessageA(frm.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](FrmMain &frm) {
            EXPECT_TRUE(SendMessageA(frm.hwnd(), WM_QUERYENDSESSION, 0, 0));
            SendMessageA(frm.hwnd(), WM_ENDSESSION, TRUE, 0);
        },
    };
    int way = 0;
    for (const auto &closeIt : ways) {
        SCOPED_TRACE(way);
        RegDeleteTreeA(HKEY_CURRENT_USER, settingsKeyPath);
        auto frm = openAnother();
        controls(*frm).sourceFileBox.setText("way " + std::to_string(way));
        closeIt(*frm);
        EXPECT_FALSE(frm->isLoaded());
        EXPECT_EQ(value("SourceS"), "way " + std::to_string(way));
        EXPECT_EQ(value("Startup"), "True");
        ++way;
    }
}

TEST_F(SettingsSave, RestartRestoresPositionOptionsSpacesAndPaths) {
    const std::string source = writeFile("in.txt", "x\ty\r\n");
    const std::string destination = temp() + "out.txt";
    int left = 0, top = 0;
    {
        auto first = openAnother();
        moveTo(*first, 60, 45);
        RECT frame;
        GetWindowRect(first->hwnd(), &frame);
        left = frame.left;
        top = frame.top;
        controls(*first).singleFileOption.click();
        controls(*first).fixedSpacesOption.click();
        controls(*first).spacesBox.setText("4");
        controls(*first).sourceFileBox.setText(source);
        controls(*first).destinationFileBox.setText(destination);
        controls(*first).destinationFolderBox.setText(temp());
        first->close();
    }
    auto second = openAnother();
    RECT frame;
    GetWindowRect(second->hwnd(), &frame);
    EXPECT_EQ(frame.left, left);
    EXPECT_EQ(frame.top, top);
    EXPECT_TRUE(controls(*second).singleFileOption.value());
    EXPECT_FALSE(controls(*second).clipboardOption.value());
    EXPECT_TRUE(controls(*second).fixedSpacesOption.value());
    EXPECT_FALSE(controls(*second).tabStopsOption.value());
    EXPECT_EQ(controls(*second).spacesBox.text(), "4");
    EXPECT_EQ(controls(*second).sourceFileBox.text(), source);
    EXPECT_EQ(controls(*second).destinationFileBox.text(), destination);
    EXPECT_EQ(controls(*second).destinationFolderBox.text(), temp());
    EXPECT_EQ(controls(*second).singleFileOption.foreColor(), operationSelectedColour);
}

} // namespace
