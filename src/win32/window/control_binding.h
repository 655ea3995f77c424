// A window's control wrappers bound to the controls made from its layout table, through one table of
// {name in the layout, member}: a new control is one row. A row whose name the layout does not hold,
// or whose control is of a kind its wrapper cannot drive, stops the window being made with an error
// that names the window and the row, whichever test or user makes the window first.
#pragma once

#include "window/controls.h"
#include "window/layout.h"

#include <span>
#include <type_traits>
#include <variant>

// A member of a window's controls struct, of any wrapper kind.
template <class Controls>
using ControlMember = std::variant<Control Controls::*, Label Controls::*, Button Controls::*,
                                   Frame Controls::*, OptionButton Controls::*, TextBox Controls::*,
                                   ListBox Controls::*, ComboBox Controls::*, ProgressBar Controls::*>;

template <class Controls> struct ControlBinding {
    const char *name; // the control's name in the layout table
    ControlMember<Controls> member;
};

// The kinds of layout control each wrapper drives; the plain Control takes any.
template <class Wrapper> constexpr bool wrapperDrives(ControlKind kind);
template <> constexpr bool wrapperDrives<Control>(ControlKind) { return true; }
template <> constexpr bool wrapperDrives<Label>(ControlKind kind) { return kind == ControlKind::Label; }
template <> constexpr bool wrapperDrives<Button>(ControlKind kind) { return kind == ControlKind::Button; }
template <> constexpr bool wrapperDrives<Frame>(ControlKind kind) { return kind == ControlKind::Frame; }
template <> constexpr bool wrapperDrives<OptionButton>(ControlKind kind) {
    return kind == ControlKind::OptionButton;
}
template <> constexpr bool wrapperDrives<TextBox>(ControlKind kind) { return kind == ControlKind::TextBox; }
template <> constexpr bool wrapperDrives<ListBox>(ControlKind kind) { return kind == ControlKind::ListBox; }
template <> constexpr bool wrapperDrives<ComboBox>(ControlKind kind) {
    return kind == ControlKind::DropDownList;
}
template <> constexpr bool wrapperDrives<ProgressBar>(ControlKind kind) {
    return kind == ControlKind::ProgressBar;
}

// The control of that name among those made from the table; throws std::logic_error naming the window
// and the control when the table has none, or when `drives` refuses its kind.
HWND boundControl(const TableControls &made, const char *windowName, const char *name,
                  bool (*drives)(ControlKind));

// Gives every member of the table its control, with the window's tooltips and colours.
template <class Controls>
void bindControls(Controls &controls, std::span<const ControlBinding<std::type_identity_t<Controls>>> table,
                  const TableControls &made, const char *windowName, Tooltips *tips,
                  ControlColours *colours) {
    for (const ControlBinding<Controls> &row : table)
        std::visit(
            [&](auto member) {
                using Wrapper = std::remove_reference_t<decltype(controls.*member)>;
                const HWND control = boundControl(made, windowName, row.name, &wrapperDrives<Wrapper>);
                controls.*member = Wrapper(control, tips, colours);
            },
            row.member);
}
