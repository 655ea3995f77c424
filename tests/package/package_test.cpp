// The installer, the uninstaller and the portable copy, tried in a Wine prefix of their own.
// QM_PACKAGE_DIR names the folder with quillmere-<version>-setup.exe; the portable zip has been
// unpacked into "C:\Portable Quill Mere\" before these tests start. The tests run in file order and
// each leaves Quillmere uninstalled.
#include "driver.h"
#include "quillmere_version.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

namespace {

const char *const version = QM_VERSION_TEXT;
const char *const uninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmere";
const char *const settingsKey = "Software\\Hollowcrest\\Quillmere";

std::string shellFolder(int id) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}
std::string defaultFolder() { return shellFolder(CSIDL_PROGRAM_FILES) + "\\Quillmere"; }
std::string shortcutPath() { return shellFolder(CSIDL_COMMON_PROGRAMS) + "\\Quillmere.lnk"; }
std::string dataFolder() { return shellFolder(CSIDL_APPDATA) + "\\Hollowcrest software\\Quillmere"; }
std::string setupPath() {
    const char *dir = std::getenv("QM_PACKAGE_DIR");
    return std::string(dir ? dir : "") + "\\quillmere-" + version + "-setup.exe";
}

bool exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The readme's heading: name and version over a rule of as many '=', with their line ends.
const std::string headingLine = std::string("Quillmere ") + version;
const std::string expectedHeading = headingLine + "\r\n" + std::string(headingLine.size(), '=') + "\r\n";

std::string heading(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::string start(expectedHeading.size(), '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<size_t>(file.gcount()));
    return start;
}

void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A value of HKLM's uninstall entry or of another key; "<none>" when missing.
std::string regText(HKEY root, const char *key, const char *name) {
    char value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return "<none>";
    return value;
}
DWORD regNumber(HKEY root, const char *key, const char *name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return 0;
    return value;
}
bool keyExists(HKEY root, const char *key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

// The program a shortcut file starts, or (workingFolder) the folder it starts in, read through the
// shell's own link object.
std::string shortcutTarget(const std::string &link, bool workingFolder = false) {
    std::string target;
    IShellLinkA *shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void **>(&shellLink))))
        return "<no link object>";
    IPersistFile *file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
        std::wstring wide(link.begin(), link.end());
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
            char path[MAX_PATH] = {};
            const HRESULT read = workingFolder ? shellLink->GetWorkingDirectory(path, MAX_PATH)
                                               : shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
            if (read == S_OK) target = path;
        }
        file->Release();
    }
    shellLink->Release();
    return target;
}

class Started {
public:
    explicit Started(const std::string &commandLine) {
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process_);
    }
    Started(const Started &) = delete;
    Started &operator=(const Started &) = delete;
    ~Started() {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    DWORD id() const { return process_.dwProcessId; }
    // The exit code, or -1 when the process did not end within the limit (or never started).
    long exitCode(std::chrono::milliseconds limit = 90s) {
        if (!process_.hProcess ||
            WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION process_{};
};

long run(const std::string &commandLine) { return Started(commandLine).exitCode(); }

// The user's own PATH as stored, and its value type; "<none>" when there is none.
const char *const environmentKey = "Environment";
std::string userPath(DWORD *type = nullptr) {
    std::string value(16384, '\0');
    DWORD size = static_cast<DWORD>(value.size());
    if (RegGetValueA(HKEY_CURRENT_USER, environmentKey, "Path",
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, type, value.data(),
                     &size) != ERROR_SUCCESS)
        return "<none>";
    return value.c_str();
}
void setUserPath(const std::string &value) {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, environmentKey, &key);
    RegSetValueExA(key, "Path", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

// A control of a window (or of its pages) with this text, once it is there.
HWND waitForChild(HWND parent, const std::string &text, std::chrono::milliseconds limit = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        HWND child = findChild(parent, text);
        if (child && IsWindowVisible(child)) return child;
        if (std::chrono::steady_clock::now() > deadline) return nullptr;
        Sleep(50);
    }
}

// Waits until every process started by the given one has ended; false when one still runs after
// the limit. Its children stay listed with its id as their parent after it has ended itself.
bool waitForChildren(DWORD parentId, std::chrono::milliseconds limit = 90s) {
    std::vector<HANDLE> children;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID != parentId) continue;
        if (HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) children.push_back(child);
    }
    CloseHandle(snapshot);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool ended = true;
    for (HANDLE child : children) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (WaitForSingleObject(child, static_cast<DWORD>(std::max<long long>(left.count(), 0))) !=
            WAIT_OBJECT_0)
            ended = false;
        CloseHandle(child);
    }
    return ended;
}

