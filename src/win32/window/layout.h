// Windows described by tables: each control's name, kind, caption, place in twips, container,
// tab index and tooltip. One function makes a window's controls from its table.
#pragma once

#include "handles.h"
#include "twips.h"
#include "win.h"

#include <deque>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// The screen's one DPI: the main monitor's, as the system was started with it.
int screenDpi();

// The window's controls by name, created from the table at the given DPI; ids are 1000 + row
// (IDCANCEL for Cancel).
using ControlMap = std::map<std::string, HWND, std::less<>>;
ControlMap createControls(HWND window, std::span<const ControlRow> table, HFONT font, Tooltips &tooltips,
                          int dpi);

// Every control of the table where the table puts it at the given DPI, in the font it has; labels
// are widened again to their captions.
void placeControls(std::span<const ControlRow> table, const ControlMap &made, int dpi);

// The dialog font at the given point size for the DPI (caller owns it): "MS Sans Serif" at 96 DPI, as
// designed; a scalable face with its metrics at every other DPI.
HFONT createDialogFont(double points, int dpi, bool bold = false);

// A control that draws its caption in a font of its own, at every DPI.
struct ControlFont {
    const char *name;
    double points;
    bool bold;
};

// A window's controls made from its table in the dialog font (and the fonts named for some of them),
// and made again at each new DPI: the fonts anew, then every control at its place.
class TableControls {
public:
    const ControlMap &create(HWND window, std::span<const ControlRow> table, Tooltips &tooltips, int dpi,
                             std::span<const ControlFont> ownFonts = {});
    void layOut(int dpi);
    // Every control at its place at the DPI, in the fonts it has.
    void place(int dpi) { placeControls(table_, made_, dpi); }
    // The control of that name; nullptr when the table has none.
    HWND at(std::string_view name) const;
    // The table's row of that name; nullptr when it has none.
    const ControlRow *row(std::string_view name) const;
    const ControlMap &controls() const { return made_; }

private:
    void setOwnFonts(int dpi, std::deque<GdiObject> &fonts);

    std::span<const ControlRow> table_;
    Tooltips *tooltips_ = nullptr;
    std::vector<ControlFont> ownFonts_;
    ControlMap made_;
    std::deque<GdiObject> fonts_; // the dialog font first
};

// Window class of the borderless panels: passes its children's notifications to the top window.
const char *panelClassName();
