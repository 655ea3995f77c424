#include "window/controls.h"
#include "wide_text.h"
#include "window/layout.h"
#include "window/progress_bar.h"

#include <algorithm>
#include <vector>

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return toUtf8(text);
}

void fitLabelToCaption(HWND label) {
    wchar_t className[16] = {};
    GetClassNameW(label, className, 16);
    if (lstrcmpiW(className, L"Static") != 0) return;
    const LONG_PTR style = GetWindowLongPtrW(label, GWL_STYLE);
    if ((style & SS_TYPEMASK) != SS_LEFT && (style & SS_TYPEMASK) != SS_RIGHT) return;

    const std::wstring caption = toWide(windowText(label));
    HDC dc = GetDC(label);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);

    RECT rect, parent;
    GetWindowRect(label, &rect);
    MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT *>(&rect), 2);
    GetClientRect(GetParent(label), &parent);
    // A label with room for more than one line wraps its caption instead.
    if (rect.bottom - rect.top >= 2 * extent.cy) return;
    const int needed = extent.cx + 2;
    if (needed <= rect.right - rect.left) return;
    const bool rightAligned = (style & SS_TYPEMASK) == SS_RIGHT;
    const int left = rightAligned ? std::max<int>(0, rect.right - needed) : rect.left;
    const int right = rightAligned ? rect.right : std::min<int>(parent.right, rect.left + needed);
    SetWindowPos(label, nullptr, left, rect.top, right - left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(GetParent(label), &rect, TRUE);
}

// Transparent labels draw no background of their own: the parent paints it again under the
// label first, or the old caption would stay under the new one.
void Label::setCaption(const std::string &text) {
    SetWindowTextW(hwnd_, toWide(text).c_str());
    fitLabelToCaption(hwnd_);
    RECT place;
    GetWindowRect(hwnd_, &place);
    HWND parent = GetParent(hwnd_);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&place), 2);
    RedrawWindow(parent, &place, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Control::setForeColor(COLORREF colour, int systemColour) {
    colours_->setText(hwnd_, colour, systemColour);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

COLORREF Control::foreColor() const { return colours_->text(hwnd_).value_or(GetSysColor(COLOR_BTNTEXT)); }

namespace {

bool startsGroup(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_GROUP) != 0; }

bool isOption(HWND window) {
    const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return lstrcmpiW(className, L"Button") == 0 && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON);
}

// The group is the run of siblings from the last one marked WS_GROUP up to the next one; the
// system's own group walk would descend into the panels and lose its way.
std::vector<HWND> optionGroup(HWND option) {
    HWND first = option;
    while (!startsGroup(first) && GetWindow(first, GW_HWNDPREV)) first = GetWindow(first, GW_HWNDPREV);
    std::vector<HWND> group;
    for (HWND other = first; other; other = GetWindow(other, GW_HWNDNEXT)) {
        if (other != first && startsGroup(other)) break;
        if (isOption(other)) group.push_back(other);
    }
    return group;
}

void setTabStop(HWND control, bool tabStop) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    SetWindowLongPtrW(control, GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
}

} // namespace

void placeOptionGroupTabStop(HWND option) {
    const std::vector<HWND> group = optionGroup(option);
    if (group.empty()) return;
    auto selected = std::find_if(group.begin(), group.end(), [](HWND other) {
        return SendMessageW(other, BM_GETCHECK, 0, 0) == BST_CHECKED;
    });
    const HWND stop = selected == group.end() ? group.front() : *selected;
    for (HWND other : group) setTabStop(other, other == stop);
}

