// Thin, non-owning wrappers over a window's controls: one line per operation, so the program's
// logic reads like a description of what it does. The window owns and destroys the controls.
#pragma once

#include "wide_text.h"
#include "win.h"
#include "window/control_colours.h"
#include "window/tooltips.h"

#include <cstdint>
#include <string>
#include <vector>

std::string windowText(HWND window);

class Control {
public:
    Control() = default;
    Control(HWND hwnd, Tooltips *tips, ControlColours *colours)
        : hwnd_(hwnd), tips_(tips), colours_(colours) {}
    HWND hwnd() const { return hwnd_; }
    void setToolTipText(const std::string &text) { tips_->set(hwnd_, text); }
    std::string toolTipText() const { return tips_->text(hwnd_); }
    // The designed text colour, and the system colour (COLOR_...) that stands in for it where the
    // designed one would be hard to read.
    void setForeColor(COLORREF colour, int systemColour = COLOR_BTNTEXT);
    COLORREF foreColor() const;
    void setFocus() { SetFocus(hwnd_); }
    // As a mouse click does: the control acts and its parent is told.
    void click() { SendMessageW(hwnd_, BM_CLICK, 0, 0); }
    bool visible() const { return IsWindowVisible(hwnd_) != 0; }

protected:
    HWND hwnd_ = nullptr;
    Tooltips *tips_ = nullptr;
    ControlColours *colours_ = nullptr;
};

// Widens a one-line label whose caption does not fit, as far as its parent allows; right-aligned
// labels grow to the left. Fonts differ between systems and a caption must never be cut.
void fitLabelToCaption(HWND label);

class Label : public Control {
public:
    using Control::Control;
    std::string caption() const { return windowText(hwnd_); }
    void setCaption(const std::string &text);
};

class Button : public Label {
public:
    using Label::Label;
};

class Frame : public Label {
public:
    using Label::Label;
};

class OptionButton : public Label {
public:
    using Label::Label;
    bool value() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // Selecting an option deselects the others of its group; deselecting selects no other. The group's
    // one tab stop follows the selection.
    void setValue(bool selected);
};

// The options of an option's group make one tab stop: the selected option, or the first when none is.
void placeOptionGroupTabStop(HWND option);

// The arrow keys in an option group, as Windows groups behave: the focus moves to the next or previous
// option, round the ends, and clicks it so it is selected. True when the key was handled.
bool moveInOptionGroup(const MSG &message);

// Enter reaches a window as the OK command: it presses the focused push button, and nothing else.
void pressFocusedPushButton(HWND window);

class TextBox : public Control {
public:
    using Control::Control;
    std::string text() const { return windowText(hwnd_); }
    void setText(const std::string &text) { SetWindowTextW(hwnd_, toWide(text).c_str()); }
};

// Turns a control's drawing off for its lifetime, so a long fill is drawn once; drawing comes back
// on every path, also when the fill fails, and the control is drawn anew.
class DrawingPaused {
public:
    explicit DrawingPaused(HWND control) : control_(control) {
        SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
    }
    ~DrawingPaused() {
        SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(control_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    DrawingPaused(const DrawingPaused &) = delete;
    DrawingPaused &operator=(const DrawingPaused &) = delete;

private:
    HWND control_;
};

class ListBox : public Control {
public:
    using Control::Control;
    int32_t listCount() const { return static_cast<int32_t>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)); }
    std::string list(int32_t index) const;
    // Every entry, first to last.
    std::vector<std::string> items() const;
    void addItem(const std::string &item);
    void removeItem(int32_t index) { SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
    void clear() { SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0); }
    int32_t listIndex() const { return static_cast<int32_t>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)); }
};

class ComboBox : public Control {
public:
    using Control::Control;
    int32_t listCount() const { return static_cast<int32_t>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }
    std::string list(int32_t index) const;
    void addItem(const std::string &item);
    void clear() { SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0); }
    int32_t listIndex() const { return static_cast<int32_t>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }
    // Selecting by program does not notify the parent; the caller raises the click itself.
    bool setListIndex(int32_t index);
    std::string text() const { return windowText(hwnd_); }
};

class ProgressBar : public Control {
public:
    using Control::Control;
    void setMax(int32_t maximum);
    // The system's highlight on the window colour instead of the designed cyan to blue.
    void useSystemColours(bool system);
    void setValue(int32_t value);
    int32_t max() const;
    int32_t value() const;
};

// The tip a list box shows for the entry under the pointer: " entry " for the entry under the point
// (twips, relative to the list), "" when there is none.
std::string listItemTipAt(const ListBox &list, float xTwips, float yTwips);

// The hint of a list as the pointer moves: nothing while a button is held, else the entry's tip.
void showListItemTip(ListBox &list, int16_t button, float xTwips, float yTwips);