// Closes a window and waits for its process to end: a closed window's process may still hold its
// working folder for a while.
bool closeAndWaitForProcess(HWND window, std::chrono::milliseconds limit = 10s) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// A silent install, into the given folder when there is one (/D= comes last and is never quoted).
long installSilently(const std::string &folder = "") {
    return run("\"" + setupPath() + "\" /S" + (folder.empty() ? "" : " /D=" + folder));
}

// The uninstaller copies itself away, starts the copy and returns at once; the copy does the work.
bool uninstallSilently(const std::string &folder, const std::string &options = "") {
    Started uninstaller("\"" + folder + "\\uninstall.exe\" /S" + options);
    if (uninstaller.exitCode() != 0 || !waitForChildren(uninstaller.id())) return false;
    return !keyExists(HKEY_LOCAL_MACHINE, uninstallKey);
}

void seedUserData() {
    CreateDirectoryA((shellFolder(CSIDL_APPDATA) + "\\Hollowcrest software").c_str(), nullptr);
    CreateDirectoryA(dataFolder().c_str(), nullptr);
    writeFile(dataFolder() + "\\extensions.txt", "txt\r\nbas\r\n");
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, settingsKey, &key);
    RegSetValueExA(key, "Spaces", 0, REG_SZ, reinterpret_cast<const BYTE *>("4"), 2);
    RegCloseKey(key);
    RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Hollowcrest\\Another program", &key);
    RegCloseKey(key);
}

class Package : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    void SetUp() override {
        ASSERT_TRUE(exists(setupPath())) << setupPath();
        ASSERT_FALSE(keyExists(HKEY_LOCAL_MACHINE, uninstallKey))
            << "an earlier test left Quillmere installed";
    }
};

TEST_F(Package, InstallerCarriesTheVersionAndThePublisher) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(setupPath().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(setupPath().c_str(), 0, size, block.data()));
    auto text = [&](const char *name) {
        char *value = nullptr;
        UINT length = 0;
        const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
        return VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void **>(&value), &length) &&
                       value
                   ? std::string(value)
                   : std::string("<none>");
    };
    EXPECT_EQ(text("ProductName"), "Quillmere");
    EXPECT_EQ(text("ProductVersion"), version);
    EXPECT_EQ(text("CompanyName"), "Hollowcrest");
    EXPECT_EQ(ExtractIconExA(setupPath().c_str(), -1, nullptr, nullptr, 0), 1u); // the program's icon
}

