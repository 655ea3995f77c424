// Windows described by tables: each control's name, kind, caption, place in twips, container,
// tab index and tooltip. One function makes a window's controls from its table.
#pragma once

#include "twips.h"
#include "win.h"

#include <map>
#include <span>
#include <string>

class Tooltips;

enum class ControlKind {
    Button,
    OptionButton,
    Frame,
    Panel,
    Label,
    TextBox,
    ListBox,
    DropDownList,
    ProgressBar,
    UpDown,
    FrameRect,
    Picture,
};

namespace layout {
inline constexpr unsigned Hidden = 1u << 0;     // not visible
inline constexpr unsigned GroupStart = 1u << 1; // first option of a group
inline constexpr unsigned Cancel = 1u << 2;     // pressed by Esc
inline constexpr unsigned AlignRight = 1u << 3; // right-aligned text
inline constexpr unsigned NoTabStop = 1u << 4;  // never takes the focus by Tab
inline constexpr unsigned ReadOnly = 1u << 5;   // text box the user cannot type into
inline constexpr unsigned Checked = 1u << 6;    // option selected in the design state
inline constexpr unsigned Borderless = 1u << 7; // text box drawn without its edge
} // namespace layout

struct ControlRow {
    const char *name;
    ControlKind kind;
    const char *caption;
    int left, top, width, height; // twips, relative to the container
    const char *container;        // "" for the window itself, else a frame or panel of the table
    int tabIndex;                 // -1: no place in the tab order
    const char *tooltip;          // nullptr: none
    unsigned flags;
    int maxLength; // text boxes: 0 = unlimited
};

int screenDpi();

// The window's controls by name, created from the table; ids are 1000 + row (IDCANCEL for Cancel).
using ControlMap = std::map<std::string, HWND, std::less<>>;
ControlMap createControls(HWND window, std::span<const ControlRow> table, HFONT font, Tooltips &tooltips);

// "MS Sans Serif" at the given point size for the screen's DPI (caller owns it).
HFONT createDialogFont(double points, bool bold = false);

// Window class of the borderless panels: passes its children's notifications to the top window.
const char *panelClassName();
