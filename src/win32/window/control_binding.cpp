#include "window/control_binding.h"

#include <stdexcept>
#include <string>

HWND boundControl(const TableControls &made, const char *windowName, const char *name,
                  bool (*drives)(ControlKind)) {
    const ControlRow *row = made.row(name);
    const HWND control = made.at(name);
    if (!row || !control)
        throw std::logic_error(std::string(windowName) + ": the layout has no control named \"" + name +
                               "\"");
    if (!drives(row->kind))
        throw std::logic_error(std::string(windowName) + ": the control \"" + name +
                               "\" is of another kind than the member bound to it");
    return control;
}