TEST_F(Package, SilentInstallPutsTheProgramTheShortcutAndTheUninstallEntryInPlace) {
    ASSERT_EQ(installSilently(), 0);
    const std::string folder = defaultFolder();
    EXPECT_EQ(folder, "C:\\Program Files\\Quillmere"); // a 32-bit prefix: no "(x86)"
    EXPECT_TRUE(exists(folder + "\\quillmere.exe"));
    EXPECT_TRUE(exists(folder + "\\uninstall.exe"));
    EXPECT_EQ(heading(folder + "\\readme.txt"), expectedHeading);
    // The console program is there and works: a file with a tab is found by --check (exit code 1).
    writeFile("C:\\tabbed.txt", "a\tb\r\n");
    EXPECT_EQ(run("\"" + folder + "\\quillmerec.exe\" --check C:\\tabbed.txt"), 1);
    EXPECT_EQ(run("\"" + folder + "\\quillmerec.exe\" --version"), 0);
    DeleteFileA("C:\\tabbed.txt");
    // A silent install starts nothing, and leaves the PATH alone unless asked.
    EXPECT_EQ(waitForWindowTitled("Quillmere", 2s), nullptr);
    EXPECT_EQ(userPath(), "<none>");
    EXPECT_EQ(shortcutTarget(shortcutPath()), "C:\\Program Files\\Quillmere\\quillmere.exe");
    EXPECT_EQ(shortcutTarget(shortcutPath(), true), "C:\\Program Files\\Quillmere");

    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName"), "Quillmere");
    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayVersion"), version);
    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "Publisher"), "Hollowcrest");
    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString"),
              "\"C:\\Program Files\\Quillmere\\uninstall.exe\"");
    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayIcon"),
              "C:\\Program Files\\Quillmere\\quillmere.exe,0");
    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "InstallLocation"), "C:\\Program Files\\Quillmere");
    // The program is about a megabyte and more; the size is in KB.
    EXPECT_GT(regNumber(HKEY_LOCAL_MACHINE, uninstallKey, "EstimatedSize"), 1000u);
    EXPECT_LT(regNumber(HKEY_LOCAL_MACHINE, uninstallKey, "EstimatedSize"), 20000u);

    // The installed program starts, F1 finds its readme, and it closes.
    {
        QuillmereProcess quillmere(folder + "\\");
        HWND main = waitForWindow(quillmere.id(), "Quillmere");
        ASSERT_NE(main, nullptr);
        HWND runButton = findChild(main, "Replace tabs with spaces !", "Button");
        pressKey(runButton, VK_F1);
        HWND notepad = waitForWindowTitled("readme.txt - Notepad");
        ASSERT_NE(notepad, nullptr);
        EXPECT_TRUE(closeAndWaitForProcess(notepad));

        // While it runs, neither the installer nor the uninstaller goes on (a silent run cancels).
        EXPECT_EQ(installSilently(), 2);
        // _?= keeps the uninstaller in place, so that its exit code is the answer.
        EXPECT_EQ(run("\"" + folder + "\\uninstall.exe\" /S _?=" + folder), 2);
        EXPECT_TRUE(exists(folder + "\\quillmere.exe"));
        pressKey(runButton, VK_ESCAPE);
        EXPECT_TRUE(quillmere.waitForExit(10s));
    }

    // Installing again over it works and restores what was changed.
    writeFile(folder + "\\readme.txt", "changed by hand\r\n");
    ASSERT_EQ(installSilently(), 0);
    EXPECT_EQ(heading(folder + "\\readme.txt"), expectedHeading);
    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayVersion"), version);

    // A silent uninstall removes the program, keeps the user's settings and data.
    seedUserData();
    ASSERT_TRUE(uninstallSilently(folder));
    EXPECT_FALSE(exists(folder));
    EXPECT_FALSE(exists(shortcutPath()));
    EXPECT_EQ(userPath(), "<none>");
    EXPECT_TRUE(exists(dataFolder() + "\\extensions.txt"));
    EXPECT_EQ(regText(HKEY_CURRENT_USER, settingsKey, "Spaces"), "4");
}

TEST_F(Package, AddToPathPutsTheFolderOnTheUsersPathOnceAndUninstallTakesItOff) {
    setUserPath("C:\\Tools;%USERPROFILE%\\bin");
    ASSERT_EQ(run("\"" + setupPath() + "\" /S /ADDTOPATH"), 0);
    DWORD type = 0;
    EXPECT_EQ(userPath(&type), "C:\\Tools;%USERPROFILE%\\bin;C:\\Program Files\\Quillmere");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ)); // %USERPROFILE% stays to be expanded
    // Installing again, the folder spelled in another case already there: not added twice.
    setUserPath("C:\\Tools;c:\\program files\\quillmere;%USERPROFILE%\\bin");
    ASSERT_EQ(run("\"" + setupPath() + "\" /S /ADDTOPATH"), 0);
    EXPECT_EQ(userPath(), "C:\\Tools;c:\\program files\\quillmere;%USERPROFILE%\\bin");

    ASSERT_TRUE(uninstallSilently(defaultFolder()));
    EXPECT_EQ(userPath(&type), "C:\\Tools;%USERPROFILE%\\bin");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));

    // Moved to another folder, the old folder leaves the PATH and the new one takes its place.
    ASSERT_EQ(run("\"" + setupPath() + "\" /S /ADDTOPATH"), 0);
    ASSERT_EQ(run("\"" + setupPath() + "\" /S /ADDTOPATH /D=C:\\Quill Tools"), 0);
    EXPECT_EQ(userPath(), "C:\\Tools;%USERPROFILE%\\bin;C:\\Quill Tools");
    ASSERT_TRUE(uninstallSilently("C:\\Quill Tools"));
    EXPECT_EQ(userPath(), "C:\\Tools;%USERPROFILE%\\bin");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, environmentKey, "Path");
}

