#include "window/layout.h"
#include "wide_text.h"
#include "window/controls.h"
#include "window/progress_bar.h"
#include "window/tooltips.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

LRESULT CALLBACK panelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_DRAWITEM: return SendMessageW(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
    default: return DefWindowProcW(panel, message, wParam, lParam);
    }
}

struct Placed {
    const ControlRow *design;
    int index; // the row's place in the table
};

struct KindStyle {
    const char *className;
    DWORD style;
    DWORD exStyle;
};

KindStyle styleFor(const ControlRow &design) {
    const bool tabStop = design.tabIndex >= 0 && !(design.flags & layout::NoTabStop);
    const DWORD tab = tabStop ? WS_TABSTOP : 0;
    const DWORD group = (design.flags & layout::GroupStart) ? WS_GROUP : 0;
    switch (design.kind) {
    case ControlKind::Button: return {"BUTTON", BS_PUSHBUTTON | tab, 0};
    case ControlKind::OptionButton: return {"BUTTON", BS_RADIOBUTTON | tab | group, 0};
    case ControlKind::Frame: return {"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS | group, 0};
    case ControlKind::Panel: return {panelClassName(), WS_CLIPSIBLINGS | group, WS_EX_CONTROLPARENT};
    case ControlKind::Label:
        return {"STATIC",
                static_cast<DWORD>(((design.flags & layout::AlignRight) ? SS_RIGHT : SS_LEFT) | SS_NOTIFY |
                                   WS_GROUP),
                0};
    case ControlKind::TextBox:
        return {"EDIT",
                ES_AUTOHSCROLL | ((design.flags & layout::ReadOnly) ? ES_READONLY : 0) |
                    ((design.flags & layout::AlignRight) ? ES_RIGHT : 0) | tab | WS_GROUP,
                (design.flags & layout::Borderless) ? 0u : static_cast<DWORD>(WS_EX_CLIENTEDGE)};
    case ControlKind::ListBox:
        return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::DropDownList: return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP, 0};
    case ControlKind::ProgressBar: return {progressBarClassName(), WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::UpDown:
        return {UPDOWN_CLASSA, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | tab | WS_GROUP, 0};
    case ControlKind::FrameRect: return {"STATIC", SS_BLACKFRAME, 0};
    case ControlKind::Picture: return {"STATIC", SS_ICON | SS_REALSIZEIMAGE, 0};
    }
    return {"STATIC", 0, 0};
}

const ControlRow *findRow(std::span<const ControlRow> table, std::string_view name) {
    for (const ControlRow &design : table)
        if (name == design.name) return &design;
    return nullptr;
}

// A control's place in its parent window: frames are drawn on the window, so what they contain is
// placed on the window, shifted by the frame's place; panels are real parent windows.
POINT originOf(std::span<const ControlRow> table, const ControlRow &design) {
    POINT origin{design.left, design.top};
    for (const ControlRow *container = findRow(table, design.container);
         container && container->kind == ControlKind::Frame;
         container = findRow(table, container->container)) {
        origin.x += container->left;
        origin.y += container->top;
    }
    return origin;
}

// The control's rectangle in its parent window at the DPI.
RECT placeOf(std::span<const ControlRow> table, const ControlRow &design, int dpi) {
    const POINT origin = originOf(table, design);
    const int left = twipsToPixels(origin.x, dpi), top = twipsToPixels(origin.y, dpi);
    return {left, top, left + twipsToPixels(design.width, dpi), top + twipsToPixels(design.height, dpi)};
}

HWND parentOf(std::span<const ControlRow> table, const ControlRow &design, HWND window,
              const ControlMap &made) {
    for (const ControlRow *container = findRow(table, design.container); container;
         container = findRow(table, container->container)) {
        if (container->kind == ControlKind::Panel) return made.find(container->name)->second;
    }
    return window;
}

int nestingDepth(std::span<const ControlRow> table, const ControlRow &design) {
    int depth = 0;
    for (const ControlRow *c = findRow(table, design.container); c; c = findRow(table, c->container))
        if (c->kind == ControlKind::Panel) ++depth;
    return depth;
}

// Creation order is the tab order and the drawing order (first on top): containers come before what
// they contain, then the tab index decides. A panel is also placed before what it holds, so a label
// in it is widened within the panel's new size.
std::vector<Placed> creationOrder(std::span<const ControlRow> table) {
    std::vector<Placed> order;
    for (int index = 0; index < static_cast<int>(table.size()); ++index)
        order.push_back({&table[index], index});
    std::stable_sort(order.begin(), order.end(), [&](const Placed &a, const Placed &b) {
        const int depthA = nestingDepth(table, *a.design), depthB = nestingDepth(table, *b.design);
        if (depthA != depthB) return depthA < depthB;
        const int tabA = a.design->tabIndex < 0 ? 1 << 20 : a.design->tabIndex;
        const int tabB = b.design->tabIndex < 0 ? 1 << 20 : b.design->tabIndex;
        return tabA < tabB;
    });
    return order;
}

int CALLBACK noteFamilyFound(const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) noexcept {
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

bool fontFamilyInstalled(const wchar_t *family) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, family, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, noteFamilyFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The face the windows are drawn in. At 96 DPI the bitmap face they were designed in, pixel for pixel;
// at any other scale that face has no size of its own and GDI would give the nearest it has (13 pixels
// where 11 are asked for), so the TrueType face with its metrics takes its place, or where that is
// missing the face of the system's message font, at the designed size in points either way: the
// layout was measured for 8 points, and a larger message font would not fit its captions.
std::wstring dialogFontFace(int dpi) {
    if (dpi == 96) return L"MS Sans Serif";
    if (fontFamilyInstalled(L"Microsoft Sans Serif")) return L"Microsoft Sans Serif";
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) &&
        metrics.lfMessageFont.lfFaceName[0])
        return metrics.lfMessageFont.lfFaceName;
    return L"MS Sans Serif";
}

} // namespace

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

