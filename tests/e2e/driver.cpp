#include "driver.h"

#include <thread>
#include <vector>

namespace {

std::string ownFolder() {
    char path[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

template <class Test> bool waitUntil(std::chrono::milliseconds limit, Test test) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!test()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

struct WindowSearch {
    DWORD processId;
    std::string title;
    const char *className;
    HWND found = nullptr;
};

BOOL CALLBACK matchTopWindow(HWND window, LPARAM data) {
    auto &search = *reinterpret_cast<WindowSearch *>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window) || textOf(window) != search.title) return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (search.className && lstrcmpiA(className, search.className) != 0) return TRUE;
    search.found = window;
    return FALSE;
}

struct TitleSearch {
    std::string part;
    HWND found = nullptr;
};

BOOL CALLBACK matchTitlePart(HWND window, LPARAM data) {
    auto &search = *reinterpret_cast<TitleSearch *>(data);
    if (!IsWindowVisible(window) || textOf(window).find(search.part) == std::string::npos) return TRUE;
    search.found = window;
    return FALSE;
}

struct ChildSearch {
    std::string text;
    const char *className;
    HWND found = nullptr;
};

BOOL CALLBACK matchChild(HWND window, LPARAM data) {
    auto &search = *reinterpret_cast<ChildSearch *>(data);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (textOf(window) != search.text) return TRUE;
    if (search.className && lstrcmpiA(className, search.className) != 0) return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

std::string programUnderTestFolder() { return ownFolder(); }

QuillmereProcess::QuillmereProcess(const std::string &folder) {
    std::string commandLine = "\"" + folder + "quillmere.exe\"";
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                   &process_);
}

QuillmereProcess::~QuillmereProcess() {
    if (!process_.hProcess) return;
    if (running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool QuillmereProcess::waitForExit(std::chrono::milliseconds limit) {
    return process_.hProcess &&
           WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

bool QuillmereProcess::running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND waitForWindow(DWORD processId, const std::string &title, std::chrono::milliseconds limit,
                   const char *className) {
    WindowSearch search{processId, title, className};
    waitUntil(limit, [&] {
        EnumWindows(matchTopWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

HWND findChild(HWND parent, const std::string &text, const char *className) {
    ChildSearch search{text, className};
    EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string textOf(HWND window) {
    // WM_GETTEXT reaches controls of other processes, where GetWindowText would not.
    // The wide message, so that text outside the ANSI code page arrives whole (as UTF-8).
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    std::string utf8(text.size() * 3, '\0');
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                                          static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(static_cast<size_t>(bytes > 0 ? bytes : 0));
    return utf8;
}

std::string messageBoxText(HWND box) { return textOf(GetDlgItem(box, 0xFFFF)); }

void press(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

bool pressOk(HWND box, std::chrono::milliseconds limit) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok) ok = GetDlgItem(box, IDCANCEL);
    press(ok);
    return waitForGone(box, limit);
}

bool waitForGone(HWND window, std::chrono::milliseconds limit) {
    return waitUntil(limit, [&] { return !IsWindow(window); });
}

HWND waitForWindowTitled(const std::string &part, std::chrono::milliseconds limit) {
    TitleSearch search{part};
    waitUntil(limit, [&] {
        EnumWindows(matchTitlePart, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

void pressKey(HWND control, WPARAM key) {
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}
