#include "window/dropped_files.h"

#include "wide_text.h"

namespace {

// Frees the drop on every path out of the reading.
class DropReleased {
public:
    explicit DropReleased(HDROP drop) : drop_(drop) {}
    ~DropReleased() { DragFinish(drop_); }
    DropReleased(const DropReleased &) = delete;
    DropReleased &operator=(const DropReleased &) = delete;

private:
    HDROP drop_;
};

// One name of the drop, of any length: the system says how long it is first.
std::string droppedPath(HDROP drop, UINT index) {
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, index, name.data(), length + 1);
    name.resize(copied);
    return toUtf8(name);
}

} // namespace

DroppedFiles takeDroppedFiles(HDROP drop) {
    const DropReleased released(drop);
    DroppedFiles dropped;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) dropped.paths.push_back(droppedPath(drop, i));
    dropped.inClientArea = DragQueryPoint(drop, &dropped.point) != FALSE;
    return dropped;
}

PathKind pathKind(const std::string &path) noexcept {
    try {
        const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
    } catch (...) {
        return PathKind::Missing;
    }
}

bool pointOnControl(HWND window, POINT point, HWND control) {
    RECT place;
    if (!control || !GetWindowRect(control, &place)) return false;
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT *>(&place), 2);
    return PtInRect(&place, point) != FALSE;
}

void acceptDroppedFiles(HWND window) {
    constexpr UINT copyGlobalData = 0x0049; // WM_COPYGLOBALDATA, which carries the drop across the filter
    for (const UINT message :
         {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), copyGlobalData})
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
    DragAcceptFiles(window, TRUE);
}