// A developer's PATH with a few toolchains runs past the 1,024 characters of the installer's own
// strings: the folder still goes on, and comes off again, every other entry kept.
TEST_F(Package, AddToPathWorksOnAPathOf5000Characters) {
    std::string longPath;
    for (int entry = 0; longPath.size() < 5000; ++entry)
        longPath += "C:\\Toolchains\\toolchain-number-" + std::to_string(entry) + "\\bin;";
    longPath += "%USERPROFILE%\\bin";
    setUserPath(longPath);
    ASSERT_EQ(run("\"" + setupPath() + "\" /S /ADDTOPATH"), 0);
    DWORD type = 0;
    EXPECT_EQ(userPath(&type), longPath + ";C:\\Program Files\\Quillmere");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    ASSERT_TRUE(uninstallSilently(defaultFolder()));
    EXPECT_EQ(userPath(), longPath);
    // With no PATH of the user's at all, one is made and taken away again.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, environmentKey, "Path");
    ASSERT_EQ(run("\"" + setupPath() + "\" /S /ADDTOPATH"), 0);
    EXPECT_EQ(userPath(), "C:\\Program Files\\Quillmere");
    ASSERT_TRUE(uninstallSilently(defaultFolder()));
    EXPECT_EQ(userPath(), "<none>");
}

// Clicked through as a person would: the PATH page's box starts unticked, and the last page offers
// "Run Quillmere" ticked, which starts the program.
TEST_F(Package, InstallerPagesOfferThePathUntickedAndRunQuillmereTicked) {
    Started setup("\"" + setupPath() + "\"");
    // Its title ends in a blank.
    HWND wizard = waitForWindow(setup.id(), "Quillmere " + std::string(version) + " Setup ", 20s);
    ASSERT_NE(wizard, nullptr);
    HWND next = waitForChild(wizard, "&Next >");
    ASSERT_NE(next, nullptr);
    press(next); // the folder page
    HWND pathBox = waitForChild(wizard, "&Add the Quillmere folder to my PATH");
    ASSERT_NE(pathBox, nullptr);
    EXPECT_EQ(SendMessageA(pathBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    press(waitForChild(wizard, "&Install"));
    HWND runBox = waitForChild(wizard, "Run Quillmere", 60s);
    ASSERT_NE(runBox, nullptr);
    EXPECT_EQ(SendMessageA(runBox, BM_GETCHECK, 0, 0), BST_CHECKED);
    press(waitForChild(wizard, "&Finish"));
    EXPECT_EQ(setup.exitCode(), 0);

    HWND quillmere = waitForWindowTitled("Quillmere", 20s);
    ASSERT_NE(quillmere, nullptr);
    EXPECT_EQ(textOf(quillmere), "Quillmere");
    EXPECT_TRUE(closeAndWaitForProcess(quillmere));
    EXPECT_EQ(userPath(), "<none>");
    ASSERT_TRUE(uninstallSilently(defaultFolder()));
}

TEST_F(Package, UninstallWithRemovalTakesTheUsersSettingsAndDataToo) {
    ASSERT_EQ(installSilently(), 0);
    seedUserData();
    ASSERT_TRUE(uninstallSilently(defaultFolder(), " /REMOVEUSERDATA"));
    EXPECT_FALSE(exists(defaultFolder()));
    EXPECT_FALSE(exists(dataFolder()));
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, settingsKey));
    // Only Quillmere's own: the maker's other keys stay.
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, "Software\\Hollowcrest\\Another program"));
}

