// The error message and its policies, the path checks and the data folder.
#include "win_fixture.h"

#include <fstream>

#include "appdata.h"
#include "desktop/show_error.h"
#include "handles.h"
#include "folders.h"

namespace {

class ErrorMessage : public WinTest {};

TEST_F(ErrorMessage, ShowsTheSevenLinesUnderTitleErrorWithoutIcon) {
    showErrorMessage(AppError::of(5), "frmMain - countFILES");
    ASSERT_EQ(desk.messages().size(), 1u);
    const DesktopCall box = desk.messages()[0];
    EXPECT_EQ(box.text, "An Error was generated:\r\n\r\nDescription:\r\nError 5 - Invalid procedure call or "
                        "argument\r\nfrmMain - countFILES\r\n\r\nPlease inform the author with the error "
                        "description above.");
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.style & MB_ICONMASK, 0u);
    EXPECT_EQ(box.style & MB_TYPEMASK, static_cast<UINT>(MB_OK));
}

TEST_F(ErrorMessage, GuardEndsTheProcedureAfterTheMessageAndTheCallerGoesOn) {
    int stepsRun = 0;
    const bool finished = guarded("frmMain - KillTempFile1", [&] {
        ++stepsRun;
        raiseError(err::PermissionDenied);
        ++stepsRun;
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(stepsRun, 1);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_NE(desk.messages()[0].text.find("Error 70 - Permission denied\r\nfrmMain - KillTempFile1"),
              std::string::npos);
    EXPECT_TRUE(guarded("frmMain - KillTempFile2", [] {}));
    EXPECT_EQ(desk.messages().size(), 1u);
}

TEST_F(ErrorMessage, UnknownFailuresStillReachTheUserAsTheProgramsOwnMessage) {
    guarded("frmMain - countFILES", [] { throw std::runtime_error("boom"); });
    guarded("frmMain - countFILES", [] { throw std::bad_alloc(); });
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_NE(desk.messages()[0].text.find("Error 50003 - Unexpected error"), std::string::npos);
    EXPECT_NE(desk.messages()[1].text.find("Error 7 - Out of memory"), std::string::npos);
}

class PathChecks : public WinTest {};

TEST_F(PathChecks, FileExistsOnlyForAFileThatCanBeReadNow) {
    const std::string file = writeFile("notes.txt", "a\tb");
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists(temp() + "missing.txt"));
    EXPECT_FALSE(fileExists(temp()));                       // a folder
    EXPECT_FALSE(fileExists(temp().substr(0, temp().size() - 1)));
    EXPECT_FALSE(fileExists("Waiting ..."));
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists(temp() + "bad|name?.txt"));
    FileHandle exclusive(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive.valid());
    EXPECT_FALSE(fileExists(file));
}

TEST_F(PathChecks, DirExistsWithOrWithoutTrailingBackslashAndNotForFiles) {
    const std::string folder = temp() + "sub folder";
    CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(DirExists(folder));
    EXPECT_TRUE(DirExists(folder + "\\"));
    EXPECT_FALSE(DirExists(temp() + "nowhere"));
    EXPECT_FALSE(DirExists(writeFile("plain.txt", "x")));
    EXPECT_FALSE(DirExists("Waiting ..."));
}

class DataFolder : public WinTest {};

TEST_F(DataFolder, CreatesBothLevelsOnceAndEndsInABackslash) {
    const std::string root = specialFolderPath(CSIDL_APPDATA);
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(root.back(), '\\');
    const std::string folder = appDataFolder("c:\\fallback");
    EXPECT_EQ(folder, root + "Hollowcrest software\\Quillmere\\");
    EXPECT_TRUE(DirExists(folder));
    EXPECT_TRUE(DirExists(folder + "\\\\"));
    EXPECT_EQ(appDataFolder("c:\\fallback"), folder);
}

TEST_F(DataFolder, AFileInTheWayGivesTheFallbackWithABackslash) {
    const std::string maker = specialFolderPath(CSIDL_APPDATA) + "Hollowcrest software";
    removeTree(maker);
    std::ofstream(maker) << "in the way";
    EXPECT_EQ(appDataFolder("c:\\program"), "c:\\program\\");
    EXPECT_EQ(appDataFolder("c:\\"), "c:\\");
    DeleteFileA(maker.c_str());
    EXPECT_EQ(appDataFolder("c:\\program"), maker + "\\Quillmere\\");
}

} // namespace
