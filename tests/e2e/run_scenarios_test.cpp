// Runs of the three operations, started from settings stored beforehand and driven from outside:
// the files and clipboard text they leave, the failed-files window and its log, and every message
// a run gives instead of starting.
#include "scenario_fixture.h"

#include "handles.h"

#include <cstdio>
#include <fstream>

namespace {

const std::string fileReady = "File is ready!        ";
const std::string allDone = "All done!               ";
const std::string clipboardReady = "Text is available on the Clipboard!      ";

HWND runButton(HWND main) { return findChild(main, "Replace tabs with spaces !", "Button"); }

void putOnClipboard(const std::string &text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    if (!text.empty()) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        SetClipboardData(CF_TEXT, memory);
    }
    CloseClipboard();
}

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "(clipboard busy)";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char *>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool anyTemporaryFileIn(const std::string &folder, DWORD minimumSize = 0);

class Runs : public Scenario {
protected:
    void chooseOperation(const std::string &operation, bool fixedTabStops, int spaces) {
        storeSetting("OperationClip", operation == "clipboard" ? "True" : "False");
        storeSetting("OperationSingle", operation == "single" ? "True" : "False");
        storeSetting("OperationMultiple", operation == "multiple" ? "True" : "False");
        storeSetting("FixedTABS", fixedTabStops ? "True" : "False");
        storeSetting("FixedSpaces", fixedTabStops ? "False" : "True");
        storeSetting("SpacesToUse", std::to_string(spaces));
    }

    // Starts the program, presses the run button and answers the message box with this title;
    // returns its text ("" when none came).
    std::string runAndAnswer(const std::string &title) {
        HWND main = start();
        if (!main) return "";
        press(runButton(main));
        return answer(title);
    }

    HWND start() {
        quillmere_ = std::make_unique<QuillmereProcess>();
        main_ = waitForWindow(quillmere_->id(), "Quillmere");
        EXPECT_NE(main_, nullptr);
        return main_;
    }

    std::string answer(const std::string &title) {
        HWND box = waitForMessageBox(quillmere_->id(), title);
        if (!box) return "";
        const std::string text = messageBoxText(box);
        EXPECT_TRUE(pressOk(box));
        return text;
    }

    std::string boxText(int index) {
        const auto boxes = childrenOfClass(main_, "Edit");
        return index < static_cast<int>(boxes.size()) ? textOf(boxes[index]) : "(no box)";
    }

    // Closes the program with Esc, as a user would; it saves its settings on the way.
    void stop() {
        if (quillmere_ && main_ && quillmere_->running()) {
            PostMessageA(runButton(main_), WM_KEYDOWN, VK_ESCAPE, 0);
            EXPECT_TRUE(quillmere_->waitForExit(10s));
        }
        quillmere_.reset();
        main_ = nullptr;
    }

    void TearDown() override {
        stop();
        Scenario::TearDown();
    }

    std::unique_ptr<QuillmereProcess> quillmere_;
    HWND main_ = nullptr;
};

TEST_F(Runs, SingleFileWithAFixedNumberOfSpaces) {
    const std::string source = writeFile("In File.txt", "a\tb\r\n\tc\r\n");
    storeSetting("SourceS", source);
    storeSetting("DestinationS", temp() + "Out File.txt");
    chooseOperation("single", false, 3);
    EXPECT_EQ(runAndAnswer("Quillmere"), fileReady);
    EXPECT_EQ(readFile(temp() + "Out File.txt"), "a   b\r\n   c\r\n\r\n");
    EXPECT_EQ(readFile(source), "a\tb\r\n\tc\r\n");
}

TEST_F(Runs, SingleFileWithTabStopsReplacesAnEarlierDestinationWhole) {
    const std::string source = writeFile("in.txt", "ab\tc\r\n");
    writeFile("out.txt", "an older and much longer text\r\n");
    storeSetting("SourceS", source);
    storeSetting("DestinationS", temp() + "out.txt");
    chooseOperation("single", true, 4);
    EXPECT_EQ(runAndAnswer("Quillmere"), fileReady);
    EXPECT_EQ(readFile(temp() + "out.txt"), "ab  c\r\n");
}