// Blanks in the name and a trailing backslash; the earlier install in the default folder is replaced.
TEST_F(Package, InstallIntoAFolderWithBlanksAndATrailingBackslashReplacesTheEarlierOne) {
    ASSERT_EQ(installSilently(), 0);
    ASSERT_EQ(installSilently("C:\\Quill Mere Tools\\"), 0);
    EXPECT_FALSE(exists(defaultFolder()));
    EXPECT_TRUE(exists("C:\\Quill Mere Tools\\quillmere.exe"));
    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "InstallLocation"), "C:\\Quill Mere Tools");
    EXPECT_EQ(regText(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString"),
              "\"C:\\Quill Mere Tools\\uninstall.exe\"");
    EXPECT_EQ(shortcutTarget(shortcutPath()), "C:\\Quill Mere Tools\\quillmere.exe");

    // The uninstaller leaves files of the user's own in that folder alone, and the folder with them.
    writeFile("C:\\Quill Mere Tools\\notes.txt", "mine\r\n");
    ASSERT_TRUE(uninstallSilently("C:\\Quill Mere Tools"));
    EXPECT_FALSE(exists("C:\\Quill Mere Tools\\quillmere.exe"));
    EXPECT_FALSE(exists("C:\\Quill Mere Tools\\uninstall.exe"));
    EXPECT_TRUE(exists("C:\\Quill Mere Tools\\notes.txt"));
    EXPECT_FALSE(exists(shortcutPath()));
}

TEST_F(Package, UninstallAfterTheProgramFolderWasDeletedByHand) {
    ASSERT_EQ(installSilently(), 0);
    const std::string kept = shellFolder(CSIDL_COMMON_APPDATA) + "\\uninstall-kept.exe";
    ASSERT_TRUE(CopyFileA((defaultFolder() + "\\uninstall.exe").c_str(), kept.c_str(), FALSE));
    for (const char *name : {"quillmere.exe", "quillmerec.exe", "readme.txt", "uninstall.exe"})
        ASSERT_TRUE(DeleteFileA((defaultFolder() + "\\" + name).c_str()));
    // At once: nothing the installer started works in the program folder.
    EXPECT_TRUE(RemoveDirectoryA(defaultFolder().c_str())) << GetLastError();

    EXPECT_EQ(run("\"" + kept + "\" /S _?=" + defaultFolder()), 0);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, uninstallKey));
    EXPECT_FALSE(exists(shortcutPath()));
    DeleteFileA(kept.c_str());
}

// A folder below a file can be neither made nor written, also for an administrator. A silent run
// ends with exit code 3 and does not fall back to another folder.
TEST_F(Package, SilentInstallIntoAFolderThatCannotBeWrittenEndsWithCode3AndLeavesNothing) {
    writeFile("C:\\blocker.txt", "a file, not a folder\r\n");
    const std::string folder = "C:\\blocker.txt\\Quillmere";
    EXPECT_EQ(installSilently(folder), 3);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, uninstallKey));
    EXPECT_FALSE(exists(shortcutPath()));
    EXPECT_FALSE(exists(defaultFolder()));
    EXPECT_EQ(installSilently("Q:\\No Such Drive\\Quillmere"), 3);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, uninstallKey));
    EXPECT_FALSE(exists(defaultFolder()));

    DeleteFileA("C:\\blocker.txt");
}

// The portable copy, unpacked from the zip into a folder whose name has blanks, runs from there.
TEST_F(Package, PortableCopyRunsFromAFolderWithBlanks) {
    const std::string folder = "C:\\Portable Quill Mere\\";
    ASSERT_TRUE(exists(folder + "quillmere.exe"));
    writeFile(folder + "clean.txt", "no tabs\r\n");
    EXPECT_EQ(run("\"" + folder + "quillmerec.exe\" --check \"" + folder + "clean.txt\""), 0);
    DeleteFileA((folder + "clean.txt").c_str());
    EXPECT_EQ(heading(folder + "readme.txt"), expectedHeading);
    QuillmereProcess quillmere(folder);
    HWND main = waitForWindow(quillmere.id(), "Quillmere");
    ASSERT_NE(main, nullptr);
    HWND runButton = findChild(main, "Replace tabs with spaces !", "Button");
    pressKey(runButton, VK_F1);
    HWND notepad = waitForWindowTitled("readme.txt - Notepad");
    ASSERT_NE(notepad, nullptr);
    EXPECT_TRUE(closeAndWaitForProcess(notepad));
    pressKey(runButton, VK_ESCAPE);
    EXPECT_TRUE(quillmere.waitForExit(10s));
}

} // namespace
