// The error message and its policies, the path checks and the data folder.
#include "win_fixture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include <winioctl.h>
#include <winternl.h>

#include "app_error.h"
#include "appdata.h"
#include "clipboard.h"
#include "desktop/show_error.h"
#include "folders.h"
#include "handles.h"
#include "running_copy.h"
#include "text_files.h"
#include "window/progress_bar.h"
#include "window/taskbar_progress.h"

namespace {

// One brush per colour, not one per pixel column: columns of one colour make one band.
TEST(ProgressBands, ColumnsOfOneColourShareABandAndTheBandsCoverTheFilledPart) {
    // Three columns: cyan, half-way (green 255 * 1 / 2 = 127 off), blue.
    EXPECT_EQ(progressBands(3, 3),
              (std::vector<ProgressBand>{
                  {0, 1, RGB(0, 255, 255)}, {1, 2, RGB(0, 128, 255)}, {2, 3, RGB(0, 0, 255)}}));
    // 511 columns over 255 steps of green: two columns a colour, the last one alone.
    const std::vector<ProgressBand> wide = progressBands(511, 511);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(wide.front(), (ProgressBand{0, 2, RGB(0, 255, 255)}));
    EXPECT_EQ(wide[1], (ProgressBand{2, 4, RGB(0, 254, 255)}));
    EXPECT_EQ(wide.back(), (ProgressBand{510, 511, RGB(0, 0, 255)}));
    // A half-full bar stops half-way, at the colour of its last column.
    const std::vector<ProgressBand> half = progressBands(256, 511);
    ASSERT_FALSE(half.empty());
    EXPECT_EQ(half.back().right, 256);
    EXPECT_EQ(half.back().colour, RGB(0, 128, 255));
    EXPECT_TRUE(progressBands(0, 511).empty());
    EXPECT_EQ(progressBands(1, 1), (std::vector<ProgressBand>{{0, 1, RGB(0, 255, 255)}}));
}

TEST(RunningCopy, ASecondGuardSeesTheFirstAndTheNameIsFreeAgainOnceItIsGone) {
    const char *name = "Local\\Quillmere.RunningCopy.Test";
    {
        const RunningCopyGuard first(name);
        EXPECT_FALSE(first.anotherCopyRunning());
        const RunningCopyGuard second(name);
        EXPECT_TRUE(second.anotherCopyRunning());
    }
    const RunningCopyGuard again(name);
    EXPECT_FALSE(again.anotherCopyRunning());
}

// A first copy running elevated holds a mutex this copy may not open: that is a copy running too.
TEST(RunningCopy, AMutexThatCannotBeOpenedCountsAsAnotherCopy) {
    EXPECT_TRUE(anotherCopyFrom(false, ERROR_ACCESS_DENIED));
    EXPECT_TRUE(anotherCopyFrom(true, ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(anotherCopyFrom(true, ERROR_SUCCESS));
    EXPECT_FALSE(anotherCopyFrom(false, ERROR_INVALID_HANDLE));
}

class ErrorMessage : public WinTest {};

TEST_F(ErrorMessage, ShowsTheSevenLinesUnderTitleErrorWithoutIcon) {
    showErrorMessage(desk, AppError::of(5), "frmMain - countFILES");
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
    const bool finished = guarded(desk, "frmMain - KillTempFile1", [&] {
        ++stepsRun;
        raiseError(err::PermissionDenied);
        ++stepsRun;
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(stepsRun, 1);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_NE(desk.messages()[0].text.find("Error 70 - Permission denied\r\nfrmMain - KillTempFile1"),
              std::string::npos);
    EXPECT_TRUE(guarded(desk, "frmMain - KillTempFile2", [] {}));
    EXPECT_EQ(desk.messages().size(), 1u);
}

TEST_F(ErrorMessage, UnknownFailuresStillReachTheUserAsTheProgramsOwnMessage) {
    guarded(desk, "frmMain - countFILES", [] { throw std::runtime_error("boom"); });
    guarded(desk, "frmMain - countFILES", [] { throw std::bad_alloc(); });
    ASSERT_EQ(desk.messages().size(), 2u);
    EXPECT_NE(desk.messages()[0].text.find("Error 50003 - Unexpected error"), std::string::npos);
    EXPECT_NE(desk.messages()[1].text.find("Error 7 - Out of memory"), std::string::npos);
}

class PathChecks : public WinTest {};

TEST_F(PathChecks, FileExistsOnlyForAFileThatCanBeReadNow) {
    const std::string file = writeFile("notes.txt", "a\tb");
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(fileExists(temp() + "missing.txt"));
    EXPECT_FALSE(fileExists(temp())); // a folder
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

// A drive letter given to a folder the way Wine's own configuration does it (its mount manager), for
// as long as it lives. The root of such a drive lists no "." and ".." entries, as the root of an
// empty FAT32 or exFAT stick does not.
class MappedDrive {
public:
    MappedDrive(wchar_t letter, const std::string &folder) : letter_(letter) {
        using UnixName = char *(CDECL *)(LPCWSTR);
        const auto unixName = reinterpret_cast<UnixName>(
            GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name"));
        if (!unixName) return;
        char *path = unixName(wideOf(folder).c_str());
        if (!path) return;
        defined_ = define(path);
        HeapFree(GetProcessHeap(), 0, path);
    }
    ~MappedDrive() {
        if (defined_) define(nullptr);
    }
    MappedDrive(const MappedDrive &) = delete;
    MappedDrive &operator=(const MappedDrive &) = delete;
    bool defined() const { return defined_; }

private:
    struct UnixDrive { // Wine's mountmgr_unix_drive
        ULONG size, type, fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset, deviceOffset, labelOffset;
    };
    bool define(const char *unixPath) {
        std::vector<char> buffer(sizeof(UnixDrive) + (unixPath ? std::strlen(unixPath) + 1 : 0));
        auto *drive = reinterpret_cast<UnixDrive *>(buffer.data());
        drive->size = static_cast<ULONG>(buffer.size());
        drive->type = unixPath ? DRIVE_REMOVABLE : DRIVE_NO_ROOT_DIR;
        drive->letter = letter_;
        if (unixPath) {
            drive->mountPointOffset = sizeof(UnixDrive);
            std::strcpy(buffer.data() + sizeof(UnixDrive), unixPath);
        }
        const HANDLE manager =
            CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE) return false;
        DWORD returned = 0;
        const DWORD defineDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        const bool done = DeviceIoControl(manager, defineDrive, buffer.data(), drive->size, nullptr, 0,
                                          &returned, nullptr) != 0;
        CloseHandle(manager);
        return done;
    }
    wchar_t letter_;
    bool defined_ = false;
};

TEST_F(PathChecks, TheRootOfAnEmptyStickIsAFolderThoughItListsNothing) {
    const std::string folder = temp() + "empty stick";
    CreateDirectoryA(folder.c_str(), nullptr);
    const MappedDrive stick(L'q', folder);
    if (!stick.defined()) GTEST_SKIP() << "no drive letter can be given to a folder here";
    WIN32_FIND_DATAA found;
    ASSERT_EQ(FindFirstFileA("Q:\\*.*", &found), INVALID_HANDLE_VALUE); // no "." and ".." in a FAT root
    EXPECT_TRUE(DirExists("Q:\\"));
    EXPECT_TRUE(DirExists("q:"));
    writeFile("empty stick\\note.txt", "x");
    EXPECT_FALSE(DirExists("Q:\\note.txt"));
    EXPECT_FALSE(DirExists("Q:\\missing"));
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

// Another program holding the clipboard: a thread of this process, until told to let go.
class ClipboardHeld {
public:
    ClipboardHeld()
        : opened_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          letGo_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          closed_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), holder_([this] {
              // Held by a window of its own, as another program holds it.
              HWND window = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            nullptr, nullptr);
              if (OpenClipboard(window)) {
                  SetEvent(opened_);
                  WaitForSingleObject(letGo_, 30000);
                  CloseClipboard();
              }
              SetEvent(opened_);
              DestroyWindow(window);
              SetEvent(closed_);
          }) {
        EXPECT_EQ(WaitForSingleObject(opened_, 5000), WAIT_OBJECT_0);
    }
    ~ClipboardHeld() {
        letGo();
        holder_.join();
        for (HANDLE event : {opened_, letGo_, closed_}) CloseHandle(event);
    }
    ClipboardHeld(const ClipboardHeld &) = delete;
    ClipboardHeld &operator=(const ClipboardHeld &) = delete;

    // Returns once the clipboard is closed again.
    void letGo() {
        SetEvent(letGo_);
        WaitForSingleObject(closed_, 5000);
    }

private:
    HANDLE opened_, letGo_, closed_;
    std::thread holder_;
};

// A clock for the clipboard's patience: each wait only adds to the time told, and once that time
// reaches `letGoAt` the holder lets go of the clipboard.
struct PatienceClock {
    ClipboardHeld &held;
    DWORD letGoAt;
    DWORD now = 0;
    std::vector<DWORD> waits;
    void operator()(DWORD milliseconds) {
        waits.push_back(milliseconds);
        now += milliseconds;
        if (now >= letGoAt) held.letGo();
    }
};

void putClipboardText(const wchar_t *text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// Remote Desktop's clipboard and clipboard managers hold it for moments at a time: the waits double
// from 10 ms up to a second in all.
TEST(ClipboardAccess, AClipboardHeldForMomentsIsWaitedForAndOneHeldForSecondsIsReported) {
    putClipboardText(L"held text");
    {
        ClipboardHeld held;
        PatienceClock clock{held, 200};
        EXPECT_EQ(clipboardText(std::ref(clock)).value_or("<none>"), "held text");
        EXPECT_EQ(clock.waits, (std::vector<DWORD>{10, 20, 40, 80, 160}));
    }
    {
        ClipboardHeld held;
        PatienceClock clock{held, 1000};
        EXPECT_EQ(clipboardText(std::ref(clock)).value_or("<none>"), "held text");
        EXPECT_EQ(clock.waits, (std::vector<DWORD>{10, 20, 40, 80, 160, 320, 370}));
    }
    ClipboardHeld held;
    PatienceClock clock{held, 1001};
    try {
        clipboardText(std::ref(clock));
        ADD_FAILURE() << "opened";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, 521);
        EXPECT_EQ(error.description, "Can't open Clipboard");
    }
    EXPECT_EQ(clock.waits, (std::vector<DWORD>{10, 20, 40, 80, 160, 320, 370}));
}

} // namespace

class BlockReads : public WinTest {
protected:
    // 3 MiB of bytes that tell their offset: every 4 bytes hold the offset of the first of them.
    std::string numberedFile() {
        std::string bytes(3 * 1024 * 1024, '\0');
        for (std::uint32_t at = 0; at < bytes.size(); at += 4) std::memcpy(bytes.data() + at, &at, 4);
        return writeFile("numbered.bin", bytes);
    }
};

TEST_F(BlockReads, LargeFileComesInOrderInBlocksOfOneMebibyte) {
    const std::string path = numberedFile();
    const FileHandle file = openForReading(path, ShareWrite::Allowed);
    std::string read;
    std::size_t largest = 0;
    int blocks = 0;
    readBlocks(file, [&](const char *data, std::size_t size) {
        read.append(data, size);
        largest = std::max(largest, size);
        ++blocks;
    });
    EXPECT_EQ(blocks, 3);
    EXPECT_EQ(largest, 1024u * 1024);
    ASSERT_EQ(read.size(), 3u * 1024 * 1024);
    std::uint32_t at = 2 * 1024 * 1024 + 12;
    std::uint32_t stored = 0;
    std::memcpy(&stored, read.data() + at, 4);
    EXPECT_EQ(stored, 2u * 1024 * 1024 + 12);
    EXPECT_EQ(read, readFile(path));
}

// The system reads ahead of a file opened for sequential reading while the program converts what it
// has; the file's mode says whether the open asked for it.
TEST_F(BlockReads, FilesAreOpenedForReadingFromStartToEnd) {
    using QueryFile = LONG(WINAPI *)(HANDLE, IO_STATUS_BLOCK *, void *, ULONG, int);
    const auto query = reinterpret_cast<QueryFile>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
    ASSERT_NE(query, nullptr);
    constexpr int fileModeInformation = 16;
    constexpr ULONG sequentialOnly = 0x4; // FILE_SEQUENTIAL_ONLY
    const std::string path = writeFile("sequential.txt", "a\tb\r\n");
    for (const ShareWrite share : {ShareWrite::Allowed, ShareWrite::Denied}) {
        const FileHandle file = openForReading(path, share);
        IO_STATUS_BLOCK status{};
        ULONG mode = 0;
        ASSERT_EQ(query(file.get(), &status, &mode, sizeof mode, fileModeInformation), 0);
        EXPECT_EQ(mode & sequentialOnly, sequentialOnly);
    }
}

TEST_F(BlockReads, SmallFileIsOneBlockAndAnEmptyOneNone) {
    const FileHandle small = openForReading(writeFile("small.txt", "a\tb\r\n"), ShareWrite::Allowed);
    std::vector<std::string> blocks;
    readBlocks(small, [&](const char *data, std::size_t size) { blocks.emplace_back(data, size); });
    EXPECT_EQ(blocks, std::vector<std::string>{"a\tb\r\n"});
    const FileHandle empty = openForReading(writeFile("empty.txt", ""), ShareWrite::Allowed);
    readBlocks(empty, [&](const char *, std::size_t) { ADD_FAILURE() << "no block expected"; });
}

TEST_F(BlockReads, AFileJustOpenedIsReadToTheLengthGivenAndNoFurther) {
    const std::string path = writeFile("given.txt", "first line\r\nsecond\r\n");
    std::string read;
    const FileHandle file = openForReading(path, ShareWrite::Allowed);
    readBlocks(file, 12, [&](const char *data, std::size_t size) { read.append(data, size); });
    EXPECT_EQ(read, "first line\r\n");
    const FileHandle again = openForReading(path, ShareWrite::Allowed);
    try {
        readBlocks(again, 40, [](const char *, std::size_t) {});
        ADD_FAILURE() << "read past the end";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, 62); // shorter than told
    }
}

TEST_F(BlockReads, FileCutShortWhileReadFailsWith62InsteadOfMixingTexts) {
    const std::string path = numberedFile();
    const FileHandle file = openForReading(path, ShareWrite::Allowed);
    int blocks = 0;
    try {
        readBlocks(file, [&](const char *, std::size_t) {
            if (++blocks == 1) {
                FileHandle writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
                ASSERT_TRUE(writer.valid());
                ASSERT_TRUE(SetEndOfFile(writer.get()));
            }
        });
        ADD_FAILURE() << "no error after " << blocks << " blocks";
    } catch (const AppError &error) {
        EXPECT_EQ(error.number, 62);
        EXPECT_EQ(blocks, 1);
    }
}

TEST_F(BlockReads, FileGrownWhileReadIsReadAsItWasWhenTheReadBegan) {
    const std::string path = writeFile("growing.txt", std::string(1536 * 1024, 'a'));
    const FileHandle file = openForReading(path, ShareWrite::Allowed);
    std::size_t total = 0;
    bool grown = false;
    readBlocks(file, [&](const char *data, std::size_t size) {
        total += size;
        EXPECT_EQ(std::string(data, size).find_first_not_of('a'), std::string::npos);
        if (!grown) {
            grown = true;
            appendToFile(path, std::string(100 * 1024, 'b'));
        }
    });
    EXPECT_EQ(total, 1536u * 1024);
}

TEST_F(BlockReads, SinkThatThrowsEndsTheReadAndReleasesTheFile) {
    const std::string path = numberedFile();
    {
        const FileHandle file = openForReading(path, ShareWrite::Denied);
        EXPECT_THROW(readBlocks(file, [](const char *, std::size_t) { raiseError(err::DiskFull); }),
                     AppError);
    }
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// No call reaches the taskbar before it has announced the window's button; where it has no progress
// to show (Wine), the calls change nothing and fail nowhere.
TEST(TaskbarButton, WaitsForTheTaskbarToAnnounceTheButton) {
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UINT announced = RegisterWindowMessageW(L"TaskbarButtonCreated");
    {
        TaskbarButton button;
        button.windowMessage(announced); // no window yet
        EXPECT_FALSE(button.ready());
        button.attach(window);
        button.windowMessage(WM_PAINT);
        EXPECT_FALSE(button.ready());
        button.setProgress(1, 2);
        button.setError();
        button.clear();

        button.windowMessage(announced);
        EXPECT_TRUE(button.ready());
        button.setProgress(1, 2);
        button.setError();
        button.clear();
    }
    DestroyWindow(window);
}