TEST_F(Runs, SingleFileRefusesTheSourceUnderItsShortNameAsDestination) {
    const std::string source = writeFile("Source File.txt", "a\tb\r\n");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(source.c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_NE(std::string(shortPath), source);
    storeSetting("SourceS", source);
    storeSetting("DestinationS", shortPath);
    chooseOperation("single", false, 3);
    EXPECT_EQ(runAndAnswer("Attention!"), "The source and destination file cannot be the same.\r\n"
                                          "Please save under another file name..." +
                                              std::string(28, ' '));
    stop();
    EXPECT_EQ(readFile(source), "a\tb\r\n");
}

TEST_F(Runs, FolderRunSkipsAFileHeldOpenAndTheFailedFilesWindowSavesTheLog) {
    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    writeFile("src\\free.txt", "\tfree\r\n");
    const std::string held = writeFile("src\\held.txt", "\theld\r\n");
    storeSetting("SourceM", temp() + "src");
    storeSetting("DestinationM", temp() + "out");
    chooseOperation("multiple", true, 8);
    FileHandle writer(CreateFileA(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer.valid());

    EXPECT_EQ(runAndAnswer("Quillmere"), allDone);
    HWND failed = waitForWindow(quillmere_->id(), "Unable to convert:");
    ASSERT_NE(failed, nullptr);
    const auto lists = childrenOfClass(failed, "ListBox");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(SendMessageA(lists[0], LB_GETCOUNT, 0, 0), 1);
    press(findChild(failed, "&Save this info", "Button"));
    const std::string log = dataFolder() + "errorlog.txt";
    EXPECT_EQ(answer("Log updated"), "Info was written to :\r\n" + log);
    press(findChild(failed, "&Proceed", "Button"));
    EXPECT_TRUE(waitForGone(failed));

    EXPECT_NE(readFile(log).find(held), std::string::npos);
    EXPECT_EQ(readFile(temp() + "out\\free.txt"), "        free\r\n");
    EXPECT_EQ(GetFileAttributesA((temp() + "out\\held.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Runs, FolderRunKeepsAFileWhoseShortNameIsASourcesNameAndListsThatSource) {
    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    const std::string kept = writeFile("out\\report_final.txt", "the only copy\r\n");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(kept.c_str(), shortPath, MAX_PATH), 0u);
    const std::string alias = std::string(shortPath).substr(std::string(shortPath).rfind('\\') + 1);
    ASSERT_NE(alias, "report_final.txt"); // REPO~2ZS.TXT under Wine, REPORT~1.TXT on Windows
    const std::string aliased = writeFile("src\\" + alias, "\talias\r\n");
    writeFile("src\\free.txt", "\tfree\r\n");
    storeSetting("SourceM", temp() + "src");
    storeSetting("DestinationM", temp() + "out");
    chooseOperation("multiple", true, 4);

    EXPECT_EQ(runAndAnswer("Quillmere"), allDone);
    HWND failed = waitForWindow(quillmere_->id(), "Unable to convert:");
    ASSERT_NE(failed, nullptr);
    const auto lists = childrenOfClass(failed, "ListBox");
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(SendMessageA(lists[0], LB_GETCOUNT, 0, 0), 1);
    wchar_t entry[MAX_PATH * 2] = {};
    SendMessageW(lists[0], LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(utf8Of(entry), aliased);
    press(findChild(failed, "&Proceed", "Button"));
    EXPECT_TRUE(waitForGone(failed));

    EXPECT_EQ(readFile(kept), "the only copy\r\n");
    EXPECT_EQ(readFile(temp() + "out\\free.txt"), "    free\r\n");
    EXPECT_FALSE(anyTemporaryFileIn(temp() + "out\\"));
}

// Whole files only: a destination is the converted text or not there; no temporary file is left.
void expectOnlyWholeDestinations(const std::string &folder, int files, const std::string &converted) {
    int present = 0;
    for (int i = 0; i < files; ++i) {
        const std::string path = folder + "f" + std::to_string(i) + ".txt";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        ++present;
        ASSERT_EQ(readBytes(path), converted) << path;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "~qm*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    std::printf("%d of %d destinations written before the close\n", present, files);
}

TEST_F(Runs, CloseDuringAFolderRunEndsTheProgramAndLeavesOnlyWholeFiles) {
    constexpr int files = 2000;
    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    std::string text, converted;
    for (int line = 0; line < 40; ++line) {
        text += "\tline\tend\r\n";
        converted += "        line    end\r\n";
    }
    for (int i = 0; i < files; ++i) writeFile("src\\f" + std::to_string(i) + ".txt", text);
    storeSetting("SourceM", temp() + "src");
    storeSetting("DestinationM", temp() + "out");
    chooseOperation("multiple", true, 8);
    ASSERT_NE(start(), nullptr);
    HWND bar = childrenOfClass(main_, "QuillmereProgressBar").at(0);
    press(runButton(main_));

    // Once the conversion pass has moved the bar.
    const auto limit = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < limit &&
           !(findChild(main_, "Converting, please wait ...") && SendMessageA(bar, WM_USER + 4, 0, 0) > 0))
        Sleep(20);
    ASSERT_NE(findChild(main_, "Converting, please wait ..."), nullptr);
    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(quillmere_->waitForExit(5s));
    expectOnlyWholeDestinations(temp() + "out\\", files, converted);
    EXPECT_EQ(storedSetting("DestinationM").value_or(""), temp() + "out");
}

// With minimumSize, only a temporary file that has had that many bytes written to it counts. Its size
// is asked of the file itself: a folder listing may show the size a file had when it was last closed.
bool anyTemporaryFileIn(const std::string &folder, DWORD minimumSize) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "~qm*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool any = false;
    do {
        WIN32_FILE_ATTRIBUTE_DATA now{};
        any = minimumSize == 0 ||
              (GetFileAttributesExA((folder + found.cFileName).c_str(), GetFileExInfoStandard, &now) &&
               (now.nFileSizeHigh != 0 || now.nFileSizeLow >= minimumSize));
    } while (!any && FindNextFileA(search, &found));
    FindClose(search);
    return any;
}

TEST_F(Runs, ProgramKilledWhileWritingADestinationLeavesNoTemporaryFile) {
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    std::string block;
    while (block.size() < (1u << 20)) block += "\tcolumn\tcolumn\tcolumn\r\n";
    const std::string source = temp() + "big.txt";
    {
        std::ofstream big(source, std::ios::binary);
        for (int i = 0; i < 96; ++i) big.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    storeSetting("SourceS", source);
    storeSetting("DestinationS", temp() + "out\\big.txt");
    chooseOperation("single", true, 8);
    ASSERT_NE(start(), nullptr);
    press(runButton(main_));

    const std::string out = temp() + "out\\";
    const auto limit = std::chrono::steady_clock::now() + 60s;
    // Killed while it writes: once text is in the temporary file, not in the moment between its
    // creation and its mark for deletion.
    while (std::chrono::steady_clock::now() < limit && !anyTemporaryFileIn(out, 1)) Sleep(1);
    ASSERT_TRUE(anyTemporaryFileIn(out, 1));
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, quillmere_->id());
    ASSERT_NE(process, nullptr);
    TerminateProcess(process, 1);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
    EXPECT_FALSE(quillmere_->running());

    // The system removes the file once the dead process's handles are closed.
    const auto removedBy = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < removedBy && anyTemporaryFileIn(out)) Sleep(20);
    EXPECT_FALSE(anyTemporaryFileIn(out));
    EXPECT_EQ(GetFileAttributesA((out + "big.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Killed right after 1, 10 and 100 files of a run over existing destinations have been put in place:
// every destination keeps its old text whole or has its new text whole, under its own name or, where
// the kill fell between the two renames of a replace, back under it after the next run, which also
// clears what the killed run left.
TEST_F(Runs, FolderRunKilledAmongTheCommitsLosesNoFileAndTheNextRunPutsAllRight) {
    constexpr int files = 300;
    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    const auto name = [](int file) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "f%03d.txt", file);
        return std::string(buffer);
    };
    const auto before = [](int file) { return "old " + std::to_string(file) + "\r\n"; };
    const auto after = [](int file) { return "    file    " + std::to_string(file) + "\r\n"; };
    for (int file = 0; file < files; ++file)
        writeFile("src\\" + name(file), "\tfile\t" + std::to_string(file) + "\r\n");
    storeSetting("SourceM", temp() + "src");
    storeSetting("DestinationM", temp() + "out");
    chooseOperation("multiple", true, 4);
    const std::string out = temp() + "out\\";
    for (const int killAfter : {1, 10, 100}) {
        SCOPED_TRACE(killAfter);
        for (int file = 0; file < files; ++file) writeFile("out\\" + name(file), before(file));
        ASSERT_NE(start(), nullptr);
        press(runButton(main_));
        const std::string watched = out + name(killAfter - 1);
        bool reached = false;
        for (const auto limit = std::chrono::steady_clock::now() + 60s;
             !reached && std::chrono::steady_clock::now() < limit;) {
            reached = readFile(watched) == after(killAfter - 1);
            if (!reached) Sleep(1);
        }
        ASSERT_TRUE(reached) << "file " << killAfter << " never went in place";
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, quillmere_->id());
        ASSERT_NE(process, nullptr);
        TerminateProcess(process, 1);
        EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
        CloseHandle(process);
        quillmere_.reset();
        int missing = 0;
        for (int file = 0; file < files; ++file) {
            if (GetFileAttributesA((out + name(file)).c_str()) == INVALID_FILE_ATTRIBUTES) {
                ++missing;
                continue;
            }
            const std::string text = readFile(out + name(file));
            EXPECT_TRUE(text == before(file) || text == after(file)) << name(file) << ": " << text;
        }
        EXPECT_LE(missing, 1);

        EXPECT_EQ(runAndAnswer("Quillmere"), allDone);
        stop();
        for (int file = 0; file < files; ++file)
            EXPECT_EQ(readFile(out + name(file)), after(file)) << name(file);
        EXPECT_FALSE(anyTemporaryFileIn(out));
    }
}

TEST_F(Runs, ClipboardWithTabStops) {
    chooseOperation("clipboard", true, 4);
    putOnClipboard("a\tb\r\nabcde\tf");
    EXPECT_EQ(runAndAnswer("Quillmere"), clipboardReady);
    EXPECT_EQ(clipboardText(), "a   b\r\nabcde   f\r\n");
}

TEST_F(Runs, ClipboardWithAFixedNumberOfSpaces) {
    chooseOperation("clipboard", false, 2);
    putOnClipboard("a\tb\r\nabcde\tf");
    EXPECT_EQ(runAndAnswer("Quillmere"), clipboardReady);
    EXPECT_EQ(clipboardText(), "a  b\r\nabcde  f\r\n");
}

TEST_F(Runs, ClipboardWithoutTextSaysTooBad) {
    chooseOperation("clipboard", true, 8);
    putOnClipboard("");
    EXPECT_EQ(runAndAnswer("Too bad..."), "There is no text on the Clipboard.       ");
}

TEST_F(Runs, SingleFileRefusesToStartWithoutItsChoices) {
    chooseOperation("single", true, 8);
    EXPECT_EQ(runAndAnswer("Attention!"), "Browse for a source file first, please!           ");
    stop();

    storeSetting("SourceS", writeFile("in.txt", "x"));
    EXPECT_EQ(runAndAnswer("Attention!"), "Define a destination file first, please!          ");
    stop();

    storeSetting("DestinationS", "");
    EXPECT_EQ(runAndAnswer("Attention!"), "Browse for a destination file first, please!      ");
}

TEST_F(Runs, SingleFileWhosePathsVanishedAfterStartIsRefusedAndResetOneByOne) {
    const std::string source = writeFile("in.txt", "x");
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    storeSetting("SourceS", source);
    storeSetting("DestinationS", temp() + "out\\new.txt");
    chooseOperation("single", true, 8);
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(boxText(0), source);

    DeleteFileA(source.c_str());
    press(runButton(main_));
    EXPECT_EQ(answer("Attention!"),
              "The source file is not available (anymore)...\r\nPick another file, please!       ");
    EXPECT_EQ(boxText(0), "Waiting ...");

    RemoveDirectoryA((temp() + "out").c_str());
    SetWindowTextA(childrenOfClass(main_, "Edit")[0], writeFile("again.txt", "y").c_str());
    press(runButton(main_));
    EXPECT_EQ(answer("Attention!"),
              "The destination folder is not available (anymore)...\r\nPick another folder, please!       ");
    EXPECT_EQ(boxText(1), "Waiting ...");
}

TEST_F(Runs, FolderRunRefusesToStartWithoutItsChoices) {
    chooseOperation("multiple", true, 8);
    EXPECT_EQ(runAndAnswer("Attention!"), "Browse for a source folder first, please!           ");
    stop();

    CreateDirectoryA((temp() + "src").c_str(), nullptr);
    writeFile("src\\a.txt", "x");
    storeSetting("SourceM", temp() + "src");
    EXPECT_EQ(runAndAnswer("Attention!"), "Define a destination folder first, please!          ");
}

TEST_F(Runs, FolderRunWhoseFoldersVanishedOrListIsEmptyIsRefused) {
    const std::string source = temp() + "src";
    CreateDirectoryA(source.c_str(), nullptr);
    CreateDirectoryA((temp() + "out").c_str(), nullptr);
    writeFile("src\\a.txt", "x");
    storeSetting("SourceM", source);
    storeSetting("DestinationM", temp() + "out");
    chooseOperation("multiple", true, 8);
    ASSERT_NE(start(), nullptr);

    // The extension filter's other entry leaves the list empty.
    HWND filter = childrenOfClass(main_, "ComboBox").at(0);
    SendMessageA(filter, CB_SETCURSEL, 1, 0);
    SendMessageA(main_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(filter), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(filter));
    press(runButton(main_));
    EXPECT_EQ(answer("Mmm..."), "No files available...                               ");

    DeleteFileA((temp() + "src\\a.txt").c_str());
    RemoveDirectoryA(source.c_str());
    press(runButton(main_));
    EXPECT_EQ(answer("Attention!"),
              "The source folder is not available (anymore)...\r\nPick another folder, please!       ");
    EXPECT_EQ(boxText(2), "Waiting ...");

    CreateDirectoryA(source.c_str(), nullptr);
    SetWindowTextA(childrenOfClass(main_, "Edit")[2], source.c_str());
    RemoveDirectoryA((temp() + "out").c_str());
    press(runButton(main_));
    EXPECT_EQ(answer("Attention!"),
              "The destination folder is not available (anymore)...\r\nPick another folder, please!       ");
    EXPECT_EQ(boxText(3), "Waiting ...");
}

} // namespace
