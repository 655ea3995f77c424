// The user's PATH changed by one folder for the installer: at any length, every other entry kept in
// its order and unexpanded, the folder found whatever its letter case.
#include "win_fixture.h"

#include "user_path.h"

namespace {

TEST(UserPathText, AFolderGoesOnAtTheEndOnceAndComesOffWhereverItStands) {
    const std::wstring folder = L"C:\\Program Files\\Quillmere";
    EXPECT_EQ(pathWithFolder(L"", folder), folder);
    EXPECT_EQ(pathWithFolder(L"C:\\Tools;%USERPROFILE%\\bin", folder),
              L"C:\\Tools;%USERPROFILE%\\bin;C:\\Program Files\\Quillmere");
    EXPECT_EQ(pathWithFolder(L"C:\\Tools;", folder), L"C:\\Tools;C:\\Program Files\\Quillmere");
    // Already there in another spelling: left as it is.
    for (const wchar_t *there : {L"A;c:\\program files\\QUILLMERE;B", L"A;C:\\Program Files\\Quillmere\\",
                                 L" C:\\Program Files\\Quillmere ;B"})
        EXPECT_EQ(pathWithFolder(there, folder), there);

    EXPECT_EQ(
        pathWithoutFolder(L"A;c:\\program files\\quillmere\\;%X%\\bin;;C:\\Program Files\\Quillmere", folder),
        L"A;%X%\\bin;");
    EXPECT_EQ(pathWithoutFolder(L"C:\\Program Files\\Quillmere", folder), L"");
    EXPECT_EQ(pathWithoutFolder(L"A;;B", folder), L"A;;B"); // nothing of ours: not touched
    EXPECT_EQ(pathWithoutFolder(L"C:\\Program Files\\Quillmere Tools", folder),
              L"C:\\Program Files\\Quillmere Tools");
}

class UserPath : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        saved_ = read(&savedType_);
    }
    void TearDown() override {
        if (savedType_)
            write(saved_, savedType_);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Environment", L"Path");
        WinTest::TearDown();
    }
    // The value as stored, unexpanded; its type in *type (0 when there is none).
    static std::wstring read(DWORD *type) {
        *type = 0;
        const DWORD kinds = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
        DWORD size = 0, found = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, L"Environment", L"Path", kinds, &found, nullptr, &size) !=
            ERROR_SUCCESS)
            return L"";
        std::wstring text(size / sizeof(wchar_t), L'\0');
        if (RegGetValueW(HKEY_CURRENT_USER, L"Environment", L"Path", kinds, &found, text.data(), &size) !=
            ERROR_SUCCESS)
            return L"";
        *type = found;
        text.resize(size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        return text;
    }
    static void write(const std::wstring &text, DWORD type) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Environment", L"Path", type, text.c_str(),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring saved_;
    DWORD savedType_ = 0;
};

// A developer's PATH is often past the 1,024 characters an installer's strings hold.
TEST_F(UserPath, APathOfAnyLengthTakesTheFolderAndGivesItBack) {
    std::wstring longPath;
    for (int entry = 0; longPath.size() < 5000; ++entry)
        longPath += L"C:\\Toolchains\\toolchain-number-" + std::to_wstring(entry) + L"\\bin;";
    longPath += L"%USERPROFILE%\\bin";
    ASSERT_GT(longPath.size(), 5000u);
    write(longPath, REG_SZ);
    const std::wstring folder = L"C:\\Program Files\\Quillmere";
    ASSERT_TRUE(changeUserPath(PathChange::Add, folder));
    DWORD type = 0;
    EXPECT_EQ(read(&type), longPath + L";" + folder);
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));   // %USERPROFILE% stays unexpanded and works
    ASSERT_TRUE(changeUserPath(PathChange::Add, folder)); // once only
    EXPECT_EQ(read(&type), longPath + L";" + folder);
    ASSERT_TRUE(changeUserPath(PathChange::Remove, folder));
    EXPECT_EQ(read(&type), longPath);
}

TEST_F(UserPath, AFolderThereInAnotherCaseIsNotAddedAgainAndIsRemoved) {
    write(L"C:\\Tools;c:\\PROGRAM FILES\\quillmere\\;D:\\bin", REG_EXPAND_SZ);
    ASSERT_TRUE(changeUserPath(PathChange::Add, L"C:\\Program Files\\Quillmere"));
    DWORD type = 0;
    EXPECT_EQ(read(&type), L"C:\\Tools;c:\\PROGRAM FILES\\quillmere\\;D:\\bin");
    ASSERT_TRUE(changeUserPath(PathChange::Remove, L"C:\\Program Files\\Quillmere"));
    EXPECT_EQ(read(&type), L"C:\\Tools;D:\\bin");
}

TEST_F(UserPath, AMissingValueIsMadeAndRemovedWhenNothingElseIsLeft) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Environment", L"Path");
    ASSERT_TRUE(changeUserPath(PathChange::Remove, L"C:\\Quillmere"));
    DWORD type = 0;
    read(&type);
    EXPECT_EQ(type, 0u); // nothing to take off: nothing made
    ASSERT_TRUE(changeUserPath(PathChange::Add, L"C:\\Quillmere"));
    EXPECT_EQ(read(&type), L"C:\\Quillmere");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    ASSERT_TRUE(changeUserPath(PathChange::Remove, L"C:\\Quillmere"));
    read(&type);
    EXPECT_EQ(type, 0u);
}

} // namespace
