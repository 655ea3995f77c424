// The checks of a run's paths before any file is read: which refusal comes first, and the spellings
// under which a destination is still the source.
#include "win_fixture.h"

#include "locale_text.h"
#include "run_inputs.h"

#include <gtest/gtest.h>

namespace {

class RunInputs : public WinTest {};

// A volume that tells neither the files' ids nor their final paths.
class NoIdentity : public SystemFileMoves {
public:
    bool fileIndex(HANDLE, ULONGLONG &) override { return refused(); }
    bool fileId(HANDLE, FileId128 &) override { return refused(); }
    bool fileInformation(HANDLE, BY_HANDLE_FILE_INFORMATION &) override { return refused(); }
    bool finalPath(HANDLE, std::wstring &) override { return refused(); }

private:
    static bool refused() {
        SetLastError(ERROR_INVALID_FUNCTION);
        return false;
    }
};

TEST_F(RunInputs, SingleFileRefusalsComeInTheirOrder) {
    using R = SingleRunRefusal;
    const std::string in = writeFile("Source File.txt", "a\tb\r\n");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(in.c_str(), shortPath, MAX_PATH), 0u);
    const std::string gone = temp() + "gone.txt";
    const std::string goneFolder = temp() + "gone\\out.txt";
    const std::string out = temp() + "out.txt";
    struct Case {
        std::string source, destination;
        R refusal;
    };
    const Case cases[] = {
        {"Waiting ...", "Waiting ...", R::NoSourceFile},
        {"", out, R::NoSourceFile},
        {in, "Waiting ...", R::DestinationNotDefined},
        {gone, "Waiting ...", R::DestinationNotDefined}, // the boxes first, then the disk
        {in, "", R::NoDestinationFile},
        {gone, goneFolder, R::SourceFileGone}, // the source before the destination's folder
        {temp(), out, R::SourceFileGone},      // a folder is no source file
        {in, goneFolder, R::DestinationFolderGone},
        {in, shortPath, R::DestinationIsSource},
        {in, in + ".", R::DestinationIsSource},
        {in, temp() + "\\Source File.txt", R::DestinationIsSource},
        {in, out, R::None},
        {in, writeFile("other.txt", "kept"), R::None},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.source + " -> " + each.destination);
        EXPECT_EQ(singleRunRefusal(each.source, each.destination, systemFiles), each.refusal);
    }
    // Held by a program that shares nothing, a source cannot be read: it counts as gone.
    HANDLE held = CreateFileA(in.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(singleRunRefusal(in, out, systemFiles), R::SourceFileGone);
    CloseHandle(held);
    // Two files that cannot be told apart are taken for one, so the source is never risked.
    NoIdentity noIdentity;
    WindowsFileSystem withoutIdentity(noIdentity);
    EXPECT_EQ(singleRunRefusal(in, temp() + "other.txt", withoutIdentity), R::DestinationIsSource);
    EXPECT_EQ(readFile(in), "a\tb\r\n");
    EXPECT_EQ(readFile(temp() + "other.txt"), "kept");
}

TEST_F(RunInputs, FolderRefusalsComeInTheirOrderAndTheListIsLookedAtLast) {
    using R = FolderRunRefusal;
    const std::string source = temp() + "src";
    const std::string destination = temp() + "out";
    ASSERT_TRUE(CreateDirectoryA(source.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(destination.c_str(), nullptr));
    struct Case {
        std::string source, destination;
        int32_t listed;
        R refusal;
    };
    const Case cases[] = {
        {"Waiting ...", "Waiting ...", 1, R::NoSourceFolder},
        {"", destination, 1, R::NoSourceFolder},
        {source, "Waiting ...", 1, R::NoDestinationFolder},
        {temp() + "gone", "", 1, R::NoDestinationFolder},
        {temp() + "gone", temp() + "also gone", 1, R::SourceFolderGone},
        {source, temp() + "gone", 0, R::DestinationFolderGone},
        {source, source + "\\\\.", 0, R::SameFolder},
        {source, temp() + "SRC\\..\\src\\", 1, R::SameFolder},
        {source, destination, 0, R::NoFilesListed},
        {source, destination, 2, R::None},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.source + " -> " + each.destination);
        EXPECT_EQ(folderRunRefusal(each.source, each.destination, each.listed, systemFiles), each.refusal);
    }
}

TEST_F(RunInputs, FolderChoiceMustBeThereAndNotTheOtherBoxsFolder) {
    using R = FolderChoiceRefusal;
    const std::string chosen = temp() + "Src";
    ASSERT_TRUE(CreateDirectoryA(chosen.c_str(), nullptr));
    const std::string otherAsShown = lowerCase(chosen);
    EXPECT_EQ(
        folderChoiceRefusal(temp() + "gone", lowerCase(temp() + "gone"), "Waiting ...", false, systemFiles),
        R::NotAvailable);
    EXPECT_EQ(
        folderChoiceRefusal(temp() + "gone", lowerCase(temp() + "gone"), "Waiting ...", true, systemFiles),
        R::NotAvailable);
    // The other box shows its folder lower-cased; its blanks do not count.
    EXPECT_EQ(folderChoiceRefusal(chosen, lowerCase(chosen), otherAsShown, false, systemFiles),
              R::SameAsOther);
    EXPECT_EQ(folderChoiceRefusal(chosen, lowerCase(chosen), "  " + otherAsShown + " ", true, systemFiles),
              R::SameAsOther);
    EXPECT_EQ(folderChoiceRefusal(chosen, lowerCase(chosen), otherAsShown + "\\", false, systemFiles),
              R::None);
    EXPECT_EQ(folderChoiceRefusal(chosen, lowerCase(chosen), "Waiting ...", true, systemFiles), R::None);
    EXPECT_TRUE(namesMatching(chosen + "\\*").empty()) << "the write probe leaves nothing behind";
}

// Wine maps a folder that Unix will not let us write to onto access denied; running as root, the
// read-only kernel folders are such places.
TEST_F(RunInputs, FolderChoiceThatRefusesWritingIsNotAccessibleOnlyWhereWritingIsAsked) {
    const std::string locked = "Z:\\sys\\kernel";
    if (GetFileAttributesA(locked.c_str()) == INVALID_FILE_ATTRIBUTES ||
        CreateDirectoryA((locked + "\\qm-probe").c_str(), nullptr) || GetLastError() != ERROR_ACCESS_DENIED)
        GTEST_SKIP() << "no folder here refuses writing with access denied";
    EXPECT_EQ(folderChoiceRefusal(locked, lowerCase(locked), "Waiting ...", true, systemFiles),
              FolderChoiceRefusal::NotAccessible);
    EXPECT_EQ(folderChoiceRefusal(locked, lowerCase(locked), "Waiting ...", false, systemFiles),
              FolderChoiceRefusal::None);
    // Asked only of a folder that is there and before the other box is looked at.
    EXPECT_EQ(folderChoiceRefusal(locked, lowerCase(locked), "z:\\sys\\kernel", true, systemFiles),
              FolderChoiceRefusal::NotAccessible);
}

} // namespace