HFONT createDialogFont(double points, int dpi, bool bold) {
    const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       dialogFontFace(dpi).c_str());
}

const char *panelClassName() {
    static const char *name = [] {
        WNDCLASSEXW panel{};
        panel.cbSize = sizeof panel;
        panel.lpfnWndProc = panelProcedure;
        panel.hInstance = GetModuleHandleW(nullptr);
        panel.hCursor = LoadCursor(nullptr, IDC_ARROW);
        panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        panel.lpszClassName = L"QuillmerePanel";
        RegisterClassExW(&panel);
        return "QuillmerePanel";
    }();
    return name;
}

ControlMap createControls(HWND window, std::span<const ControlRow> table, HFONT font, Tooltips &tooltips,
                          int dpi) {
    ControlMap made;
    for (const Placed &placed : creationOrder(table)) {
        const ControlRow &design = *placed.design;
        const KindStyle kind = styleFor(design);
        const RECT place = placeOf(table, design, dpi);
        const bool visible = !(design.flags & layout::Hidden);
        const int id = (design.flags & layout::Cancel) ? IDCANCEL : 1000 + placed.index;
        HWND control = CreateWindowExW(
            kind.exStyle, toWide(kind.className).c_str(),
            toWide(design.caption ? design.caption : "").c_str(),
            WS_CHILD | (visible ? WS_VISIBLE : 0) | kind.style, place.left, place.top,
            place.right - place.left, place.bottom - place.top, parentOf(table, design, window, made),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (design.kind == ControlKind::OptionButton && (design.flags & layout::Checked))
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        if (design.kind == ControlKind::TextBox && design.maxLength > 0)
            SendMessageW(control, EM_SETLIMITTEXT, static_cast<WPARAM>(design.maxLength), 0);
        if (design.tooltip) tooltips.add(control, design.tooltip);
        if (design.kind == ControlKind::Label) fitLabelToCaption(control);
        made.emplace(design.name, control);
    }
    for (const ControlRow &design : table)
        if (design.kind == ControlKind::OptionButton) placeOptionGroupTabStop(made.at(design.name));
    // Frames go to the bottom of the drawing order, under the panels and options that sit on them.
    // They take no focus, so the tab order of the rest is unchanged.
    for (const ControlRow &design : table)
        if (design.kind == ControlKind::Frame)
            SetWindowPos(made.at(design.name), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return made;
}

void placeControls(std::span<const ControlRow> table, const ControlMap &made, int dpi) {
    for (const Placed &placed : creationOrder(table)) {
        const auto found = made.find(placed.design->name);
        if (found == made.end()) continue;
        const RECT place = placeOf(table, *placed.design, dpi);
        SetWindowPos(found->second, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (placed.design->kind == ControlKind::Label) fitLabelToCaption(found->second);
    }
}

const ControlMap &TableControls::create(HWND window, std::span<const ControlRow> table, Tooltips &tooltips,
                                        int dpi, std::span<const ControlFont> ownFonts) {
    table_ = table;
    tooltips_ = &tooltips;
    tooltips.scaleTo(dpi);
    ownFonts_.assign(ownFonts.begin(), ownFonts.end());
    fonts_.clear();
    const auto dialogFont = static_cast<HFONT>(fonts_.emplace_back(createDialogFont(8, dpi)).get());
    made_ = createControls(window, table, dialogFont, tooltips, dpi);
    setOwnFonts(dpi, fonts_);
    for (const ControlFont &own : ownFonts_)
        if (HWND control = at(own.name)) fitLabelToCaption(control);
    return made_;
}

void TableControls::setOwnFonts(int dpi, std::deque<GdiObject> &fonts) {
    for (const ControlFont &own : ownFonts_) {
        const auto font =
            static_cast<HFONT>(fonts.emplace_back(createDialogFont(own.points, dpi, own.bold)).get());
        if (HWND control = at(own.name))
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

// The new fonts go to every control before any is placed: a drop-down list takes its height from its
// font, and a label is widened to its caption in the font it has, as when the window was made.
void TableControls::layOut(int dpi) {
    std::deque<GdiObject> fonts;
    const auto dialogFont = static_cast<HFONT>(fonts.emplace_back(createDialogFont(8, dpi)).get());
    for (const auto &[name, control] : made_)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    setOwnFonts(dpi, fonts);
    fonts_.swap(fonts); // the old fonts go at the end of this call, when no control draws with them
    if (tooltips_) tooltips_->scaleTo(dpi);
    place(dpi);
}

HWND TableControls::at(std::string_view name) const {
    const auto found = made_.find(name);
    return found == made_.end() ? nullptr : found->second;
}

const ControlRow *TableControls::row(std::string_view name) const { return findRow(table_, name); }
