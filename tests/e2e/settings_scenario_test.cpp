// Scenarios of the stored settings: the first start, a run from settings stored beforehand, and a
// restart that finds the window as it was left.
#include "scenario_fixture.h"

#include <cmath>
#include <fstream>

namespace {

int centredPixels(int screenPixels, int windowPixels) {
    // The program centres in twips: the difference rounded, then halved toward zero.
    const double twipsPerPixel = 1440.0 / GetDeviceCaps(GetDC(nullptr), LOGPIXELSX);
    const auto difference = static_cast<int>(std::nearbyint((screenPixels - windowPixels) * twipsPerPixel));
    return static_cast<int>(std::lround((difference / 2) / twipsPerPixel));
}

RECT frameOf(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    return frame;
}

HWND option(HWND main, const char *caption) { return findChild(main, caption, "Button"); }

std::vector<std::string> editTexts(HWND main) {
    std::vector<std::string> texts;
    for (HWND edit : childrenOfClass(main, "Edit")) texts.push_back(textOf(edit));
    return texts;
}

void closeWithEsc(HWND main, QuillmereProcess &quillmere) {
    PostMessageA(findChild(main, "Replace tabs with spaces !", "Button"), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(quillmere.waitForExit(10s));
}

class StoredSettings : public Scenario {};

TEST_F(StoredSettings, EmptyStoreOpensCentredWithTheDefaults) {
    QuillmereProcess quillmere;
    HWND main = waitForWindow(quillmere.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    const RECT frame = frameOf(main);
    EXPECT_EQ(frame.left, centredPixels(GetSystemMetrics(SM_CXSCREEN), frame.right - frame.left));
    EXPECT_EQ(frame.top, centredPixels(GetSystemMetrics(SM_CYSCREEN), frame.bottom - frame.top));
    EXPECT_TRUE(isChecked(option(main, "Clipboard")));
    EXPECT_FALSE(isChecked(option(main, "Single file")));
    EXPECT_FALSE(isChecked(option(main, "Multiple files")));
    EXPECT_TRUE(isChecked(option(main, "Fixed Tab Stops Formatting")));
    EXPECT_FALSE(isChecked(option(main, "Fixed Number Of Spaces")));
    // The four path boxes, then the number box.
    EXPECT_EQ(editTexts(main),
              (std::vector<std::string>{"Waiting ...", "Waiting ...", "Waiting ...", "Waiting ...", "8"}));
    closeWithEsc(main, quillmere);
    EXPECT_EQ(storedSetting("Startup").value_or(""), "True");
    EXPECT_EQ(storedSetting("OperationClip").value_or(""), "True");
}

TEST_F(StoredSettings, SingleFileRunFromStoredSettingsWritesTheDestination) {
    const std::string source = writeFile("in.txt", "a\tb\r\n\tc\r\n");
    const std::string destination = temp() + "out.txt";
    storeSetting("SourceS", source);
    storeSetting("DestinationS", destination);
    storeSetting("OperationClip", "False");
    storeSetting("OperationSingle", "True");
    storeSetting("OperationMultiple", "False");
    storeSetting("FixedTABS", "True");
    storeSetting("FixedSpaces", "False");
    storeSetting("SpacesToUse", "4");

    QuillmereProcess quillmere;
    HWND main = waitForWindow(quillmere.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    press(findChild(main, "Replace tabs with spaces !", "Button"));
    HWND box = waitForMessageBox(quillmere.id(), "Quillmere");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "File is ready!        ");
    EXPECT_TRUE(pressOk(box));
    EXPECT_EQ(readFile(destination), "a   b\r\n    c\r\n");
    EXPECT_EQ(readFile(source), "a\tb\r\n\tc\r\n");
    closeWithEsc(main, quillmere);
}

TEST_F(StoredSettings, RestartRestoresPlaceOperationSettingSpacesExtensionAndPaths) {
    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    const std::string source = writeFile("in.txt", "x\r\n");
    writeFile("src\\notes.log", "\tlog\r\n");
    CreateDirectoryA(dataFolder().c_str(), nullptr);
    std::ofstream(dataFolder() + "extensions.txt", std::ios::binary) << "txt\r\nlog\r\n";
    storeSetting("SourceS", source);
    storeSetting("DestinationS", temp() + "result.txt");
    storeSetting("SourceM", temp() + "src");
    storeSetting("DestinationM", temp() + "out");
    storeSetting("LastExtension", "1");
    storeSetting("SpacesToUse", "12");

    RECT leftAt{};
    {
        QuillmereProcess first;
        HWND main = waitForWindow(first.id(), "Quillmere");
        ASSERT_NE(main, nullptr);
        SetWindowPos(main, nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(option(main, "Multiple files"), BM_CLICK, 0, 0);
        SendMessageA(option(main, "Fixed Number Of Spaces"), BM_CLICK, 0, 0);
        leftAt = frameOf(main);
        closeWithEsc(main, first);
    }
    EXPECT_EQ(storedSetting("OperationMultiple").value_or(""), "True");

    QuillmereProcess second;
    HWND main = waitForWindow(second.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    const RECT frame = frameOf(main);
    EXPECT_EQ(frame.left, leftAt.left);
    EXPECT_EQ(frame.top, leftAt.top);
    EXPECT_TRUE(isChecked(option(main, "Multiple files")));
    EXPECT_FALSE(isChecked(option(main, "Clipboard")));
    EXPECT_TRUE(isChecked(option(main, "Fixed Number Of Spaces")));
    EXPECT_FALSE(isChecked(option(main, "Fixed Tab Stops Formatting")));
    EXPECT_EQ(editTexts(main), (std::vector<std::string>{source, temp() + "result.txt", temp() + "src",
                                                         temp() + "out", "12"}));
    const auto combos = childrenOfClass(main, "ComboBox");
    ASSERT_EQ(combos.size(), 1u);
    EXPECT_EQ(textOf(combos[0]), "log");
    const auto lists = childrenOfClass(main, "ListBox");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(SendMessageA(lists[0], LB_GETCOUNT, 0, 0), 1);
    closeWithEsc(main, second);
}

// Paths outside the ANSI code page: read from the store, shown, changed in the window and stored on
// close, and found again by the next start.
TEST_F(StoredSettings, PathsOutsideTheCodePageSurviveARestart) {
    const std::string folder = temp() + "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0"; // Папка
    CreateDirectoryW(wideOf(folder).c_str(), nullptr);
    const std::string source = folder + "\\\xE6\x97\xA5\xE6\x9C\xAC.txt"; // 日本.txt
    writeBytes(source, "a\tb\r\n");
    const std::string destination = temp() + "Gr\xC3\xBC\xC3\x9F"
                                             "e \xD1\x84.txt"; // Grüße ф.txt
    storeSetting("SourceS", source);
    storeSetting("OperationClip", "False");
    storeSetting("OperationSingle", "True");
    storeSetting("OperationMultiple", "False");
    {
        QuillmereProcess first;
        HWND main = waitForWindow(first.id(), "Quillmere");
        ASSERT_NE(main, nullptr);
        const auto edits = childrenOfClass(main, "Edit");
        ASSERT_EQ(edits.size(), 5u);
        EXPECT_EQ(textOf(edits[0]), source);
        SendMessageW(edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wideOf(destination).c_str()));
        closeWithEsc(main, first);
    }
    EXPECT_EQ(storedSetting("SourceS").value_or(""), source);
    EXPECT_EQ(storedSetting("DestinationS").value_or(""), destination);

    QuillmereProcess second;
    HWND main = waitForWindow(second.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    const auto edits = childrenOfClass(main, "Edit");
    ASSERT_EQ(edits.size(), 5u);
    EXPECT_EQ(textOf(edits[0]), source);
    EXPECT_EQ(textOf(edits[1]), destination);
    press(findChild(main, "Replace tabs with spaces !", "Button"));
    HWND box = waitForMessageBox(second.id(), "Quillmere");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "File is ready!        ");
    EXPECT_TRUE(pressOk(box));
    EXPECT_EQ(readFile(destination), "a       b\r\n");
    closeWithEsc(main, second);
}

} // namespace