void OptionButton::setValue(bool selected) {
    SendMessageW(hwnd_, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
    if (selected)
        for (HWND other : optionGroup(hwnd_))
            if (other != hwnd_) SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
    placeOptionGroupTabStop(hwnd_);
}

bool moveInOptionGroup(const MSG &message) {
    if (message.message != WM_KEYDOWN || !isOption(message.hwnd)) return false;
    const WPARAM key = message.wParam;
    if (key != VK_UP && key != VK_DOWN && key != VK_LEFT && key != VK_RIGHT) return false;
    const std::vector<HWND> group = optionGroup(message.hwnd);
    const auto at = std::find(group.begin(), group.end(), message.hwnd);
    if (at == group.end()) return false;
    const std::ptrdiff_t count = static_cast<std::ptrdiff_t>(group.size());
    const std::ptrdiff_t step = (key == VK_UP || key == VK_LEFT) ? count - 1 : 1;
    const HWND next = group[static_cast<size_t>((at - group.begin() + step) % count)];
    SetFocus(next);
    SendMessageW(next, BM_CLICK, 0, 0);
    return true;
}

void pressFocusedPushButton(HWND window) {
    HWND focus = GetFocus();
    if (!focus || !IsChild(window, focus)) return;
    const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) SendMessageW(focus, BM_CLICK, 0, 0);
}

namespace {

std::string itemText(HWND control, UINT lengthMessage, UINT textMessage, int32_t index) {
    const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return toUtf8(std::wstring_view(buffer.data(), static_cast<size_t>(length)));
}

} // namespace

std::string ListBox::list(int32_t index) const { return itemText(hwnd_, LB_GETTEXTLEN, LB_GETTEXT, index); }

std::vector<std::string> ListBox::items() const {
    // The list's own class procedure answers, past the subclasses that watch the mouse and show tips:
    // they take no part in reading text, and under Wine each of them looks up a window property for
    // every message, which costs more than the read itself in a list of thousands of entries.
    const auto listProcedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd_, GCLP_WNDPROC));
    const auto ask = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcW(listProcedure, hwnd_, message, wParam, lParam);
    };
    const LRESULT count = ask(LB_GETCOUNT, 0, 0);
    std::vector<std::string> entries;
    entries.reserve(static_cast<size_t>(count > 0 ? count : 0));
    std::vector<wchar_t> buffer;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ask(LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) break;
        buffer.assign(static_cast<size_t>(length) + 1, L'\0');
        ask(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
        entries.push_back(toUtf8(std::wstring_view(buffer.data(), static_cast<size_t>(length))));
    }
    return entries;
}

void ListBox::addItem(const std::string &item) {
    SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(item).c_str()));
}

std::string ComboBox::list(int32_t index) const {
    return itemText(hwnd_, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

void ComboBox::addItem(const std::string &item) {
    SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(item).c_str()));
}

bool ComboBox::setListIndex(int32_t index) {
    return SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != CB_ERR || index == -1;
}

void ProgressBar::setMax(int32_t maximum) {
    SendMessageW(hwnd_, PBQ_SETMAXIMUM, static_cast<WPARAM>(maximum), 0);
}
void ProgressBar::setValue(int32_t value) {
    SendMessageW(hwnd_, PBQ_SETVALUE, static_cast<WPARAM>(value), 0);
}
void ProgressBar::useSystemColours(bool system) {
    SendMessageW(hwnd_, PBQ_SETSYSTEMCOLOURS, system ? TRUE : FALSE, 0);
}
int32_t ProgressBar::max() const { return static_cast<int32_t>(SendMessageW(hwnd_, PBQ_GETMAXIMUM, 0, 0)); }
int32_t ProgressBar::value() const { return static_cast<int32_t>(SendMessageW(hwnd_, PBQ_GETVALUE, 0, 0)); }

std::string listItemTipAt(const ListBox &list, float xTwips, float yTwips) {
    const int dpi = screenDpi();
    const int x = twipsToNearestPixel(xTwips, dpi);
    const int y = twipsToNearestPixel(yTwips, dpi);
    const auto reply = static_cast<int32_t>(SendMessageW(list.hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y)));
    if (reply < 0 || reply >= list.listCount()) return {};
    std::string tip(1, ' ');
    tip.append(list.list(reply)).push_back(' ');
    return tip;
}

void showListItemTip(ListBox &list, int16_t button, float xTwips, float yTwips) {
    if (button != 0) return;
    list.setToolTipText(listItemTipAt(list, xTwips, yTwips));
}
