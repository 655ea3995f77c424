// F1 and the About window of the running program, seen from outside.
#include "scenario_fixture.h"

#include "quillmere_version.h"

namespace {

std::string readmeBesideProgram() { return programUnderTestFolder() + "readme.txt"; }

class ReadmeAway {
public:
    ReadmeAway() {
        moved_ = MoveFileA(readmeBesideProgram().c_str(), (readmeBesideProgram() + ".away").c_str());
    }
    ~ReadmeAway() {
        if (moved_) MoveFileA((readmeBesideProgram() + ".away").c_str(), readmeBesideProgram().c_str());
    }
    bool moved() const { return moved_ != 0; }

private:
    BOOL moved_;
};

class Help : public Scenario {};
class About : public Scenario {};

TEST_F(Help, F1OpensTheReadmeInNotepad) {
    QuillmereProcess quillmere;
    HWND main = waitForWindow(quillmere.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(waitForWindowTitled("readme", 0ms), nullptr); // no Notepad left from before
    pressKey(findChild(main, "Replace tabs with spaces !", "Button"), VK_F1);
    HWND notepad = waitForWindowTitled("readme");
    ASSERT_NE(notepad, nullptr);
    EXPECT_NE(textOf(notepad).find("Notepad"), std::string::npos);
    PostMessageA(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitForGone(notepad));
    EXPECT_TRUE(quillmere.running());
}

// Notepad is given the path unquoted; it takes the rest of its command line as the file name.
TEST_F(Help, F1OpensTheReadmeFromAFolderWithBlanks) {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    const std::string folder = std::string(base) + "Quill Mere Copy\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((programUnderTestFolder() + "quillmere.exe").c_str(),
                          (folder + "quillmere.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(readmeBesideProgram().c_str(), (folder + "readme.txt").c_str(), FALSE));
    {
        QuillmereProcess quillmere(folder);
        HWND main = waitForWindow(quillmere.id(), "Quillmere");
        ASSERT_NE(main, nullptr);
        ASSERT_EQ(waitForWindowTitled("readme", 0ms), nullptr); // no Notepad left from before
        pressKey(findChild(main, "Replace tabs with spaces !", "Button"), VK_F1);
        HWND notepad = waitForWindowTitled("readme.txt - Notepad");
        ASSERT_NE(notepad, nullptr);
        PostMessageA(notepad, WM_CLOSE, 0, 0);
        EXPECT_TRUE(waitForGone(notepad));
        PostMessageA(findChild(main, "Replace tabs with spaces !", "Button"), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(quillmere.waitForExit(10s));
    }
    DeleteFileA((folder + "quillmere.exe").c_str());
    DeleteFileA((folder + "readme.txt").c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(Help, F1WithoutTheReadmeSaysOops) {
    ReadmeAway away;
    ASSERT_TRUE(away.moved());
    QuillmereProcess quillmere;
    HWND main = waitForWindow(quillmere.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    pressKey(findChild(main, "Replace tabs with spaces !", "Button"), VK_F1);
    HWND box = waitForWindow(quillmere.id(), "Oops");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageBoxText(box), "The Quillmere readme.txt seems to be missing...");
    EXPECT_TRUE(pressOk(box));
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(About, ShowsItsTextsAndOkClosesIt) {
    QuillmereProcess quillmere;
    HWND main = waitForWindow(quillmere.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    press(findChild(main, "About", "Button"));
    HWND about = waitForWindow(quillmere.id(), "About");
    ASSERT_NE(about, nullptr);
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (const std::string text : {"Quillmere", "Version " QM_VERSION_TEXT, "Play and enjoy!",
                                   "For updates and other freeware,", "Visit my homepage at"})
        EXPECT_NE(findChild(about, text, "Static"), nullptr) << text;
    EXPECT_NE(findChild(about, "Copyright (c) Hollowcrest " + std::to_string(now.wYear), "Static"), nullptr);
    EXPECT_FALSE(IsWindowEnabled(main)); // modal
    press(findChild(about, "&Ok", "Button"));
    EXPECT_TRUE(waitForGone(about));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(quillmere.running());
}

} // namespace
